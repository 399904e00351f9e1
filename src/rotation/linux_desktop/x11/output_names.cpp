#include "rotation/linux_desktop/x11/output_names.h"

#include <X11/extensions/Xrandr.h>

namespace quillet::x11 {

std::vector<std::string> OutputNames(Display* display) {
  std::vector<std::string> names;
  int event = 0, error = 0, major = 0, minor = 0;
  if (!XRRQueryExtension(display, &event, &error) || !XRRQueryVersion(display, &major, &minor) ||
      (major == 1 && minor < 2))
    return names;
  XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display, DefaultRootWindow(display));
  if (resources == nullptr) return names;
  for (int i = 0; i < resources->noutput; ++i) {
    XRROutputInfo* output = XRRGetOutputInfo(display, resources, resources->outputs[i]);
    if (output == nullptr) continue;
    names.emplace_back(output->name, static_cast<size_t>(output->nameLen));
    XRRFreeOutputInfo(output);
  }
  XRRFreeScreenResources(resources);
  return names;
}

}  // namespace quillet::x11
