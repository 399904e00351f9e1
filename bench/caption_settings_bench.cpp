// Captions of a 100 x 30 target under settings that reach far beyond it:
// negative shifts, margins of -3000 with a radius of 2900, layer mode. The
// painters spend only on what shows, so each paint costs about as much as
// a caption with ordinary settings (the first case) and not seconds.
#include <benchmark/benchmark.h>

#include "base/bitmap.h"
#include "effects/outer_glow_text_painter.h"
#include "null_platform.h"

namespace {

struct Settings {
  int32_t radius;
  int32_t shift;
  TRect rect;
  int32_t asLayer;
};

void PaintCaption(benchmark::State& state, Settings settings) {
  testing_support::NullPlatform platform;
  ReleasingPtr<TOuterGlowTextPainter> painter = TOuterGlowTextPainter::Create();
  painter->SetRadius(settings.radius);
  painter->SetRadiationX(settings.shift);
  painter->SetRadiationY(settings.shift);
  TBitmap target;
  target.SetPixelFormat(TPixelFormat::pf32bit);
  target.SetSize(100, 30);
  target.Canvas().Font().SetHeight(-10);
  for (auto _ : state) {
    painter->PaintText(target, L"Caption", settings.rect, 0x25, settings.asLayer, true);
    benchmark::DoNotOptimize(target.ScanLine(0));
  }
}

constexpr TRect kTarget{0, 0, 100, 30};

BENCHMARK_CAPTURE(PaintCaption, ordinary, Settings{2, 1, kTarget, 0})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(PaintCaption, shift_minus_12000, Settings{2, -12000, kTarget, 0})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(PaintCaption, layer_shift_minus_12000, Settings{2, -12000, kTarget, 1})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(PaintCaption, margins_minus_3000_radius_2900,
                  Settings{2900, 0, {-3000, -3000, 3100, 3030}, 0})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
