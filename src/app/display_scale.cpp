#include "app/display_scale.h"

#include <algorithm>
#include <cstdlib>

namespace display_scale {
namespace {

// How far a scale is from a display's dpi, in hundredths of a base dpi, exactly.
int64_t DistanceFrom(int32_t scale, int32_t dpi) {
  return std::llabs(static_cast<int64_t>(scale) * kBaseDpi - static_cast<int64_t>(dpi) * 100);
}

}  // namespace

int32_t ChooseScale(int32_t dpi, const std::function<bool(int32_t scale)>& present) {
  if (dpi <= 0) dpi = kBaseDpi;
  std::array<int32_t, kScales.size()> order = kScales;
  // Nearest first; of two as near, the larger first.
  std::sort(order.begin(), order.end(), [dpi](int32_t a, int32_t b) {
    const int64_t da = DistanceFrom(a, dpi);
    const int64_t db = DistanceFrom(b, dpi);
    return da != db ? da < db : a > b;
  });
  for (int32_t scale : order) {
    if (scale == 100 || present(scale)) return scale;
  }
  return 100;
}

std::wstring ScaleFolder(int32_t scale) {
  return scale == 100 ? std::wstring() : L"scale-" + std::to_wstring(scale) + L"\\";
}

int32_t ScalePixels(int32_t pixels, int32_t scale) {
  // Floor division, so that half a pixel rounds up on either side of zero.
  const int64_t hundredths = static_cast<int64_t>(pixels) * scale + 50;
  const int64_t whole = hundredths / 100;
  return static_cast<int32_t>(hundredths % 100 < 0 ? whole - 1 : whole);
}

}  // namespace display_scale
