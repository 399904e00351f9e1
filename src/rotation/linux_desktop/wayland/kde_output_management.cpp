#include "rotation/linux_desktop/wayland/kde_output_management.h"

namespace quillet::wayland {

std::unique_ptr<xdesktop::DesktopOutputs> OpenKdeOutputManagement() {
  return nullptr;
}

}  // namespace quillet::wayland
