#pragma once
#include <algorithm>
#include <cstdint>
#include <limits>

// A 64-bit result brought back into the int32 range, saturating instead of overflowing.
inline int32_t SaturateInt32(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

struct TPoint {
  int32_t X = 0;
  int32_t Y = 0;

  friend bool operator==(const TPoint&, const TPoint&) = default;
};

// Right and bottom are exclusive.
struct TRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;

  // Saturated, so that a rectangle spanning more than the 32-bit range cannot overflow.
  int32_t Width() const { return Span(Left, Right); }
  int32_t Height() const { return Span(Top, Bottom); }
  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  bool Contains(int32_t x, int32_t y) const { return Left <= x && x < Right && Top <= y && y < Bottom; }

  friend bool operator==(const TRect&, const TRect&) = default;

 private:
  static int32_t Span(int32_t from, int32_t to) { return SaturateInt32(int64_t{to} - from); }
};
