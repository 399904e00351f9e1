#include "rotation/linux_desktop/wayland/mutter_display_config.h"

namespace quillet::wayland {

std::unique_ptr<xdesktop::DesktopOutputs> OpenMutterDisplayConfig() {
  return nullptr;
}

}  // namespace quillet::wayland
