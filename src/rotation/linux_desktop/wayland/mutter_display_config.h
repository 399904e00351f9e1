#pragma once
#include <memory>

#include "rotation/linux_desktop/desktop_outputs.h"

namespace quillet::wayland {

// The outputs of GNOME's Mutter, through org.gnome.Mutter.DisplayConfig on the session bus; nothing
// when it is not offered.
std::unique_ptr<xdesktop::DesktopOutputs> OpenMutterDisplayConfig();

}  // namespace quillet::wayland
