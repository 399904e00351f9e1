#include "rotation/linux_desktop/wayland/wlr_output_management.h"

namespace quillet::wayland {

std::unique_ptr<xdesktop::DesktopOutputs> OpenWlrOutputManagement() {
  return nullptr;
}

}  // namespace quillet::wayland
