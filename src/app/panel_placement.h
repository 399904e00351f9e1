#pragma once
// Where the panel's window goes against a screen: at start, when the pointer
// leaves it, and when the screen or the display scale changes under it. Pure
// arithmetic on rectangles; every distance is given at 100 % and grows with
// the scale.
#include <cstdint>

#include "base/geometry.h"

namespace panel_placement {

struct Size {
  int32_t width = 0;
  int32_t height = 0;
};

// Against the screen's right edge, or its left edge for a right-to-left
// language; the start margin below the top.
TPoint StartPlace(const TRect& screen, Size panel, int32_t scale, bool rightToLeft);

// The window pulled back inside the screen: its right edge no further right
// than the screen's, a window dragged off to the left parked with its handle
// at the left edge, its top neither above nor below the screen.
TPoint PulledBack(const TRect& screen, const TRect& window, int32_t scale);

// Where a window at `window`, placed against `before` at `oldScale`, goes
// when the screen becomes `after` and the panel `panel` large at `newScale`:
// flush right stays flush right, flush left stays flush left, parked stays
// parked, a top at the start margin follows the scale; anything else keeps
// its place; and the result is pulled back inside the new screen.
TPoint Reanchored(const TRect& before, const TRect& after, const TRect& window, Size panel,
                  int32_t oldScale, int32_t newScale);

}  // namespace panel_placement
