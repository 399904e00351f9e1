#include "app/panel_placement.h"

#include "app/display_scale.h"

namespace panel_placement {
namespace {

// The start margin between the screen's top and the window.
constexpr int32_t kTopMargin = 20;
// A window whose right edge is left of this reach has been dragged off to
// the left; parked, its handle lies at the screen's left edge.
constexpr int32_t kLeftEdgeReach = 114;
constexpr int32_t kLeftEdgeParking = -228;

int32_t Scaled(int32_t pixels, int32_t scale) {
  return display_scale::ScalePixels(pixels, scale);
}

}  // namespace

TPoint StartPlace(const TRect& screen, Size panel, int32_t scale, bool rightToLeft) {
  return {rightToLeft ? screen.Left : screen.Right - panel.width,
          screen.Top + Scaled(kTopMargin, scale)};
}

TPoint PulledBack(const TRect& screen, const TRect& window, int32_t scale) {
  TPoint place{window.Left, window.Top};
  if (screen.Right - window.Width() < window.Left) {
    place.X = screen.Right - window.Width();
  } else if (window.Right < screen.Left + Scaled(kLeftEdgeReach, scale)) {
    place.X = screen.Left + Scaled(kLeftEdgeParking, scale);
  }
  if (window.Top < screen.Top) {
    place.Y = screen.Top;
  } else if (screen.Bottom - window.Height() < window.Top) {
    place.Y = screen.Bottom - window.Height();
  }
  return place;
}

TPoint Reanchored(const TRect& before, const TRect& after, const TRect& window, Size panel,
                  int32_t oldScale, int32_t newScale) {
  int32_t left = window.Left;
  if (window.Right >= before.Right) {
    left = after.Right - panel.width;
  } else if (window.Left == before.Left + Scaled(kLeftEdgeParking, oldScale)) {
    left = after.Left + Scaled(kLeftEdgeParking, newScale);
  } else if (window.Left == before.Left) {
    left = after.Left;
  }
  int32_t top = window.Top;
  if (window.Top == before.Top + Scaled(kTopMargin, oldScale)) {
    top = after.Top + Scaled(kTopMargin, newScale);
  }
  return PulledBack(after, {left, top, left + panel.width, top + panel.height}, newScale);
}

}  // namespace panel_placement
