#include "rotation/linux_desktop/wayland/wayland_desktop.h"

#include "rotation/linux_desktop/wayland/kde_output_management.h"
#include "rotation/linux_desktop/wayland/mutter_display_config.h"
#include "rotation/linux_desktop/wayland/wlr_output_management.h"

namespace quillet::wayland {

std::unique_ptr<xdesktop::DesktopOutputs> OpenDesktopOutputs() {
  if (auto mutter = OpenMutterDisplayConfig()) return mutter;
  if (auto kwin = OpenKdeOutputManagement()) return kwin;
  return OpenWlrOutputManagement();
}

}  // namespace quillet::wayland
