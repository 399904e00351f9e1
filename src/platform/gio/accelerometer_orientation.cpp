#include "platform/gio/accelerometer_orientation.h"

namespace platform::gio {

int32_t OrientationCode(std::string_view orientation) {
  constexpr std::string_view kNames[] = {"normal", "left-up", "bottom-up", "right-up"};
  for (int32_t code = 1; code <= 4; ++code)
    if (orientation == kNames[code - 1]) return code;
  return 0;
}

}  // namespace platform::gio
