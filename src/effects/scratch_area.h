#pragma once
#include <algorithm>
#include <cstdint>

#include "base/geometry.h"

// The painters' temporary areas. A caller's rectangle, radius and shifts can
// be any int32 values; temporaries cover only what can show in the target, so
// their size follows the target and not the settings.

// How many pixels a paint may spend on one temporary area for a target of
// the given size: a few times the target, and never less than a small
// caption needs.
inline int64_t ScratchBudget(int32_t width, int32_t height) {
  return 4 * TRect::OfSize(width, height).Area() + (int64_t{1} << 14);
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
    if (candidate.Area() <= budget) return candidate;
  }
  return area;
}
