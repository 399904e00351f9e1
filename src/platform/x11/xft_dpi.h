#pragma once
#include <cstdint>
#include <string_view>

namespace platform::x11 {

class X11Connection;

inline constexpr int32_t kDefaultDpi = 96;

// The Xft.dpi entry of a resource database in text form ("Xft.dpi:\t144"),
// rounded to whole dots per inch; kDefaultDpi when there is none or it is not
// a sensible number.
int32_t XftDpiOf(std::string_view resources);

// The display's Xft.dpi as the root window's RESOURCE_MANAGER holds it now,
// which desktops set to their scale (96 at 100 %).
int32_t XftDpi(X11Connection& connection);

}  // namespace platform::x11
