#pragma once
#include <cstdint>

#include "effects/value_map.h"

// A neighbourhood operation on value maps.
class Filter {
 public:
  Filter() = default;
  Filter(const Filter&) = delete;
  Filter& operator=(const Filter&) = delete;
  virtual ~Filter() = default;

  // Filtered value of cell (row, col) of the rows x cols area that starts at
  // (rowOffset, colOffset) in `source`. The area must lie inside `source`.
  virtual int32_t ApplyAt(const ValueMap& source, int32_t rowOffset, int32_t colOffset,
                          int32_t rows, int32_t cols, int32_t row, int32_t col) const = 0;

  // ApplyToMap's work done at once, for a filter that has a faster way to the
  // values of ApplyAt. Returns false and writes nothing when it has none for
  // these maps; ApplyToMap then goes cell by cell. Both areas lie inside their maps.
  virtual bool ApplyFast(const ValueMap& /*source*/, int32_t /*srcRowOffset*/,
                         int32_t /*srcColOffset*/, int32_t /*rows*/, int32_t /*cols*/,
                         ValueMap& /*dest*/, int32_t /*dstRowOffset*/,
                         int32_t /*dstColOffset*/) const {
    return false;
  }
};

// Grey-scale dilation with a weighted window: the result is the largest
// product of a neighbour and its weight, divided by Divisor. The window is
// clipped to the area; nothing is assumed outside it.
class NeighborWeightedFilter : public Filter {
 public:
  // Takes the kernel of (2 rowRadius + 1) x (2 colRadius + 1) weights. A
  // divisor of 0 counts as 1.
  NeighborWeightedFilter(ValueMap kernel, int32_t rowRadius, int32_t colRadius, int32_t divisor);

  int32_t ApplyAt(const ValueMap& source, int32_t rowOffset, int32_t colOffset, int32_t rows,
                  int32_t cols, int32_t row, int32_t col) const override;
  // The vectorised weighted maximum, for glow kernels over luminance maps.
  bool ApplyFast(const ValueMap& source, int32_t srcRowOffset, int32_t srcColOffset, int32_t rows,
                 int32_t cols, ValueMap& dest, int32_t dstRowOffset,
                 int32_t dstColOffset) const override;

  const ValueMap& Kernel() const { return kernel_; }
  int32_t Divisor() const { return divisor_; }
  int32_t RowRadius() const { return rowRadius_; }
  int32_t ColRadius() const { return colRadius_; }

 private:
  ValueMap kernel_;
  int32_t divisor_;
  int32_t rowRadius_;
  int32_t colRadius_;
};

// Fills the rows x cols area of `dest` at (dstRowOffset, dstColOffset) with
// ApplyAt of every cell of the area of `source` at (srcRowOffset, srcColOffset).
// Source and destination are different maps. An area reaching outside either
// map throws std::out_of_range.
void ApplyToMap(const Filter& filter, const ValueMap& source, int32_t srcRowOffset,
                int32_t srcColOffset, int32_t rows, int32_t cols, ValueMap& dest,
                int32_t dstRowOffset, int32_t dstColOffset);
