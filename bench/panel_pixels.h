#pragma once
// A panel-sized premultiplied picture for the blending benchmarks.
#include <cstdint>

#include "base/bitmap.h"

namespace bench {

inline constexpr int32_t kPanelWidth = 341;
inline constexpr int32_t kPanelHeight = 113;

// Every alpha from 0 to 255 along the diagonals, with premultiplied colour.
inline void FillGradient(TBitmap& bitmap) {
  bitmap.SetPixelFormat(TPixelFormat::pf32bit);
  bitmap.SetSize(kPanelWidth, kPanelHeight);
  for (int32_t y = 0; y < kPanelHeight; ++y) {
    uint8_t* p = bitmap.ScanLine(y);
    for (int32_t x = 0; x < kPanelWidth; ++x, p += 4) {
      const auto a = static_cast<uint8_t>((x + y) & 0xFF);
      p[0] = static_cast<uint8_t>(a * 3 / 4);
      p[1] = static_cast<uint8_t>(a / 2);
      p[2] = static_cast<uint8_t>(a / 4);
      p[3] = a;
    }
  }
}

}  // namespace bench
