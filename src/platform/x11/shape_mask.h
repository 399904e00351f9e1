#pragma once
#include <cstdint>
#include <vector>

#include "platform/types.h"

namespace platform::x11 {

// The pixels with alpha of at least `minAlpha` (by default every pixel not
// fully transparent) of a 32-bit picture (alpha in the fourth byte of each
// pixel) as rectangles: the runs of each row, with equal runs of consecutive
// rows joined into one taller rectangle. Ordered by rows, then by columns.
std::vector<Rect> OpaqueRects(const uint8_t* pixels, int32_t width, int32_t height, int32_t stride,
                              uint8_t minAlpha = 1);

// Where nothing composites, the pixels that are more see-through than opaque
// show black and are left out of the shape.
inline constexpr uint8_t kUncompositedMinAlpha = 128;

}  // namespace platform::x11
