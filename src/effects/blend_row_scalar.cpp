#include "effects/blend_row_scalar.h"

#include <algorithm>

namespace blend_rows {

void Scalar(const uint8_t* source, uint8_t* dest, int32_t count, uint32_t opacity) {
  for (int32_t j = 0; j < count; ++j, source += 4, dest += 4) {
    // src * k/255 + dst * (1 - srcAlpha * k/255/255), over the common
    // denominator 255 * 255 and rounded once; saturated, so that a source
    // whose colour exceeds its alpha cannot spill into the next channel.
    const uint32_t keep = 255 * 255 - source[3] * opacity;
    for (int c = 0; c < 4; ++c) {
      const uint32_t n = source[c] * opacity * 255 + dest[c] * keep;
      dest[c] = static_cast<uint8_t>(std::min<uint32_t>((n + 65025 / 2) / 65025, 255));
    }
  }
}

}  // namespace blend_rows
