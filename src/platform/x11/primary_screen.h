#pragma once
#include <cstdint>

namespace platform::x11 {

class X11Connection;

// An area of the root window, in its coordinates.
struct ScreenArea {
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
  bool operator==(const ScreenArea&) const = default;
};

// The primary monitor's area as XRandR reports it (the first monitor when
// none is primary), or the whole screen where XRandR cannot tell. The
// program's screen coordinates start at its top-left corner, as Windows
// puts the primary monitor at 0, 0.
ScreenArea PrimaryScreenArea(X11Connection& connection);

}  // namespace platform::x11
