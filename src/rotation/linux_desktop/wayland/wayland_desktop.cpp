#include "rotation/linux_desktop/wayland/wayland_desktop.h"

#include "rotation/linux_desktop/wayland/kde_output_management.h"
#include "rotation/linux_desktop/wayland/mutter_display_config.h"
#include "rotation/linux_desktop/wayland/wlr_output_management.h"

namespace quillet::wayland {

std::unique_ptr<xdesktop::DesktopOutputs> OpenDesktopOutputs() {
  if (auto mutter = OpenMutterDisplayConfig()) return mutter;
  // One connection asks the compositor which of the two it offers.
  auto connection = std::make_unique<WaylandConnection>();
  if (!connection->IsConnected()) return nullptr;
  if (auto kwin = OpenKdeOutputManagement(connection)) return kwin;
  return OpenWlrOutputManagement(connection);
}

}  // namespace quillet::wayland
