#include "effects/blend.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>

#include "base/bitmap.h"
#include "function_handler.h"
#include "null_platform.h"

namespace {

using Pixel = std::array<uint8_t, 4>;  // blue, green, red, alpha

class BlendTest : public ::testing::Test {
 protected:
  static void Fill(TBitmap& bitmap, TPixelFormat format, int32_t width, int32_t height,
                   Pixel value) {
    bitmap.SetPixelFormat(format);
    bitmap.SetSize(width, height);
    for (int32_t y = 0; y < height; ++y) {
      for (int32_t x = 0; x < width; ++x) Set(bitmap, x, y, value);
    }
  }
  static void Set(TBitmap& bitmap, int32_t x, int32_t y, Pixel value) {
    uint8_t* p = bitmap.ScanLine(y) + x * bitmap.BytesPerPixel();
    for (int c = 0; c < bitmap.BytesPerPixel(); ++c) p[c] = value[static_cast<size_t>(c)];
  }
  // A 24-bit pixel reads with alpha 0.
  static Pixel At(const TBitmap& bitmap, int32_t x, int32_t y) {
    const uint8_t* p = bitmap.ScanLine(y) + x * bitmap.BytesPerPixel();
    return {p[0], p[1], p[2], bitmap.BytesPerPixel() == 4 ? p[3] : uint8_t{0}};
  }

  testing_support::NullPlatform platform;
};

// --- premultiplying -----------------------------------------------------------

TEST_F(BlendTest, PremultiplyTruncatesEachColourKeepsAlphaAndReportsOneChange) {
  TBitmap bitmap;
  Fill(bitmap, TPixelFormat::pf32bit, 4, 2, {0, 0, 0, 0});
  Set(bitmap, 0, 0, {200, 100, 255, 128});
  Set(bitmap, 1, 0, {1, 2, 3, 128});  // 3 * 128 / 255 = 1.506: truncated, not rounded
  Set(bitmap, 2, 0, {17, 99, 254, 255});
  Set(bitmap, 3, 1, {255, 255, 255, 0});
  int changes = 0;
  testing_support::FunctionHandler<TObject*> counter([&](TObject*) { ++changes; });
  bitmap.OnChange = counter.Event();
  PremultiplyBitmap(bitmap);
  EXPECT_EQ(At(bitmap, 0, 0), (Pixel{100, 50, 128, 128}));
  EXPECT_EQ(At(bitmap, 1, 0), (Pixel{0, 1, 1, 128}));
  EXPECT_EQ(At(bitmap, 2, 0), (Pixel{17, 99, 254, 255}));
  EXPECT_EQ(At(bitmap, 3, 1), (Pixel{0, 0, 0, 0}));
  EXPECT_EQ(changes, 1);
}

TEST_F(BlendTest, PremultiplyLeavesOtherFormatsAndEmptyBitmapsAlone) {
  TBitmap bitmap;
  Fill(bitmap, TPixelFormat::pf24bit, 3, 3, {200, 100, 50, 0});
  TBitmap empty;
  empty.SetPixelFormat(TPixelFormat::pf32bit);
  empty.SetSize(5, 0);
  int changes = 0;
  testing_support::FunctionHandler<TObject*> counter([&](TObject*) { ++changes; });
  for (TBitmap* each : {&bitmap, &empty}) {
    each->OnChange = counter.Event();
    PremultiplyBitmap(*each);
  }
  EXPECT_EQ(At(bitmap, 2, 2), (Pixel{200, 100, 50, 0}));
  EXPECT_EQ(bitmap.PixelFormat(), TPixelFormat::pf24bit);
  EXPECT_EQ(empty.Width(), 5);
  EXPECT_EQ(empty.PixelFormat(), TPixelFormat::pf32bit);
  EXPECT_EQ(changes, 0);
}

// --- clipping -------------------------------------------------------------------

TEST_F(BlendTest, ClipCutsTheRightEdgeAtTheNarrowerDestination) {
  TBitmap dest, source;
  Fill(dest, TPixelFormat::pf32bit, 50, 10, {});
  Fill(source, TPixelFormat::pf32bit, 80, 10, {});
  TPoint origin{0, 0};
  EXPECT_EQ(ClipBlendRect(dest, {0, 0, 100, 10}, source, origin), (TRect{0, 0, 50, 10}));
  EXPECT_EQ(origin, (TPoint{0, 0}));
}

TEST_F(BlendTest, ClipMovesTheOriginPastANegativeLeftEdge) {
  TBitmap dest, source;
  Fill(dest, TPixelFormat::pf32bit, 100, 100, {});
  Fill(source, TPixelFormat::pf32bit, 30, 30, {});
  TPoint origin{0, 0};
  EXPECT_EQ(ClipBlendRect(dest, {-10, 5, 40, 25}, source, origin), (TRect{0, 5, 10, 25}));
  EXPECT_EQ(origin, (TPoint{10, 0}));
}

TEST_F(BlendTest, ClipMovesTheDestinationPastANegativeOrigin) {
  TBitmap dest, source;
  Fill(dest, TPixelFormat::pf32bit, 100, 100, {});
  Fill(source, TPixelFormat::pf32bit, 30, 30, {});
  TPoint origin{-4, -6};
  // Left and top move in by the origin; the source then runs out 30 past the
  // left edge as it was passed.
  EXPECT_EQ(ClipBlendRect(dest, {10, 20, 60, 40}, source, origin), (TRect{14, 26, 40, 40}));
  EXPECT_EQ(origin, (TPoint{0, 0}));
}

TEST_F(BlendTest, ClipOfAnOriginBeyondTheSourceIsEmpty) {
  TBitmap dest, source;
  Fill(dest, TPixelFormat::pf32bit, 100, 100, {});
  Fill(source, TPixelFormat::pf32bit, 30, 30, {});
  TPoint origin{31, 0};
  EXPECT_TRUE(ClipBlendRect(dest, {0, 0, 10, 10}, source, origin).IsEmpty());
}

// --- software blend -------------------------------------------------------------

TEST_F(BlendTest, SoftBlendOfHalfAlphaLandsHalfWay) {
  TBitmap dest, source;
  Fill(dest, TPixelFormat::pf24bit, 1, 1, {100, 100, 100, 0});
  Fill(source, TPixelFormat::pf32bit, 1, 1, {200, 200, 200, 128});
  SoftBlendBitmap(dest, {0, 0, 1, 1}, source, {0, 0}, 255);
  EXPECT_EQ(At(dest, 0, 0), (Pixel{150, 150, 150, 0}));
}

TEST_F(BlendTest, SoftBlendTruncatesAndScalesByOpacity) {
  TBitmap dest, source;
  Fill(dest, TPixelFormat::pf24bit, 1, 1, {10, 250, 0, 0});
  Fill(source, TPixelFormat::pf32bit, 1, 1, {250, 10, 255, 255});
  SoftBlendBitmap(dest, {0, 0, 1, 1}, source, {0, 0}, 100);
  // a = 100/255: 250a + 10(1-a) = 104.12, 10a + 250(1-a) = 155.88, 255a = 100
  EXPECT_EQ(At(dest, 0, 0), (Pixel{104, 155, 100, 0}));
}

TEST_F(BlendTest, SoftBlendAtFullOpacityCopiesEveryOpaqueColourExactly) {
  TBitmap dest, source;
  Fill(dest, TPixelFormat::pf24bit, 256, 1, {7, 7, 7, 0});
  Fill(source, TPixelFormat::pf32bit, 256, 1, {});
  for (int32_t x = 0; x < 256; ++x) {
    const auto v = static_cast<uint8_t>(x);
    Set(source, x, 0, {v, static_cast<uint8_t>(255 - v), v, 255});
  }
  SoftBlendBitmap(dest, {0, 0, 256, 1}, source, {0, 0}, 255);
  for (int32_t x = 0; x < 256; ++x) {
    const auto v = static_cast<uint8_t>(x);
    ASSERT_EQ(At(dest, x, 0), (Pixel{v, static_cast<uint8_t>(255 - v), v, 0})) << "at " << x;
  }
}

TEST_F(BlendTest, SoftBlendOfTransparentSourceKeepsColoursButDropsAlpha) {
  TBitmap dest, source;
  Fill(dest, TPixelFormat::pf32bit, 2, 2, {11, 22, 33, 44});
  Fill(source, TPixelFormat::pf32bit, 2, 2, {255, 255, 255, 0});
  SoftBlendBitmap(dest, {0, 0, 2, 2}, source, {0, 0}, 255);
  EXPECT_EQ(dest.PixelFormat(), TPixelFormat::pf24bit);
  EXPECT_EQ(At(dest, 1, 1), (Pixel{11, 22, 33, 0}));
}

TEST_F(BlendTest, SoftBlendReadsFromTheOriginAndStaysInsideTheRectangle) {
  TBitmap dest, source;
  Fill(dest, TPixelFormat::pf24bit, 4, 4, {0, 0, 0, 0});
  Fill(source, TPixelFormat::pf32bit, 3, 3, {0, 0, 0, 255});
  Set(source, 2, 1, {9, 8, 7, 255});
  SoftBlendBitmap(dest, {1, 1, 3, 3}, source, {1, 0}, 255);
  EXPECT_EQ(At(dest, 2, 2), (Pixel{9, 8, 7, 0}));  // source (2, 1)
  EXPECT_EQ(At(dest, 0, 0), (Pixel{0, 0, 0, 0}));
  EXPECT_EQ(At(dest, 3, 3), (Pixel{0, 0, 0, 0}));
}

TEST_F(BlendTest, SoftBlendNeedsA32BitSourceButStillConvertsTheDestination) {
  TBitmap dest, source;
  Fill(dest, TPixelFormat::pf32bit, 2, 2, {1, 2, 3, 4});
  Fill(source, TPixelFormat::pf24bit, 2, 2, {200, 200, 200, 0});
  SoftBlendBitmap(dest, {0, 0, 2, 2}, source, {0, 0}, 255);
  EXPECT_EQ(dest.PixelFormat(), TPixelFormat::pf24bit);
  EXPECT_EQ(At(dest, 0, 0), (Pixel{1, 2, 3, 0}));
}

// --- platform-style alpha blend -------------------------------------------------

TEST_F(BlendTest, AlphaBlendOfPremultipliedSourceComposesEveryChannel) {
  TBitmap dest, source;
  Fill(dest, TPixelFormat::pf32bit, 1, 1, {200, 200, 200, 255});
  Fill(source, TPixelFormat::pf32bit, 1, 1, {100, 50, 0, 128});
  AlphaBlendBitmap(dest, {0, 0, 1, 1}, source, {0, 0}, 255);
  // 200 * 127/255 = 99.6 shows through
  EXPECT_EQ(At(dest, 0, 0), (Pixel{200, 150, 100, 255}));
}

TEST_F(BlendTest, AlphaBlendScalesSourceAndItsAlphaByTheOpacity) {
  TBitmap dest, source;
  Fill(dest, TPixelFormat::pf32bit, 1, 1, {0, 0, 0, 0});
  Fill(source, TPixelFormat::pf32bit, 1, 1, {255, 128, 0, 255});
  AlphaBlendBitmap(dest, {0, 0, 1, 1}, source, {0, 0}, 230);
  // 128 * 230/255 = 115.45
  EXPECT_EQ(At(dest, 0, 0), (Pixel{230, 115, 0, 230}));
}

TEST_F(BlendTest, AlphaBlendOfTransparentSourceOrZeroOpacityChangesNothing) {
  TBitmap dest, source;
  Fill(dest, TPixelFormat::pf32bit, 2, 1, {10, 20, 30, 40});
  Fill(source, TPixelFormat::pf32bit, 2, 1, {0, 0, 0, 0});
  AlphaBlendBitmap(dest, {0, 0, 2, 1}, source, {0, 0}, 255);
  EXPECT_EQ(At(dest, 0, 0), (Pixel{10, 20, 30, 40}));
  Fill(source, TPixelFormat::pf32bit, 2, 1, {90, 90, 90, 90});
  AlphaBlendBitmap(dest, {0, 0, 2, 1}, source, {0, 0}, 0);
  EXPECT_EQ(At(dest, 1, 0), (Pixel{10, 20, 30, 40}));
}

TEST_F(BlendTest, AlphaBlendFromA24BitSourceUsesTheConstantOpacityOnly) {
  TBitmap dest, source;
  Fill(dest, TPixelFormat::pf24bit, 2, 1, {100, 0, 255, 0});
  Fill(source, TPixelFormat::pf24bit, 2, 1, {200, 255, 0, 0});
  AlphaBlendBitmap(dest, {0, 0, 2, 1}, source, {0, 0}, 128);
  // 200 * 128/255 + 100 * 127/255 = 150.2; 255 * 128/255 = 128; 255 * 127/255 = 127
  EXPECT_EQ(At(dest, 0, 0), (Pixel{150, 128, 127, 0}));
  EXPECT_EQ(At(dest, 1, 0), (Pixel{150, 128, 127, 0}));
}

TEST_F(BlendTest, AlphaBlendCountsA24BitSourceAsOpaqueInTheDestinationAlpha) {
  TBitmap dest, source;
  Fill(dest, TPixelFormat::pf32bit, 1, 1, {0, 0, 0, 100});
  Fill(source, TPixelFormat::pf24bit, 1, 1, {255, 0, 0, 0});
  AlphaBlendBitmap(dest, {0, 0, 1, 1}, source, {0, 0}, 230);
  // 255 * 230/255 + 100 * 25/255 = 239.8
  EXPECT_EQ(At(dest, 0, 0), (Pixel{230, 0, 0, 240}));
}

TEST_F(BlendTest, AlphaBlendRoundsTheExactCompositionOnce) {
  std::mt19937 random(20260311);
  std::uniform_int_distribution<int> byte(0, 255);
  TBitmap dest, source;
  Fill(dest, TPixelFormat::pf32bit, 64, 64, {});
  Fill(source, TPixelFormat::pf32bit, 64, 64, {});
  for (int32_t y = 0; y < 64; ++y) {
    for (int32_t x = 0; x < 64; ++x) {
      const auto sa = static_cast<uint8_t>(byte(random));
      const auto da = static_cast<uint8_t>(byte(random));
      Pixel s{}, d{};
      for (size_t c = 0; c < 3; ++c) {
        s[c] = static_cast<uint8_t>(byte(random) * sa / 255);
        d[c] = static_cast<uint8_t>(byte(random) * da / 255);
      }
      s[3] = sa, d[3] = da;
      Set(source, x, y, s);
      Set(dest, x, y, d);
    }
  }
  for (const int opacity : {255, 230, 128, 1}) {
    TBitmap result;
    result.Assign(dest);
    AlphaBlendBitmap(result, {0, 0, 64, 64}, source, {0, 0}, static_cast<uint8_t>(opacity));
    for (int32_t y = 0; y < 64; ++y) {
      for (int32_t x = 0; x < 64; ++x) {
        const Pixel s = At(source, x, y), d = At(dest, x, y), r = At(result, x, y);
        const double k = opacity / 255.0;
        for (size_t c = 0; c < 4; ++c) {
          const double exact = s[c] * k + d[c] * (1.0 - s[3] * k / 255.0);
          ASSERT_LE(std::fabs(r[c] - exact), 0.5)
              << "opacity " << opacity << " at " << x << "," << y;
        }
      }
    }
  }
}

// --- copies through canvases ----------------------------------------------------

// A mode other than the plain copy, left on a canvas by earlier drawing.
constexpr int32_t kXorCopy = 0x00660046;

TEST_F(BlendTest, CopyCanvasRectSizesTheBitmapAndLeavesTheCanvasInThePlainCopyMode) {
  TBitmap surface, copy;
  Fill(surface, TPixelFormat::pf32bit, 10, 10, {1, 1, 1, 1});
  Set(surface, 3, 4, {5, 6, 7, 8});
  surface.Canvas().SetCopyMode(kXorCopy);
  copy.SetPixelFormat(TPixelFormat::pf32bit);
  CopyCanvasRect(surface.Canvas(), copy, {2, 3, 6, 8});
  EXPECT_EQ(copy.Width(), 4);
  EXPECT_EQ(copy.Height(), 5);
  EXPECT_EQ(At(copy, 1, 1), (Pixel{5, 6, 7, 8}));
  EXPECT_EQ(surface.Canvas().CopyMode(), cmSrcCopy);
}

TEST_F(BlendTest, CopyBitmapToCanvasCarriesAlphaUnblendedWhateverModeTheCanvasWasIn) {
  TBitmap surface, picture;
  Fill(surface, TPixelFormat::pf32bit, 6, 6, {9, 9, 9, 255});
  Fill(picture, TPixelFormat::pf32bit, 4, 4, {0, 0, 0, 0});
  Set(picture, 2, 3, {10, 20, 30, 40});
  surface.Canvas().SetCopyMode(kXorCopy);
  CopyBitmapToCanvas(surface.Canvas(), {1, 1, 3, 3}, picture, {1, 2});
  EXPECT_EQ(At(surface, 2, 2), (Pixel{10, 20, 30, 40}));
  EXPECT_EQ(At(surface, 1, 1), (Pixel{0, 0, 0, 0}));  // transparent source pixels land as they are
  EXPECT_EQ(At(surface, 3, 3), (Pixel{9, 9, 9, 255}));
  EXPECT_EQ(surface.Canvas().CopyMode(), cmSrcCopy);
}

TEST_F(BlendTest, SoftBlendToCanvasBlendsOnlyTheRectangle) {
  TBitmap surface, source;
  Fill(surface, TPixelFormat::pf32bit, 4, 4, {100, 100, 100, 255});
  Fill(source, TPixelFormat::pf32bit, 2, 2, {200, 200, 200, 128});
  SoftBlendToCanvas(surface.Canvas(), {1, 1, 3, 3}, source, {0, 0}, 255);
  EXPECT_EQ(surface.PixelFormat(), TPixelFormat::pf32bit);
  // The area went through a 24-bit copy, so its alpha is gone.
  EXPECT_EQ(At(surface, 1, 1), (Pixel{150, 150, 150, 0}));
  EXPECT_EQ(At(surface, 0, 0), (Pixel{100, 100, 100, 255}));
  EXPECT_EQ(At(surface, 3, 3), (Pixel{100, 100, 100, 255}));
}

TEST_F(BlendTest, AlphaBlendToCanvasMatchesBlendingTheBitmapDirectly) {
  TBitmap surface, direct, source;
  Fill(surface, TPixelFormat::pf32bit, 5, 5, {60, 40, 20, 200});
  Fill(source, TPixelFormat::pf32bit, 3, 3, {50, 100, 150, 180});
  direct.Assign(surface);
  AlphaBlendToCanvas(surface.Canvas(), {1, 2, 4, 5}, source, {0, 0}, 230);
  AlphaBlendBitmap(direct, {1, 2, 4, 5}, source, {0, 0}, 230);
  for (int32_t y = 0; y < 5; ++y) {
    for (int32_t x = 0; x < 5; ++x) EXPECT_EQ(At(surface, x, y), At(direct, x, y)) << x << "," << y;
  }
}

}  // namespace
