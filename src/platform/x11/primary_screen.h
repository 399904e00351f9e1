#pragma once
#include "platform/types.h"

namespace platform::x11 {

class X11Connection;

// The primary monitor's area, in the root window's coordinates, as XRandR reports it (the first
// monitor when none is primary), or the whole screen where XRandR cannot tell. The program's screen
// coordinates start at its top-left corner, as Windows puts the primary monitor at 0, 0.
Rect PrimaryScreenArea(X11Connection& connection);

}  // namespace platform::x11
