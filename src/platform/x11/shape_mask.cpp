#include "platform/x11/shape_mask.h"

#include <cstddef>

namespace platform::x11 {
namespace {

struct Run {
  int32_t x, width;
  bool operator==(const Run&) const = default;
};

std::vector<Run> RowRuns(const uint8_t* row, int32_t width, uint8_t minAlpha) {
  std::vector<Run> runs;
  int32_t x = 0;
  while (x < width) {
    while (x < width && row[static_cast<ptrdiff_t>(x) * 4 + 3] < minAlpha) ++x;
    const int32_t start = x;
    while (x < width && row[static_cast<ptrdiff_t>(x) * 4 + 3] >= minAlpha) ++x;
    if (x > start) runs.push_back({start, x - start});
  }
  return runs;
}

}  // namespace

std::vector<Rect> OpaqueRects(const uint8_t* pixels, int32_t width, int32_t height, int32_t stride,
                              uint8_t minAlpha) {
  std::vector<Rect> rects;
  if (pixels == nullptr || width <= 0 || height <= 0) return rects;
  if (minAlpha == 0) minAlpha = 1;  // a fully transparent pixel is never part of the shape
  std::vector<Run> band;
  int32_t bandTop = 0;
  auto closeBand = [&](int32_t bottom) {
    for (const Run& run : band) rects.push_back({run.x, bandTop, run.x + run.width, bottom});
  };
  for (int32_t y = 0; y < height; ++y) {
    std::vector<Run> runs = RowRuns(pixels + static_cast<ptrdiff_t>(y) * stride, width, minAlpha);
    if (y > 0 && runs == band) continue;
    closeBand(y);
    band = std::move(runs);
    bandTop = y;
  }
  closeBand(height);
  return rects;
}

}  // namespace platform::x11
