#include "effects/filter.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "base/geometry.h"
#include "effects/weighted_max.h"

namespace {

bool AreaInside(const ValueMap& map, int32_t rowOffset, int32_t colOffset, int32_t rows,
                int32_t cols) {
  return rowOffset >= 0 && colOffset >= 0 && int64_t{rowOffset} + rows <= map.Rows() &&
         int64_t{colOffset} + cols <= map.Columns();
}

}  // namespace

NeighborWeightedFilter::NeighborWeightedFilter(ValueMap kernel, int32_t rowRadius,
                                               int32_t colRadius, int32_t divisor)
    : kernel_(std::move(kernel)),
      divisor_(divisor == 0 ? 1 : divisor),
      rowRadius_(rowRadius),
      colRadius_(colRadius) {
  if (rowRadius < 0 || colRadius < 0 || kernel_.Rows() != 2 * int64_t{rowRadius} + 1 ||
      kernel_.Columns() != 2 * int64_t{colRadius} + 1) {
    throw std::invalid_argument("kernel size does not match the radii");
  }
}

int32_t NeighborWeightedFilter::ApplyAt(const ValueMap& source, int32_t rowOffset,
                                        int32_t colOffset, int32_t rows, int32_t cols, int32_t row,
                                        int32_t col) const {
  int32_t best = 0;
  for (int32_t dy = -rowRadius_; dy <= rowRadius_; ++dy) {
    for (int32_t dx = -colRadius_; dx <= colRadius_; ++dx) {
      const int64_t r = int64_t{row} + dy, c = int64_t{col} + dx;
      if (r < 0 || c < 0 || r >= rows || c >= cols) continue;
      // Weights and grey values are small; the 64-bit product only keeps
      // arbitrary maps from overflowing.
      const int64_t product =
          int64_t{
              source[rowOffset + static_cast<int32_t>(r)][colOffset + static_cast<int32_t>(c)]} *
          kernel_[rowRadius_ + dy][colRadius_ + dx];
      const int32_t p = SaturateInt32(product);
      if (p > best) best = p;
    }
  }
  return best / divisor_;
}

bool NeighborWeightedFilter::ApplyFast(const ValueMap& source, int32_t srcRowOffset,
                                       int32_t srcColOffset, int32_t rows, int32_t cols,
                                       ValueMap& dest, int32_t dstRowOffset,
                                       int32_t dstColOffset) const {
  return ApplyWeightedMax({kernel_, rowRadius_, colRadius_, divisor_}, source, srcRowOffset,
                          srcColOffset, rows, cols, dest, dstRowOffset, dstColOffset);
}

void ApplyToMap(const Filter& filter, const ValueMap& source, int32_t srcRowOffset,
                int32_t srcColOffset, int32_t rows, int32_t cols, ValueMap& dest,
                int32_t dstRowOffset, int32_t dstColOffset) {
  if (rows <= 0 || cols <= 0) return;
  if (!AreaInside(source, srcRowOffset, srcColOffset, rows, cols) ||
      !AreaInside(dest, dstRowOffset, dstColOffset, rows, cols)) {
    throw std::out_of_range("filter area outside its map");
  }
  if (filter.ApplyFast(source, srcRowOffset, srcColOffset, rows, cols, dest, dstRowOffset,
                       dstColOffset)) {
    return;
  }
  for (int32_t i = 0; i < rows; ++i) {
    int32_t* out = dest[dstRowOffset + i] + dstColOffset;
    for (int32_t j = 0; j < cols; ++j) {
      out[j] = filter.ApplyAt(source, srcRowOffset, srcColOffset, rows, cols, i, j);
    }
  }
}
