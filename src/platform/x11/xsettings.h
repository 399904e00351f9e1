#pragma once
#include <cstdint>
#include <optional>
#include <span>

namespace platform::x11 {

class X11Connection;

// The desktop's scale as dots per inch from the bytes of an XSETTINGS
// manager's _XSETTINGS_SETTINGS property: Xft/DPI (in 1024ths of a dot per
// inch) and Gdk/WindowScalingFactor (a whole factor of 96), the larger of the
// two where both are set, since some desktops fold the factor into Xft/DPI
// and others do not. Nothing when neither is set to a sensible value, or when
// the bytes do not follow the format; never reads outside `data`.
std::optional<int32_t> XsettingsDpiOf(std::span<const uint8_t> data);

// The scale that the settings manager's window `owner` (an X window id, kept
// free of Xlib here so that the parser's users need not take its macros)
// publishes now.
std::optional<int32_t> XsettingsDpi(X11Connection& connection, unsigned long owner);

}  // namespace platform::x11
