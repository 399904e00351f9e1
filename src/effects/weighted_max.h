#pragma once
#include <cstdint>

class ValueMap;

// The window of a weighted-maximum filter: (2 rowRadius + 1) x (2 colRadius + 1)
// weights, and the divisor of the largest product.
struct WeightedWindow {
  const ValueMap& weights;
  int32_t rowRadius;
  int32_t colRadius;
  int32_t divisor;
};

// The fast form of the weighted-maximum filter for the glow: a vectorised
// maximum that skips dark source cells and gives exactly the values of the
// per-cell loop. It applies when the divisor is 256, every weight lies in
// 0..256 and every source value in 0..255 (a luminance map under the glow
// kernel); otherwise it returns false and writes nothing, leaving the work to
// the per-cell loop. Both areas must lie inside their maps.
bool ApplyWeightedMax(const WeightedWindow& window, const ValueMap& source, int32_t srcRowOffset,
                      int32_t srcColOffset, int32_t rows, int32_t cols, ValueMap& dest,
                      int32_t dstRowOffset, int32_t dstColOffset);
