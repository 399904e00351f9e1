// Blending a panel-sized premultiplied bitmap onto another.
#include <benchmark/benchmark.h>

#include <string>

#include "base/bitmap.h"
#include "effects/blend.h"
#include "effects/blend_rows.h"
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

// Each path of the per-pixel blend this processor runs, on the same rows.
void BM_BlendRows(benchmark::State& state, blend_rows::Row row) {
  testing_support::NullPlatform platform;
  TBitmap source, dest;
  bench::FillGradient(source);
  bench::FillGradient(dest);
  for (auto _ : state) {
    for (int32_t y = 0; y < kHeight; ++y) row(source.ScanLine(y), dest.ScanLine(y), kWidth, 230);
    benchmark::DoNotOptimize(dest.ScanLine(0));
  }
  state.counters["MPix/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kWidth * kHeight / 1e6,
                         benchmark::Counter::kIsRate);
}

const bool registered = [] {
  for (const blend_rows::Path& path : blend_rows::Available()) {
    benchmark::RegisterBenchmark((std::string("BlendRows/") + path.name + "/341x113").c_str(),
                                 BM_BlendRows, path.row);
  }
  return true;
}();

}  // namespace
