#pragma once
#include <cstdint>

namespace platform {

// One byte of a premultiplied pixel shown at an overall opacity, as a
// constant-alpha blend onto nothing computes it: value * opacity / 255,
// rounded. Applied to colour and alpha alike, so the result stays premultiplied.
constexpr uint8_t ApplyConstantAlpha(uint8_t value, uint8_t opacity) {
  const uint32_t scaled = (uint32_t{value} * opacity + 127) / 255;
  return static_cast<uint8_t>(scaled > 255 ? 255 : scaled);
}

}  // namespace platform
