#include "rotation/linux_desktop/x11/output_names.h"

#include "platform/xlib/randr_resources.h"

namespace quillet::x11 {

std::vector<std::string> OutputNames(Display* display) {
  std::vector<std::string> names;
  if (!platform::xlib::HasRandr(display, 1, 2)) return names;
  const platform::xlib::ScreenResources resources =
      platform::xlib::CurrentScreenResources(display, DefaultRootWindow(display));
  if (!resources) return names;
  for (int i = 0; i < resources->noutput; ++i) {
    const platform::xlib::OutputInfo output =
        platform::xlib::GetOutputInfo(display, resources.get(), resources->outputs[i]);
    if (output) names.emplace_back(output->name, static_cast<size_t>(output->nameLen));
  }
  return names;
}

}  // namespace quillet::x11
