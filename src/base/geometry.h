#pragma once
#include <algorithm>
#include <cstdint>

#include "platform/types.h"

using platform::SaturateInt32;

struct TPoint {
  int32_t X = 0;
  int32_t Y = 0;

  friend bool operator==(const TPoint&, const TPoint&) = default;
};

// Right and bottom are exclusive. Callers hand in any int32 values, so every
// operation that computes new edges works in 64 bits and saturates at the
// int32 range instead of overflowing.
struct TRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;

  // Edges computed in 64 bits, each brought back into the int32 range.
  static TRect Saturated(int64_t left, int64_t top, int64_t right, int64_t bottom) {
    return {SaturateInt32(left), SaturateInt32(top), SaturateInt32(right), SaturateInt32(bottom)};
  }
  // The rectangle of a picture of the given size, placed at the origin.
  static TRect OfSize(int32_t width, int32_t height) { return {0, 0, width, height}; }

  // Saturated, so that a rectangle spanning more than the 32-bit range cannot overflow.
  int32_t Width() const { return SaturateInt32(ExactWidth()); }
  int32_t Height() const { return SaturateInt32(ExactHeight()); }
  // Right minus left (bottom minus top) without saturation; negative when inverted.
  int64_t ExactWidth() const { return int64_t{Right} - Left; }
  int64_t ExactHeight() const { return int64_t{Bottom} - Top; }
  // Pixels covered; 0 for an empty rectangle.
  int64_t Area() const { return IsEmpty() ? 0 : ExactWidth() * ExactHeight(); }
  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  bool Contains(int32_t x, int32_t y) const {
    return Left <= x && x < Right && Top <= y && y < Bottom;
  }

  // The part both rectangles cover; empty (possibly inverted) when they do not meet.
  TRect Intersected(const TRect& other) const {
    return {std::max(Left, other.Left), std::max(Top, other.Top), std::min(Right, other.Right),
            std::min(Bottom, other.Bottom)};
  }
  // The smallest rectangle holding both; an empty one adds nothing.
  TRect United(const TRect& other) const {
    if (other.IsEmpty()) return *this;
    if (IsEmpty()) return other;
    return {std::min(Left, other.Left), std::min(Top, other.Top), std::max(Right, other.Right),
            std::max(Bottom, other.Bottom)};
  }
  // Grown by `by` on every side (shrunk when negative).
  TRect Inflated(int64_t by) const { return Inflated(by, by, by, by); }
  // Each edge moved outward by its own amount.
  TRect Inflated(int64_t left, int64_t top, int64_t right, int64_t bottom) const {
    return Saturated(Left - left, Top - top, Right + right, Bottom + bottom);
  }
  TRect Translated(int64_t dx, int64_t dy) const {
    return Saturated(Left + dx, Top + dy, Right + dx, Bottom + dy);
  }

  friend bool operator==(const TRect&, const TRect&) = default;
};
