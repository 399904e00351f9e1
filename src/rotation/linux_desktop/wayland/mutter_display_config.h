#pragma once
#include <memory>

#include "rotation/linux_desktop/desktop_outputs.h"

namespace quillet::wayland {

// The outputs of GNOME's Mutter, through its display configuration service `service` on the
// session bus; nothing when it is not offered.
std::unique_ptr<linux_desktop::DesktopOutputs> OpenMutterDisplayConfig(const char* service);

}  // namespace quillet::wayland
