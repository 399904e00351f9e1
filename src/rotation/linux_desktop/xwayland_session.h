#pragma once
#include <span>
#include <string>
#include <string_view>

namespace quillet::linux_desktop {

// Whether the X server is XWayland, whose RandR only imitates turning: the
// session names a Wayland display, or an output carries XWayland's name.
// A turn through RandR there either fails or claims a change that never
// happened, so it is not tried.
bool IsXWaylandSession(std::string_view waylandDisplay, std::span<const std::string> outputNames);

}  // namespace quillet::linux_desktop
