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

// Right and bottom are exclusive; the class library's names for
// platform::Rect, whose arithmetic (64-bit, saturating at the int32 range)
// every operation forwards to.
struct TRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;

  // The same rectangle as the platform writes it, which carries the arithmetic.
  platform::Rect ToPlatform() const { return {Left, Top, Right, Bottom}; }
  static TRect FromPlatform(const platform::Rect& r) { return {r.left, r.top, r.right, r.bottom}; }

  static TRect Saturated(int64_t left, int64_t top, int64_t right, int64_t bottom) {
    return FromPlatform(platform::Rect::Saturated(left, top, right, bottom));
  }
  static TRect OfSize(int32_t width, int32_t height) { return {0, 0, width, height}; }

  int32_t Width() const { return ToPlatform().Width(); }
  int32_t Height() const { return ToPlatform().Height(); }
  int64_t ExactWidth() const { return ToPlatform().ExactWidth(); }
  int64_t ExactHeight() const { return ToPlatform().ExactHeight(); }
  int64_t Area() const { return ToPlatform().Area(); }
  bool IsEmpty() const { return ToPlatform().IsEmpty(); }
  bool Contains(int32_t x, int32_t y) const { return ToPlatform().Contains(x, y); }

  TRect Intersected(const TRect& other) const {
    return FromPlatform(ToPlatform().Intersected(other.ToPlatform()));
  }
  TRect United(const TRect& other) const {
    return FromPlatform(ToPlatform().United(other.ToPlatform()));
  }
  TRect Inflated(int64_t by) const { return FromPlatform(ToPlatform().Inflated(by)); }
  TRect Inflated(int64_t left, int64_t top, int64_t right, int64_t bottom) const {
    return FromPlatform(ToPlatform().Inflated(left, top, right, bottom));
  }
  TRect Translated(int64_t dx, int64_t dy) const {
    return FromPlatform(ToPlatform().Translated(dx, dy));
  }

  friend bool operator==(const TRect&, const TRect&) = default;
};
