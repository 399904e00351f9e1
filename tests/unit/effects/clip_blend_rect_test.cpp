// Random rectangles, origins and bitmap sizes, including the ends of the
// 32-bit range: a non-empty clipped rectangle always lies inside both bitmaps,
// and the blends built on it change no pixel outside that rectangle.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "base/bitmap.h"
#include "effects/blend.h"
#include "null_platform.h"
#include "text_painting.h"

namespace {

class ClipBlendRectProperty : public ::testing::Test {
 protected:
  // Mostly small values around the bitmaps, now and then one from the ends
  // of the 32-bit range or anywhere in it.
  int32_t Coordinate() {
    switch (std::uniform_int_distribution<int>(0, 19)(random)) {
      case 0:
        return INT32_MIN + std::uniform_int_distribution<int32_t>(0, 3)(random);
      case 1:
        return INT32_MAX - std::uniform_int_distribution<int32_t>(0, 3)(random);
      case 2:
        return std::uniform_int_distribution<int32_t>(INT32_MIN, INT32_MAX)(random);
      default:
        return std::uniform_int_distribution<int32_t>(-8, 20)(random);
    }
  }
  // An edge a small step beyond another, or anywhere.
  int32_t EdgeAfter(int32_t edge) {
    if (std::uniform_int_distribution<int>(0, 9)(random) == 0) return Coordinate();
    const int64_t far = int64_t{edge} + std::uniform_int_distribution<int32_t>(-2, 30)(random);
    return static_cast<int32_t>(std::clamp<int64_t>(far, INT32_MIN, INT32_MAX));
  }
  TPoint Origin() {
    std::uniform_int_distribution<int32_t> near(-4, 12);
    const bool extreme = std::uniform_int_distribution<int>(0, 9)(random) == 0;
    return extreme ? TPoint{Coordinate(), Coordinate()} : TPoint{near(random), near(random)};
  }
  TRect Rectangle() {
    TRect r;
    r.Left = Coordinate();
    r.Top = Coordinate();
    r.Right = EdgeAfter(r.Left);
    r.Bottom = EdgeAfter(r.Top);
    return r;
  }
  void Resize(TBitmap& bitmap) {
    bitmap.SetPixelFormat(std::uniform_int_distribution<int>(0, 3)(random) == 0
                              ? TPixelFormat::pf24bit
                              : TPixelFormat::pf32bit);
    std::uniform_int_distribution<int32_t> side(0, 24);  // 0 now and then
    bitmap.SetSize(side(random), side(random));
  }

  void Scramble(TBitmap& bitmap) {
    std::uniform_int_distribution<int> byte(0, 255);
    for (int32_t y = 0; y < bitmap.Height() && !bitmap.Empty(); ++y) {
      uint8_t* row = bitmap.ScanLine(y);
      for (int32_t i = 0; i < bitmap.Stride(); ++i) row[i] = static_cast<uint8_t>(byte(random));
    }
  }
  static std::vector<uint8_t> Snapshot(const TBitmap& bitmap) {
    return bitmap.Empty() ? std::vector<uint8_t>{} : testing_support::Bytes(bitmap);
  }
  // The first pixel outside `inside` that differs from `before`, or "none".
  static std::string ChangedOutside(const TBitmap& bitmap, const std::vector<uint8_t>& before,
                                    const TRect& inside) {
    const int32_t bpp = bitmap.BytesPerPixel();
    for (int32_t y = 0; y < bitmap.Height(); ++y) {
      for (int32_t x = 0; x < bitmap.Width(); ++x) {
        if (x >= inside.Left && x < inside.Right && y >= inside.Top && y < inside.Bottom) continue;
        const uint8_t* was = before.data() + y * bitmap.Stride() + x * bpp;
        if (!std::equal(was, was + bpp, bitmap.ScanLine(y) + x * bpp))
          return std::to_string(x) + "," + std::to_string(y);
      }
    }
    return "none";
  }

  testing_support::NullPlatform platform;
  std::mt19937 random{0x5eed2026};
};

TEST_F(ClipBlendRectProperty, ANonEmptyResultLiesInsideBothBitmapsAndTheRectangle) {
  TBitmap dest, source;
  int nonEmpty = 0;
  for (int round = 0; round < 40000; ++round) {
    if (round % 50 == 0) Resize(dest), Resize(source);
    const TRect rect = Rectangle();
    const TPoint passed = Origin();
    TPoint origin = passed;
    const TRect r = ClipBlendRect(dest, rect, source, origin);
    if (r.IsEmpty()) continue;
    ++nonEmpty;
    SCOPED_TRACE(testing::Message() << "rect " << rect.Left << "," << rect.Top << "," << rect.Right
                                    << "," << rect.Bottom << " origin " << passed.X << ","
                                    << passed.Y << " dest " << dest.Width() << "x" << dest.Height()
                                    << " source " << source.Width() << "x" << source.Height());
    ASSERT_GE(r.Left, 0);
    ASSERT_GE(r.Top, 0);
    ASSERT_LE(r.Right, dest.Width());
    ASSERT_LE(r.Bottom, dest.Height());
    ASSERT_GE(origin.X, 0);
    ASSERT_GE(origin.Y, 0);
    ASSERT_LE(int64_t{origin.X} + r.Width(), source.Width());
    ASSERT_LE(int64_t{origin.Y} + r.Height(), source.Height());
    // Clipping only ever cuts the rectangle as it was passed.
    ASSERT_GE(r.Left, rect.Left);
    ASSERT_GE(r.Top, rect.Top);
    ASSERT_LE(r.Right, rect.Right);
    ASSERT_LE(r.Bottom, rect.Bottom);
  }
  // The generator must reach the interesting cases, not only empty results.
  EXPECT_GT(nonEmpty, 2000);
}

TEST_F(ClipBlendRectProperty, BlendsWithRandomPlacementsChangeOnlyTheClippedRectangle) {
  // The sanitizers also report any access outside a bitmap's pixels.
  TBitmap dest, source;
  for (int round = 0; round < 5000; ++round) {
    Resize(dest);
    Resize(source);
    Scramble(dest);
    Scramble(source);
    const TRect rect = Rectangle();
    const TPoint origin = Origin();
    const auto opacity = static_cast<uint8_t>(round);
    TPoint clippedOrigin = origin;
    const TRect inside = ClipBlendRect(dest, rect, source, clippedOrigin);
    std::vector<uint8_t> before = Snapshot(dest);
    AlphaBlendBitmap(dest, rect, source, origin, opacity);
    ASSERT_EQ(ChangedOutside(dest, before, inside), "none") << "round " << round;
    if (source.PixelFormat() != TPixelFormat::pf32bit) continue;
    dest.SetPixelFormat(TPixelFormat::pf24bit);  // as the soft blend leaves it
    before = Snapshot(dest);
    SoftBlendBitmap(dest, rect, source, origin, opacity);
    ASSERT_EQ(ChangedOutside(dest, before, inside), "none") << "round " << round;
  }
}

}  // namespace
