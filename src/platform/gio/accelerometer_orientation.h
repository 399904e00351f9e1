#pragma once
#include <cstdint>
#include <string_view>

namespace platform::gio {

// The rotation code of the sensor service's orientation name: "normal" 1,
// "left-up" 2, "bottom-up" 3, "right-up" 4; 0 for "undefined" and anything else.
int32_t OrientationCode(std::string_view orientation);

}  // namespace platform::gio
