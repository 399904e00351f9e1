// Times the portable AlphaBlendBitmap against msimg32's AlphaBlend on the
// same panel-sized premultiplied pixels, in megapixels per second. Run by
// hand under Wine; not part of the tests.
#include "platform/win32/windows_api.h"

#include <chrono>
#include <cstdio>
#include <functional>

#include "base/bitmap.h"
#include "effects/blend.h"
#include "panel_pixels.h"
#include "platform/win32/dib_section.h"

namespace {

constexpr int32_t kWidth = bench::kPanelWidth;
constexpr int32_t kHeight = bench::kPanelHeight;
constexpr uint8_t kOpacity = 230;

// The best of five runs of about 0.4 s each, in megapixels per second.
double MegapixelsPerSecond(const std::function<void()>& blend) {
  using Clock = std::chrono::steady_clock;
  double best = 0;
  for (int run = 0; run < 5; ++run) {
    long blends = 0;
    const Clock::time_point start = Clock::now();
    Clock::duration elapsed{};
    do {
      for (int i = 0; i < 20; ++i) blend();
      blends += 20;
      elapsed = Clock::now() - start;
    } while (elapsed < std::chrono::milliseconds(400));
    const double seconds = std::chrono::duration<double>(elapsed).count();
    best = std::max(best, static_cast<double>(blends) * kWidth * kHeight / seconds / 1e6);
  }
  return best;
}

}  // namespace

int main() {
  TBitmap source, dest;
  bench::FillGradient(source);
  bench::FillGradient(dest);
  const double portable = MegapixelsPerSecond([&] {
    AlphaBlendBitmap(dest, {0, 0, kWidth, kHeight}, source, {0, 0}, kOpacity);
  });

  platform::win32::DibSection sourceDib(source.Buffer(), 32);
  platform::win32::DibSection destDib(dest.Buffer(), 32);
  HDC sourceDc = ::CreateCompatibleDC(nullptr);
  HDC destDc = ::CreateCompatibleDC(nullptr);
  HGDIOBJ oldSource = ::SelectObject(sourceDc, sourceDib.Handle());
  HGDIOBJ oldDest = ::SelectObject(destDc, destDib.Handle());
  const BLENDFUNCTION function{AC_SRC_OVER, 0, kOpacity, AC_SRC_ALPHA};
  const double platform = MegapixelsPerSecond([&] {
    ::AlphaBlend(destDc, 0, 0, kWidth, kHeight, sourceDc, 0, 0, kWidth, kHeight, function);
    ::GdiFlush();
  });
  ::SelectObject(sourceDc, oldSource);
  ::SelectObject(destDc, oldDest);
  ::DeleteDC(sourceDc);
  ::DeleteDC(destDc);

  std::printf("Blending %d x %d premultiplied pixels at constant alpha %d\n", kWidth, kHeight,
              kOpacity);
  std::printf("  AlphaBlendBitmap (portable) %8.1f MPix/s\n", portable);
  std::printf("  AlphaBlend (msimg32)        %8.1f MPix/s\n", platform);
  std::printf("  portable / msimg32          %8.2f\n", portable / platform);
  return 0;
}
