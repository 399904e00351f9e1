#pragma once
#include <algorithm>
#include <cstdint>

#include "base/geometry.h"

// Rectangle arithmetic for insets and shifts of caller-given rectangles: the
// sums are taken in 64 bits and saturate at the int32 range instead of overflowing.

inline TRect SaturatedRect(int64_t left, int64_t top, int64_t right, int64_t bottom) {
  return {SaturateInt32(left), SaturateInt32(top), SaturateInt32(right), SaturateInt32(bottom)};
}

inline int64_t WidthOf(const TRect& rect) {
  return int64_t{rect.Right} - rect.Left;
}
inline int64_t HeightOf(const TRect& rect) {
  return int64_t{rect.Bottom} - rect.Top;
}

// A width or height as a bitmap size: negative gives 0, beyond int32 saturates
// (and the bitmap then refuses the size).
inline int32_t BitmapExtent(int64_t extent) {
  return static_cast<int32_t>(std::clamp<int64_t>(extent, 0, INT32_MAX));
}
