#include "platform/x11/layered_frame.h"

#include <array>
#include <cstddef>

#include "platform/constant_alpha.h"

namespace platform::x11 {

void BakeLayeredFrame(const LayeredFrame& frame, uint8_t* out) {
  const PixelBuffer& source = frame.pixels;
  if (source.bits == nullptr || out == nullptr) return;
  const bool alpha = frame.perPixelAlpha && source.bytesPerPixel == 4;
  if (alpha && !frame.useColorKey) {
    // Every byte alike, colour and alpha: a loop the compiler turns into
    // vector code, for the frame every push bakes.
    const ptrdiff_t rowBytes = static_cast<ptrdiff_t>(source.width) * 4;
    for (int32_t y = 0; y < source.height; ++y) {
      const uint8_t* s = source.bits + static_cast<ptrdiff_t>(y) * source.stride;
      uint8_t* d = out + y * rowBytes;
      for (ptrdiff_t i = 0; i < rowBytes; ++i) d[i] = ApplyConstantAlpha(s[i], frame.opacity);
    }
    return;
  }
  std::array<uint8_t, 256> scaled{};
  for (int value = 0; value < 256; ++value)
    scaled[value] = ApplyConstantAlpha(static_cast<uint8_t>(value), frame.opacity);
  const uint8_t keyBlue = static_cast<uint8_t>(frame.colorKey >> 16);
  const uint8_t keyGreen = static_cast<uint8_t>(frame.colorKey >> 8);
  const uint8_t keyRed = static_cast<uint8_t>(frame.colorKey);
  for (int32_t y = 0; y < source.height; ++y) {
    const uint8_t* s = source.bits + static_cast<ptrdiff_t>(y) * source.stride;
    uint8_t* d = out + static_cast<ptrdiff_t>(y) * source.width * 4;
    for (int32_t x = 0; x < source.width; ++x, s += source.bytesPerPixel, d += 4) {
      if (frame.useColorKey && s[0] == keyBlue && s[1] == keyGreen && s[2] == keyRed) {
        d[0] = d[1] = d[2] = d[3] = 0;
        continue;
      }
      d[0] = scaled[s[0]];
      d[1] = scaled[s[1]];
      d[2] = scaled[s[2]];
      d[3] = scaled[alpha ? s[3] : 255];
    }
  }
}

}  // namespace platform::x11
