#pragma once
#include <algorithm>
#include <cstdint>

#include "base/geometry.h"
#include "effects/saturated_rect.h"

// Geometry of the painters' temporary areas. A caller's rectangle, radius and
// shifts can be any int32 values; temporaries cover only what can show in the
// target, so their size follows the target and not the settings.

inline TRect Intersection(const TRect& a, const TRect& b) {
  return {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
          std::min(a.Bottom, b.Bottom)};
}

// The smallest rectangle holding both; an empty one adds nothing.
inline TRect Hull(const TRect& a, const TRect& b) {
  if (a.IsEmpty()) return b;
  if (b.IsEmpty()) return a;
  return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
          std::max(a.Bottom, b.Bottom)};
}

inline TRect Grown(const TRect& rect, int64_t by) {
  return SaturatedRect(rect.Left - by, rect.Top - by, rect.Right + by, rect.Bottom + by);
}

inline TRect Moved(const TRect& rect, int64_t dx, int64_t dy) {
  return SaturatedRect(rect.Left + dx, rect.Top + dy, rect.Right + dx, rect.Bottom + dy);
}

// Pixels covered; 0 for an empty rectangle.
inline int64_t AreaOf(const TRect& rect) {
  return rect.IsEmpty() ? 0 : WidthOf(rect) * HeightOf(rect);
}

inline TRect BoundsOf(int32_t width, int32_t height) {
  return {0, 0, width, height};
}

// How many pixels a paint may spend on one temporary area for a target of
// the given size: a few times the target, and never less than a small
// caption needs.
inline int64_t ScratchBudget(int32_t width, int32_t height) {
  return 4 * AreaOf(BoundsOf(width, height)) + (int64_t{1} << 14);
}

// DrawText centres a line at (left + right - width) / 2, truncated toward
// zero, so a line wider than its rectangle can land a pixel away when the
// rectangle starts elsewhere than in a temporary of the whole rectangle.
// A temporary covering `area` for a layer of `rect` therefore reaches back
// to rect's left and top edges when that keeps it within `budget`.
inline TRect ReachingBack(const TRect& area, const TRect& rect, int64_t budget) {
  if (area.IsEmpty()) return area;
  const TRect candidates[] = {
      {std::min(area.Left, rect.Left), std::min(area.Top, rect.Top), area.Right, area.Bottom},
      {std::min(area.Left, rect.Left), area.Top, area.Right, area.Bottom},
      {area.Left, std::min(area.Top, rect.Top), area.Right, area.Bottom},
  };
  for (const TRect& candidate : candidates) {
    if (AreaOf(candidate) <= budget) return candidate;
  }
  return area;
}
