// Blending a panel-sized premultiplied bitmap onto another.
#include <benchmark/benchmark.h>

#include "base/bitmap.h"
#include "effects/blend.h"
#include "null_platform.h"
#include "panel_pixels.h"

namespace {

constexpr int32_t kWidth = bench::kPanelWidth;
constexpr int32_t kHeight = bench::kPanelHeight;

template <void (*Blend)(TBitmap&, const TRect&, const TBitmap&, TPoint, uint8_t)>
void BM_Blend(benchmark::State& state) {
  testing_support::NullPlatform platform;
  TBitmap source, dest;
  bench::FillGradient(source);
  bench::FillGradient(dest);
  for (auto _ : state) {
    Blend(dest, {0, 0, kWidth, kHeight}, source, {0, 0}, 230);
    benchmark::DoNotOptimize(dest.ScanLine(0));
  }
  state.counters["MPix/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kWidth * kHeight / 1e6,
                         benchmark::Counter::kIsRate);
}

BENCHMARK(BM_Blend<AlphaBlendBitmap>)->Name("AlphaBlendBitmap/341x113");
BENCHMARK(BM_Blend<SoftBlendBitmap>)->Name("SoftBlendBitmap/341x113");

}  // namespace
