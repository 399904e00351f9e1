#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

// A table of rows x columns signed 32-bit values, addressed as map[row][column].
// The cells live in one contiguous block; a new map's contents are undefined
// until written.
class ValueMap {
 public:
  ValueMap() = default;
  // Negative sizes count as 0; a map too large for memory throws std::length_error.
  ValueMap(int32_t rows, int32_t columns);

  int32_t Rows() const { return rows_; }
  int32_t Columns() const { return columns_; }
  bool Empty() const { return rows_ == 0 || columns_ == 0; }

  int32_t* operator[](int32_t row) { return cells_.get() + Offset(row); }
  const int32_t* operator[](int32_t row) const { return cells_.get() + Offset(row); }

  // Drops the cells; the map becomes 0 x 0.
  void Free();

 private:
  size_t Offset(int32_t row) const {
    return static_cast<size_t>(row) * static_cast<size_t>(columns_);
  }

  int32_t rows_ = 0;
  int32_t columns_ = 0;
  std::unique_ptr<int32_t[]> cells_;
};

// The glow procedure's names for making and dropping a map.
inline ValueMap AllocateMap(int32_t rows, int32_t columns) {
  return ValueMap(rows, columns);
}
inline void FreeMap(ValueMap& map) {
  map.Free();
}
