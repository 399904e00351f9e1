// The glow of a 256 x 64 text mask: the loops written out as the reference
// beside the filter the product uses. Both give the same bytes (checked here
// once per run, and on random masks by the unit tests).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include "base/bitmap.h"
#include "effects/glow.h"
#include "effects/glow_filter_factory.h"
#include "literal_glow.h"
#include "null_platform.h"

namespace {

constexpr int32_t kWidth = 256;
constexpr int32_t kHeight = 64;
constexpr uint32_t kColor = 0x00BFFFFF;

// White glyph-like strokes on black inside the text rectangle of a layer with
// this radius: stems, bars and diagonals two pixels wide with anti-aliased
// edges, about a quarter of the text line lit.
std::vector<uint8_t> TextMask(int32_t radius) {
  std::vector<uint8_t> pixels(static_cast<size_t>(kWidth) * kHeight * 4, 0);
  const auto lit = [&](int32_t x, int32_t y, uint8_t value) {
    if (x < radius || y < radius || x >= kWidth - radius || y >= kHeight - radius) return;
    uint8_t* p = pixels.data() + (static_cast<size_t>(y) * kWidth + static_cast<size_t>(x)) * 4;
    for (int c = 0; c < 3; ++c) p[c] = std::max(p[c], value);
  };
  const int32_t top = kHeight / 2 - 8, bottom = kHeight / 2 + 8;
  for (int32_t glyph = 0, x0 = radius; x0 + 10 < kWidth - radius; ++glyph, x0 += 12) {
    for (int32_t y = top; y < bottom; ++y) {
      lit(x0, y, 96), lit(x0 + 1, y, 255), lit(x0 + 2, y, 255), lit(x0 + 3, y, 96);  // stem
      if (glyph % 3 == 0) lit(x0 + 8, y, 160), lit(x0 + 9, y, 255);                  // second stem
      if (glyph % 3 == 1) lit(x0 + 3 + (y - top) / 2, y, 255), lit(x0 + 4 + (y - top) / 2, y, 128);
    }
    for (int32_t x = x0; x < x0 + 10; ++x) {
      lit(x, top, 255), lit(x, top + 1, 128);  // bar
      if (glyph % 2 == 0) lit(x, (top + bottom) / 2, 255), lit(x, (top + bottom) / 2 + 1, 200);
    }
  }
  return pixels;
}

void LoadMask(TBitmap& bitmap, const std::vector<uint8_t>& pixels) {
  bitmap.TakePixels(kWidth, kHeight, pixels);
}

void BM_GlowLiteral(benchmark::State& state) {
  const auto radius = static_cast<int32_t>(state.range(0));
  const std::vector<uint8_t> mask = TextMask(radius);
  for (auto _ : state) {
    std::vector<uint8_t> glow =
        testing_support::LiteralGlow({mask.data(), kWidth, kHeight, radius, 0, 255, true, kColor});
    benchmark::DoNotOptimize(glow.data());
  }
  state.counters["MPix/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kWidth * kHeight / 1e6,
                         benchmark::Counter::kIsRate);
}

void BM_GlowProduct(benchmark::State& state) {
  testing_support::NullPlatform platform;
  const auto radius = static_cast<int32_t>(state.range(0));
  const std::vector<uint8_t> mask = TextMask(radius);
  const GlowSettings settings{255, 0, radius};
  OuterGlowFilterFactory factory;
  TBitmap bitmap;

  // Same bytes as the loops, or the figures mean nothing.
  LoadMask(bitmap, mask);
  ApplyGlow(settings, factory, bitmap, {0, 0, kWidth, kHeight}, true, kColor);
  const std::vector<uint8_t> expected =
      testing_support::LiteralGlow({mask.data(), kWidth, kHeight, radius, 0, 255, true, kColor});
  for (int32_t y = 0; y < kHeight; ++y) {
    if (!std::equal(expected.begin() + y * kWidth * 4, expected.begin() + (y + 1) * kWidth * 4,
                    bitmap.ScanLine(y))) {
      state.SkipWithError("product glow differs from the literal loops");
      return;
    }
  }

  for (auto _ : state) {
    state.PauseTiming();
    LoadMask(bitmap, mask);
    state.ResumeTiming();
    ApplyGlow(settings, factory, bitmap, {0, 0, kWidth, kHeight}, true, kColor);
    benchmark::DoNotOptimize(bitmap.ScanLine(0));
  }
  state.counters["MPix/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kWidth * kHeight / 1e6,
                         benchmark::Counter::kIsRate);
}

BENCHMARK(BM_GlowLiteral)
    ->Name("Glow256x64/literal")
    ->Arg(2)
    ->Arg(4)
    ->Arg(8)
    ->Arg(16)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GlowProduct)
    ->Name("Glow256x64/product")
    ->Arg(2)
    ->Arg(4)
    ->Arg(8)
    ->Arg(16)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
