#pragma once
// The rows of AlphaBlendBitmap's per-pixel blend of a 32-bit source onto a
// 32-bit destination, with vector paths chosen by what the processor has. Each
// path gives exactly the bytes of the scalar one.
#include <cstdint>
#include <vector>

#include "effects/blend_row_scalar.h"

namespace blend_rows {

// Blends `count` pixels of `source` onto `dest` with the given opacity, as
// Scalar does it. Neither row needs any alignment.
using Row = void (*)(const uint8_t* source, uint8_t* dest, int32_t count, uint32_t opacity);

struct Path {
  const char* name;
  Row row;
};

// Every path this processor runs, the scalar one first and the fastest last.
std::vector<Path> Available();

// The fastest path, chosen once.
Row Fastest();

}  // namespace blend_rows
