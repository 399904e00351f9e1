#include "rotation/linux_desktop/wayland/wayland_desktop.h"

#include "desktop_family/desktop_families.h"
#include "rotation/linux_desktop/wayland/kde_output_management.h"
#include "rotation/linux_desktop/wayland/mutter_display_config.h"
#include "rotation/linux_desktop/wayland/wlr_output_management.h"

namespace quillet::wayland {

using desktop_family::OutputManagement;

std::unique_ptr<linux_desktop::DesktopOutputs> OpenDesktopOutputs() {
  // One connection asks the compositor which protocol it offers; opened only
  // when a family reached by protocol is asked.
  std::unique_ptr<WaylandConnection> connection;
  bool connectionTried = false;
  for (const desktop_family::Family& family : desktop_family::Families()) {
    std::unique_ptr<linux_desktop::DesktopOutputs> outputs;
    switch (family.outputManagement) {
      case OutputManagement::kNone:
        continue;
      case OutputManagement::kMutterDisplayConfig:
        outputs = OpenMutterDisplayConfig(family.busService);
        break;
      case OutputManagement::kKdeOutputManagement:
      case OutputManagement::kWlrOutputManagement:
        if (!connectionTried) {
          connectionTried = true;
          connection = std::make_unique<WaylandConnection>();
          if (!connection->IsConnected()) connection.reset();
        }
        if (!connection) continue;
        outputs = family.outputManagement == OutputManagement::kKdeOutputManagement
                      ? OpenKdeOutputManagement(connection)
                      : OpenWlrOutputManagement(connection);
        break;
    }
    if (outputs) return outputs;
  }
  return nullptr;
}

}  // namespace quillet::wayland
