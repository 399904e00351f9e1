#pragma once
// The reference arithmetic of the per-pixel blend rows, one channel at a time.
#include <cstdint>

namespace blend_rows {

// Blends `count` 32-bit pixels of `source` onto those of `dest` with the given
// opacity: every channel, alpha included, becomes
// min(round((s * k * 255 + d * (255 * 255 - sa * k)) / (255 * 255)), 255).
void Scalar(const uint8_t* source, uint8_t* dest, int32_t count, uint32_t opacity);

}  // namespace blend_rows
