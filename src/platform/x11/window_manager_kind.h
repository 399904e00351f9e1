#pragma once

namespace platform::x11 {

class X11Connection;

// Whether the running window manager may keep the program's windows where the
// program puts them, as far as is known before a window is shown. The X11
// window manager some desktop families run under XWayland (the families'
// table names it) tiles or centres every window it manages and ignores the
// program's moves, so a window that must stay at its own place stays out of
// its hands there from the start, with no tiled or centred first sight of it. Any other window
// manager is judged by what it does with the window (see PlacementWatch).
bool WindowManagerKeepsPlaces(X11Connection& connection);

}  // namespace platform::x11
