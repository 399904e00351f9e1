// Blending a panel-sized premultiplied bitmap onto another.
#include <benchmark/benchmark.h>

#include "base/bitmap.h"
#include "effects/blend.h"
#include "null_platform.h"

namespace {

constexpr int32_t kWidth = 341;
constexpr int32_t kHeight = 113;

void FillGradient(TBitmap& bitmap) {
  bitmap.SetPixelFormat(TPixelFormat::pf32bit);
  bitmap.SetSize(kWidth, kHeight);
  for (int32_t y = 0; y < kHeight; ++y) {
    uint8_t* p = bitmap.ScanLine(y);
    for (int32_t x = 0; x < kWidth; ++x, p += 4) {
      const uint8_t a = static_cast<uint8_t>((x + y) & 0xFF);
      p[0] = static_cast<uint8_t>(a * 3 / 4);
      p[1] = static_cast<uint8_t>(a / 2);
      p[2] = static_cast<uint8_t>(a / 4);
      p[3] = a;
    }
  }
}

template <void (*Blend)(TBitmap&, const TRect&, const TBitmap&, TPoint, uint8_t)>
void BM_Blend(benchmark::State& state) {
  testing_support::NullPlatform platform;
  TBitmap source, dest;
  FillGradient(source);
  FillGradient(dest);
  for (auto _ : state) {
    Blend(dest, {0, 0, kWidth, kHeight}, source, {0, 0}, 230);
    benchmark::DoNotOptimize(dest.ScanLine(0));
  }
  state.counters["MPix/s"] = benchmark::Counter(static_cast<double>(state.iterations()) * kWidth * kHeight / 1e6,
                                                benchmark::Counter::kIsRate);
}

BENCHMARK(BM_Blend<AlphaBlendBitmap>)->Name("AlphaBlendBitmap/341x113");
BENCHMARK(BM_Blend<SoftBlendBitmap>)->Name("SoftBlendBitmap/341x113");

}  // namespace
