#pragma once

namespace platform::x11 {

class X11Connection;

// Whether the running window manager keeps the program's windows where the
// program puts them. The X11 window manager of wlroots desktops (sway, labwc,
// Wayfire, river: their XWayland names it "wlroots wm") tiles or centres
// every window it manages and ignores the program's moves, so a window that
// must stay at its own place has to stay out of its hands there.
bool WindowManagerKeepsPlaces(X11Connection& connection);

}  // namespace platform::x11
