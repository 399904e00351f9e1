#pragma once
#include <memory>

#include "rotation/linux_desktop/desktop_outputs.h"

namespace quillet::wayland {

// The output configuration of the Wayland desktop this session runs on,
// through the first of the desktops' own interfaces that is offered: Mutter's
// display configuration on the session bus (GNOME), KWin's output management
// (Plasma), wlroots' output management (sway, labwc, Wayfire, river,
// Hyprland). Nothing when none is.
std::unique_ptr<xdesktop::DesktopOutputs> OpenDesktopOutputs();

}  // namespace quillet::wayland
