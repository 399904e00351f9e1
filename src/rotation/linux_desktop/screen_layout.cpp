#include "rotation/linux_desktop/screen_layout.h"

#include <algorithm>
#include <cmath>

namespace quillet::linux_desktop {
namespace {

// Transforms whose corners come this close to infinity, or spread wider than
// any screen, place nothing.
constexpr double kNearZero = 1e-9;
constexpr double kLargestSide = 1 << 20;
constexpr double kFixedUnit = 1.0 / 65536;

bool IsQuarterTurn(uint16_t rotation) {
  return (rotation & (kRotate90 | kRotate270)) != 0;
}

bool Unchanged(const ScreenState& state, const ScreenLayout& layout) {
  for (size_t i = 0; i < state.crtcs.size(); ++i) {
    if (layout.crtcs[i] != state.crtcs[i].config) return false;
  }
  return layout.size.width == state.size.width && layout.size.height == state.size.height;
}

// Keeps the screen's density, taken from its height as xrandr does; 96 dots
// per inch when the server does not know it.
int32_t Millimetres(int64_t pixels, const ScreenSize& before) {
  const double perPixel = before.height > 0 && before.mmHeight > 0
                              ? static_cast<double>(before.mmHeight) / before.height
                              : 25.4 / 96.0;
  return static_cast<int32_t>(std::lround(static_cast<double>(pixels) * perPixel));
}

// The footprint of that size at the config's place.
platform::Rect At(const CrtcConfig& config, int64_t width, int64_t height) {
  return platform::Rect::Saturated(config.x, config.y, config.x + width, config.y + height);
}

}  // namespace

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

platform::Rect Footprint(const Crtc& crtc, const CrtcConfig& config) {
  const bool across = IsQuarterTurn(config.rotation);
  const int64_t width = across ? crtc.modeHeight : crtc.modeWidth;
  const int64_t height = across ? crtc.modeWidth : crtc.modeHeight;
  if (crtc.transform == kIdentityTransform) return At(config, width, height);

  // The server turns the picture first and then applies the transform.
  const CrtcTransform& t = crtc.transform;
  const double w = static_cast<double>(width);
  const double h = static_cast<double>(height);
  const double corners[4][2] = {{0, 0}, {w, 0}, {w, h}, {0, h}};
  double left = 0;
  double right = 0;
  double top = 0;
  double bottom = 0;
  for (size_t i = 0; i < 4; ++i) {
    const auto [u, v] = corners[i];
    const double scale = t[6] * u + t[7] * v + t[8];
    // A corner at or beyond infinity has no place on the screen.
    if (!(scale > kNearZero)) return At(config, 0, 0);
    const double x = (t[0] * u + t[1] * v + t[2]) / scale;
    const double y = (t[3] * u + t[4] * v + t[5]) / scale;
    left = i == 0 ? x : std::min(left, x);
    right = i == 0 ? x : std::max(right, x);
    top = i == 0 ? y : std::min(top, y);
    bottom = i == 0 ? y : std::max(bottom, y);
  }
  if (!(right - left <= kLargestSide) || !(bottom - top <= kLargestSide)) {
    return At(config, 0, 0);
  }
  // Every pixel the picture touches, as the server rounds; the slack keeps
  // the transform's 16.16 fixed point from adding a pixel.
  const auto span = [](double low, double high) {
    return static_cast<int64_t>(std::ceil(high - kFixedUnit) - std::floor(low + kFixedUnit));
  };
  return At(config, span(left, right), span(top, bottom));
}

std::optional<ScreenLayout> LayOut(const ScreenState& state, size_t turned, int32_t code) {
  if (turned >= state.crtcs.size()) return std::nullopt;
  ScreenLayout layout;
  std::vector<Reshape> reshapes;
  bool pans = false;
  for (size_t i = 0; i < state.crtcs.size(); ++i) {
    const Crtc& crtc = state.crtcs[i];
    CrtcConfig next = crtc.config;
    if (i == turned) {
      next.rotation =
          static_cast<uint16_t>((crtc.config.rotation & kReflections) | RotationOfCode(code));
      if ((crtc.supportedRotations & next.rotation) != next.rotation) return std::nullopt;
    }
    const platform::Rect was = Footprint(crtc, crtc.config);
    const platform::Rect will = Footprint(crtc, next);
    if (was.IsEmpty() || will.IsEmpty()) return std::nullopt;
    pans = pans || crtc.pans;
    reshapes.push_back({was.left, was.top, was.ExactWidth(), was.ExactHeight(), will.ExactWidth(),
                        will.ExactHeight()});
    layout.crtcs.push_back(next);
  }

  const std::vector<Corner> corners = ArrangeOutputs(reshapes);
  int64_t width = state.minWidth;
  int64_t height = state.minHeight;
  for (size_t i = 0; i < layout.crtcs.size(); ++i) {
    width = std::max(width, corners[i].x + reshapes[i].newWidth);
    height = std::max(height, corners[i].y + reshapes[i].newHeight);
  }
  if (width > state.maxWidth || height > state.maxHeight) return std::nullopt;
  for (size_t i = 0; i < layout.crtcs.size(); ++i) {
    // Within the screen, so the positions fit in 32 bits.
    layout.crtcs[i].x = static_cast<int32_t>(corners[i].x);
    layout.crtcs[i].y = static_cast<int32_t>(corners[i].y);
  }
  layout.size = {static_cast<int32_t>(width), static_cast<int32_t>(height),
                 Millimetres(width, state.size), Millimetres(height, state.size)};
  // Its panning area would no longer match what it shows.
  if (pans && !Unchanged(state, layout)) return std::nullopt;
  return layout;
}

}  // namespace quillet::linux_desktop
