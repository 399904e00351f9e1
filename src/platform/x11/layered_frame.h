#pragma once
#include <cstdint>

#include "platform/types.h"

namespace platform::x11 {

// What a layered window shows, said plainly.
struct LayeredFrame {
  PixelBuffer pixels;         // 3 or 4 bytes per pixel
  bool perPixelAlpha = true;  // the fourth byte is a premultiplied alpha
  bool useColorKey = false;   // pixels of this colour are left out
  uint32_t colorKey = 0;      // 0x00BBGGRR
  uint8_t opacity = 255;      // the whole window's opacity
};

// Writes the frame as premultiplied blue, green, red, alpha into `out`
// (pixels.width * pixels.height * 4 bytes, rows top-down without padding),
// with the opacity applied to every byte as a constant-alpha blend does.
// Without per-pixel alpha a pixel is opaque; a colour-key pixel is all zero.
void BakeLayeredFrame(const LayeredFrame& frame, uint8_t* out);

}  // namespace platform::x11
