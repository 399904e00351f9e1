#include "rotation/screen_layout.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace quillet::xdesktop {
namespace {

bool IsQuarterTurn(uint16_t rotation) {
  return (rotation & (kRotate90 | kRotate270)) != 0;
}

struct Span {
  int64_t start;
  int64_t length;
};

// New starts along one axis for spans that take new lengths. A span keeps
// its start unless others ended before it; then it follows the farthest of
// them at the gap it had, so neighbours stay neighbours and nothing that was
// apart comes to overlap.
std::vector<int64_t> Arrange(const std::vector<Span>& before, const std::vector<int64_t>& lengths) {
  std::vector<size_t> order(before.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t a, size_t b) { return before[a].start < before[b].start; });
  std::vector<int64_t> starts(before.size());
  for (size_t n = 0; n < order.size(); ++n) {
    const size_t i = order[n];
    std::optional<int64_t> start;
    for (size_t m = 0; m < n; ++m) {
      const size_t j = order[m];
      const int64_t end = before[j].start + before[j].length;
      if (end > before[i].start) continue;
      const int64_t after = starts[j] + lengths[j] + (before[i].start - end);
      start = std::max(start.value_or(after), after);
    }
    starts[i] = start.value_or(before[i].start);
  }
  return starts;
}

// Keeps the screen's density, taken from its height as xrandr does; 96 dots
// per inch when the server does not know it.
int32_t Millimetres(int64_t pixels, const ScreenSize& before) {
  const double perPixel = before.height > 0 && before.mmHeight > 0
                              ? static_cast<double>(before.mmHeight) / before.height
                              : 25.4 / 96.0;
  return static_cast<int32_t>(std::lround(static_cast<double>(pixels) * perPixel));
}

}  // namespace

int32_t NormaliseCode(int32_t code) {
  return code == 2 || code == 3 || code == 4 ? code : 1;
}

uint16_t RotationOfCode(int32_t code) {
  return static_cast<uint16_t>(1u << (NormaliseCode(code) - 1));
}

int32_t CodeOfRotation(uint16_t rotation) {
  switch (rotation & kRotations) {
    case kRotate90:
      return 2;
    case kRotate180:
      return 3;
    case kRotate270:
      return 4;
    default:
      return 1;
  }
}

Rect Footprint(const Crtc& crtc, const CrtcConfig& config) {
  const bool across = IsQuarterTurn(config.rotation);
  return Rect{config.x, config.y, across ? crtc.modeHeight : crtc.modeWidth,
              across ? crtc.modeWidth : crtc.modeHeight};
}

std::optional<ScreenLayout> LayOut(const ScreenState& state, int32_t code) {
  const uint16_t rotation = RotationOfCode(code);
  ScreenLayout layout;
  std::vector<Span> columns;
  std::vector<Span> rows;
  std::vector<int64_t> widths;
  std::vector<int64_t> heights;
  for (const Crtc& crtc : state.crtcs) {
    CrtcConfig turned = crtc.config;
    turned.rotation = static_cast<uint16_t>((crtc.config.rotation & kReflections) | rotation);
    if ((crtc.supportedRotations & turned.rotation) != turned.rotation) return std::nullopt;
    const Rect was = Footprint(crtc, crtc.config);
    const Rect will = Footprint(crtc, turned);
    columns.push_back({was.x, was.width});
    rows.push_back({was.y, was.height});
    widths.push_back(will.width);
    heights.push_back(will.height);
    layout.crtcs.push_back(turned);
  }

  const std::vector<int64_t> xs = Arrange(columns, widths);
  const std::vector<int64_t> ys = Arrange(rows, heights);
  int64_t width = state.minWidth;
  int64_t height = state.minHeight;
  for (size_t i = 0; i < layout.crtcs.size(); ++i) {
    width = std::max(width, xs[i] + widths[i]);
    height = std::max(height, ys[i] + heights[i]);
  }
  if (width > state.maxWidth || height > state.maxHeight) return std::nullopt;
  for (size_t i = 0; i < layout.crtcs.size(); ++i) {
    // Within the screen, so the positions fit in 32 bits.
    layout.crtcs[i].x = static_cast<int32_t>(xs[i]);
    layout.crtcs[i].y = static_cast<int32_t>(ys[i]);
  }
  layout.size = {static_cast<int32_t>(width), static_cast<int32_t>(height),
                 Millimetres(width, state.size), Millimetres(height, state.size)};
  return layout;
}

}  // namespace quillet::xdesktop
