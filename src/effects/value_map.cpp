#include "effects/value_map.h"

#include <algorithm>
#include <stdexcept>

namespace {

// Far beyond any picture the toolkit draws; guards the size arithmetic.
constexpr int64_t kMaxCells = int64_t{1} << 28;

}  // namespace

ValueMap::ValueMap(int32_t rows, int32_t columns) {
  rows = std::max(rows, 0);
  columns = std::max(columns, 0);
  const int64_t cells = int64_t{rows} * columns;
  if (cells > kMaxCells) throw std::length_error("value map too large");
  if (cells > 0) cells_ = std::make_unique_for_overwrite<int32_t[]>(static_cast<size_t>(cells));
  rows_ = rows;
  columns_ = columns;
}

void ValueMap::Free() {
  cells_.reset();
  rows_ = 0;
  columns_ = 0;
}
