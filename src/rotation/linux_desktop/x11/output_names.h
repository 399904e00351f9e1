#pragma once
#include <X11/Xlib.h>

#include <string>
#include <vector>

namespace quillet::x11 {

// The names of the screen's RandR outputs, connected or not; empty without
// RandR 1.2.
std::vector<std::string> OutputNames(Display* display);

}  // namespace quillet::x11
