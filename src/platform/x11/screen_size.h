#pragma once
#include <cstdint>

namespace platform::x11 {

class X11Connection;

struct ScreenSize {
  int32_t width = 0;
  int32_t height = 0;
};

// The size of the primary output as XRandR reports it (the first active one
// when none is primary), or of the whole screen where XRandR cannot tell.
ScreenSize PrimaryScreenSize(X11Connection& connection);

}  // namespace platform::x11
