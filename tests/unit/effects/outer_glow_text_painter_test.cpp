#include "effects/outer_glow_text_painter.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include "base/bitmap.h"
#include "null_platform.h"
#include "text_painting.h"

namespace {

using testing_support::At;
using testing_support::Bytes;
using testing_support::Fill;
using testing_support::Pixel;

constexpr Pixel kClear{0, 0, 0, 0};
constexpr Pixel kRed{0, 0, 255, 255};
constexpr Pixel kPaleYellow{191, 255, 255, 255};  // the default glow colour, full alpha

// Glyph cells are 6 x 10 with this font; the text is one glyph at the top left
// of its rectangle.
class OuterGlowTextPainterTest : public ::testing::Test {
 protected:
  void SetUp() override { Reset(target, 100, 30); }

  static void Reset(TBitmap& bitmap, int32_t width, int32_t height, Pixel value = kClear) {
    Fill(bitmap, width, height, value);
    bitmap.Canvas().Font().SetHeight(-10);
    bitmap.Canvas().Font().SetColor(clRed);
  }

  void Shape(int32_t radius, int32_t rx, int32_t ry) {
    painter->SetRadius(radius);
    painter->SetRadiationX(rx);
    painter->SetRadiationY(ry);
  }

  testing_support::NullPlatform platform;
  TBitmap target;
  ReleasingPtr<TOuterGlowTextPainter> painter = TOuterGlowTextPainter::Create();
};

TEST_F(OuterGlowTextPainterTest, WithoutRadiusOnlyTheTextIsDrawnShortenedByTheShift) {
  Shape(0, 4, 2);
  painter->PaintText(target, L"A", {10, 5, 90, 28}, 0, 0, false);
  ASSERT_EQ(platform.text.calls.size(), 1U);
  const auto& call = platform.text.calls[0];
  EXPECT_EQ((TRect{call.rect.left, call.rect.top, call.rect.right, call.rect.bottom}),
            (TRect{10, 5, 86, 26}));
  EXPECT_EQ(call.style.color, 0x0000FFU);  // the target's font colour, not the glow colour
  EXPECT_EQ(painter->Factory().CachedFilter(), nullptr);
}

TEST_F(OuterGlowTextPainterTest, TextSitsInsideTheRadiusAndTheHaloIsShifted) {
  Shape(2, 3, 1);
  painter->PaintText(target, L"A", {0, 0, 100, 30}, 0, 0, false);
  ASSERT_EQ(platform.text.calls.size(), 2U);
  // First the halo's white-on-black mask, which covers (3, 1, 100, 30) of the
  // target and holds the text 2 pixels in: (5, 3, 98, 28) in target terms.
  const auto& mask = platform.text.calls[0];
  EXPECT_EQ((TRect{mask.rect.left, mask.rect.top, mask.rect.right, mask.rect.bottom}),
            (TRect{2, 2, 95, 27}));
  EXPECT_EQ(mask.style.color, 0xFFFFFFU);
  // Then the text itself at (2, 2, 95, 27), the same 93 x 25 area unshifted.
  const auto& text = platform.text.calls[1];
  EXPECT_EQ((TRect{text.rect.left, text.rect.top, text.rect.right, text.rect.bottom}),
            (TRect{2, 2, 95, 27}));
  EXPECT_EQ(text.style.color, 0x0000FFU);
}

TEST_F(OuterGlowTextPainterTest, HaloAndTextLandWherePredicted) {
  Shape(2, 3, 1);
  painter->PaintText(target, L"A", {0, 0, 100, 30}, 0, 0, true);
  // Text glyph: x 2..7, y 2..11. Halo glyph: x 5..10, y 3..12, glowing 2 more.
  EXPECT_EQ(At(target, 2, 2), kRed);                          // text, left of the halo layer
  EXPECT_EQ(At(target, 4, 8), kRed);                          // text over glow
  EXPECT_EQ(At(target, 9, 8), kPaleYellow);                   // halo glyph, full glow
  EXPECT_EQ(At(target, 11, 8), (Pixel{161, 215, 215, 215}));  // 1 away: weight 216
  EXPECT_EQ(At(target, 12, 8), (Pixel{97, 130, 130, 130}));   // 2 away: weight 131
  EXPECT_EQ(At(target, 13, 8), kClear);                       // beyond the radius
  EXPECT_EQ(At(target, 8, 14), (Pixel{97, 130, 130, 130}));   // 2 below the halo glyph
  EXPECT_EQ(At(target, 1, 5), kClear);
  EXPECT_EQ(At(target, 8, 0), kClear);  // above the halo layer
}

TEST_F(OuterGlowTextPainterTest, HaloUsesColorAndOpacity) {
  Shape(1, 0, 0);
  painter->SetColor(0x00FF0000);  // blue
  painter->SetOpacity(128);
  painter->PaintText(target, L"A", {0, 0, 100, 30}, 0, 0, true);
  // Text x 1..6, y 1..10; at (7, 5) the halo alone: 255 * 128 / 255 weight
  // trunc(256 * 0.502 * 0.779) = 100 gives glow 99.
  EXPECT_EQ(At(target, 7, 5), (Pixel{99, 0, 0, 99}));
  EXPECT_EQ(At(target, 3, 5), kRed);
}

TEST_F(OuterGlowTextPainterTest, EmptyTextLeavesEveryAlphaAtZero) {
  Shape(3, 2, 2);
  for (int32_t asLayer : {0, 1}) {
    for (bool premultiplied : {true, false}) {
      Reset(target, 100, 30);
      painter->PaintText(target, L"", {0, 0, 100, 30}, 0, asLayer, premultiplied);
      for (int32_t y = 0; y < target.Height(); ++y) {
        for (int32_t x = 0; x < target.Width(); ++x)
          ASSERT_EQ(At(target, x, y)[3], 0) << x << ", " << y;
      }
    }
  }
}

TEST_F(OuterGlowTextPainterTest, FontColourIsRestoredAfterEveryPaint) {
  Shape(2, 1, 1);
  target.Canvas().Font().SetColor(clGrayText);
  for (int32_t asLayer : {0, 1}) {
    for (bool premultiplied : {true, false}) {
      Reset(target, 100, 30);
      target.Canvas().Font().SetColor(clGrayText);
      painter->PaintText(target, L"A", {0, 0, 100, 30}, 0, asLayer, premultiplied);
      painter->PaintText(target, "A", {0, 0, 100, 30}, 0, asLayer, premultiplied);
      painter->PaintText(target.Canvas(), L"A", {0, 0, 100, 30}, 0, asLayer, premultiplied);
      painter->PaintText(target.Canvas(), "A", {0, 0, 100, 30}, 0, asLayer, premultiplied);
      EXPECT_EQ(target.Canvas().Font().Color(), clGrayText) << asLayer << premultiplied;
    }
  }
}

TEST_F(OuterGlowTextPainterTest, StraightCompositionGoesThroughTheSoftBlend) {
  Shape(1, 0, 0);
  Reset(target, 100, 30, {0, 0, 0, 255});
  painter->PaintText(target, L"A", {0, 0, 100, 30}, 0, 0, false);
  // The software blend works on 24 bits and takes the halo as straight colour.
  EXPECT_EQ(target.PixelFormat(), TPixelFormat::pf24bit);
  EXPECT_EQ(At(target, 7, 5), (Pixel{148, 198, 198, 0}));  // 191 * 198 / 255, 255 * 198 / 255
  EXPECT_EQ(At(target, 3, 5), (Pixel{0, 0, 255, 0}));
}

// --- radius edge cases ----------------------------------------------------------

TEST_F(OuterGlowTextPainterTest, NegativeRadiusDrawsAsRadiusZero) {
  for (int32_t radius : {-5, INT32_MIN}) {
    platform.text.calls.clear();
    Shape(radius, 4, 2);
    painter->PaintText(target, L"A", {0, 0, 100, 30}, 0, 0, false);
    ASSERT_EQ(platform.text.calls.size(), 1U);
    EXPECT_EQ(platform.text.calls[0].rect.right, 96);
    EXPECT_EQ(platform.text.calls[0].rect.bottom, 28);
  }
  EXPECT_EQ(painter->Factory().CachedFilter(), nullptr);
}

// Radius 7 leaves a 20 x 14 rectangle no line for the text: no text is drawn
// and the halo is clear, but it is still laid over or put in place.
TEST_F(OuterGlowTextPainterTest, WithoutRoomForTheTextTheClearHaloIsStillLaidOver) {
  constexpr Pixel kNine{9, 9, 9, 9};
  const auto expectEvery = [](const TBitmap& bitmap, Pixel value, const char* what) {
    for (int32_t y = 0; y < bitmap.Height(); ++y) {
      for (int32_t x = 0; x < bitmap.Width(); ++x)
        ASSERT_EQ(At(bitmap, x, y), value) << what << " at " << x << ", " << y;
    }
  };
  auto halo = TRadiateTextPainter::Create();
  for (int32_t radius : {7, 1000, INT32_MAX}) {
    Shape(radius, 0, 0);
    halo->SetRadius(radius);
    Reset(target, 20, 14, kNine);
    painter->PaintText(target, L"A", {0, 0, 20, 14}, 0, 0, true);
    painter->PaintText(target.Canvas(), L"A", {0, 0, 20, 14}, 0, 0, true);
    expectEvery(target, kNine, "premultiplied");
    // Layer mode replaces the rectangle with the clear composition...
    painter->PaintText(target, L"A", {0, 0, 20, 14}, 0, 1, true);
    expectEvery(target, kClear, "layer");
    Reset(target, 20, 14, kNine);
    painter->PaintText(target.Canvas(), L"A", {0, 0, 20, 14}, 0, 1, false);
    expectEvery(target, kClear, "layer on a canvas");
    // ...and the halo painter's layer with the clear glow in the font colour.
    Reset(target, 20, 14, kNine);
    halo->PaintText(target, L"A", {0, 0, 20, 14}, 0, 1, true);
    expectEvery(target, kClear, "halo layer");
    Reset(target, 20, 14, kNine);
    halo->PaintText(target, L"A", {0, 0, 20, 14}, 0, 1, false);
    expectEvery(target, (Pixel{0, 0, 255, 0}), "straight halo layer");
    // The software blend turns a bitmap 24-bit, and a canvas area goes through
    // a 24-bit copy, so its alpha is lost; the colours stay.
    Reset(target, 20, 14, kNine);
    painter->PaintText(target, L"A", {0, 0, 20, 14}, 0, 0, false);
    EXPECT_EQ(target.PixelFormat(), TPixelFormat::pf24bit);
    expectEvery(target, (Pixel{9, 9, 9, 0}), "straight");
    Reset(target, 20, 14, kNine);
    painter->PaintText(target.Canvas(), L"A", {0, 0, 20, 14}, 0, 0, false);
    EXPECT_EQ(target.PixelFormat(), TPixelFormat::pf32bit);
    expectEvery(target, (Pixel{9, 9, 9, 0}), "straight on a canvas");
  }
  EXPECT_TRUE(platform.text.calls.empty());
  EXPECT_EQ(painter->Factory().CachedFilter(), nullptr);
  // Radius 6 leaves a 2-pixel line: the text is drawn and glows.
  Shape(6, 0, 0);
  Reset(target, 20, 14, kNine);
  painter->PaintText(target, L"A", {0, 0, 20, 14}, 0, 0, true);
  EXPECT_FALSE(platform.text.calls.empty());
  EXPECT_NE(painter->Factory().CachedFilter(), nullptr);
}

// Drawing the text makes a canvas's background transparent (a plain draw) or
// leaves it in the plain copy mode (a blend through the canvas); with no room
// for the text, or none of it inside the target, the canvas is left the same.
TEST_F(OuterGlowTextPainterTest, WithoutRoomForTheTextTheCanvasIsLeftAsTheTextLeavesIt) {
  constexpr int32_t kXorCopy = 0x00660046;
  Shape(7, 0, 0);
  auto halo = TRadiateTextPainter::Create();
  halo->SetRadius(7);
  TTextPainter plain;
  TCanvas& canvas = target.Canvas();
  struct Case {
    const char* what;
    std::function<void()> paint;
    TBackgroundMode mode;
    int32_t copyMode;
    TColor brush;
  };
  const TRect noRoom{0, 0, 20, 14};
  const Case cases[] = {
      {"straight", [&] { painter->PaintText(target, L"A", noRoom, 0, 0, false); },
       TBackgroundMode::Transparent, kXorCopy, clWhite},
      {"straight on a canvas", [&] { painter->PaintText(canvas, L"A", noRoom, 0, 0, false); },
       TBackgroundMode::Transparent, cmSrcCopy, clWhite},
      {"premultiplied on a canvas", [&] { painter->PaintText(canvas, L"A", noRoom, 0, 0, true); },
       TBackgroundMode::Opaque, cmSrcCopy, clWhite},
      {"outside the canvas",
       [&] {
         plain.PaintText(canvas, L"A", {40, 0, 60, 9}, 0, 0, true);
       },
       TBackgroundMode::Opaque, cmSrcCopy, clWhite},
      {"halo layer", [&] { halo->PaintText(target, L"A", noRoom, 0, 1, true); },
       TBackgroundMode::Transparent, kXorCopy, clRed},
      {"empty halo layer",
       [&] {
         halo->PaintText(target, L"A", {5, 5, 5, 5}, 0, 1, true);
       },
       TBackgroundMode::Transparent, kXorCopy, clRed},
      {"text layer outside",
       [&] {
         plain.PaintText(target, L"A", {40, 0, 60, 9}, 0, 1, true);
       },
       TBackgroundMode::Opaque, kXorCopy, clRed},
  };
  for (const Case& c : cases) {
    Reset(target, 20, 14);
    canvas.SetBackgroundMode(TBackgroundMode::Opaque);
    canvas.SetCopyMode(kXorCopy);
    canvas.Brush().SetColor(clWhite);
    c.paint();
    EXPECT_EQ(canvas.BackgroundMode(), c.mode) << c.what;
    EXPECT_EQ(canvas.CopyMode(), c.copyMode) << c.what;
    EXPECT_EQ(canvas.Brush().Color(), c.brush) << c.what;
  }
  EXPECT_TRUE(platform.text.calls.empty());
}

TEST_F(OuterGlowTextPainterTest, ExtremeRectanglesDoNotOverflow) {
  Shape(3, INT32_MIN, INT32_MAX);
  painter->PaintText(target, L"A", {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, 0, 0, false);
  Shape(2, 0, 0);
  painter->PaintText(target, L"A", {INT32_MAX - 50, 0, INT32_MAX, 30}, 0, 0, true);
  painter->PaintText(target.Canvas(), L"A", {INT32_MIN, 0, INT32_MIN + 50, 30}, 0, 1, true);
  EXPECT_EQ(At(target, 50, 15), kClear);
}

TEST_F(OuterGlowTextPainterTest, ARectangleOverTheEdgeShowsItsPartOfTheWholePicture) {
  struct Case {
    TRect rect;
    int32_t format;
    int32_t rx;
  };
  // Centred text cut by the corner; and text ending two pixels left of the
  // target, so that the first column glows only from pixels outside it.
  for (const Case& c : {Case{{-20, -10, 20, 25}, 0x25, 1}, Case{{-21, 0, 40, 30}, 0, 0}}) {
    Shape(2, c.rx, 1);
    Reset(target, 100, 30);
    painter->PaintText(target, L"ABC", c.rect, c.format, 0, true);
    TBitmap whole;
    Reset(whole, 200, 100);
    painter->PaintText(whole, L"ABC",
                       {c.rect.Left + 100, c.rect.Top + 50, c.rect.Right + 100, c.rect.Bottom + 50},
                       c.format, 0, true);
    int lit = 0;
    for (int32_t y = 0; y < 30; ++y) {
      for (int32_t x = 0; x < 100; ++x) {
        ASSERT_EQ(At(target, x, y), At(whole, 100 + x, 50 + y)) << x << ", " << y;
        lit += At(target, x, y)[3] != 0;
      }
    }
    EXPECT_GT(lit, 9);
  }
  EXPECT_EQ(At(target, 0, 5), (Pixel{97, 130, 130, 130}));
}

// --- measuring ------------------------------------------------------------------

TEST_F(OuterGlowTextPainterTest, MeasureGrowsByTheHaloAndTheShift) {
  testing_support::FixedExtentRasterizer fixed(50, 16);
  testing_support::ScopedTextRasterizer use(fixed);
  Shape(4, 2, 3);
  TRect rect{10, 20, 10, 20};
  painter->MeasureText(target.Canvas(), L"caption", rect, 0x10);
  EXPECT_EQ(rect, (TRect{10, 20, 70, 47}));  // 50 + 8 + 2 by 16 + 8 + 3
  EXPECT_EQ(fixed.lastLayout, (platform::TextLayout{.wordWrap = true, .measureOnly = true}));
  rect = {0, 0, 0, 0};
  painter->MeasureText(target.Canvas(), "caption", rect, 0);
  EXPECT_EQ(rect, (TRect{0, 0, 60, 27}));
}

TEST_F(OuterGlowTextPainterTest, AZeroWidthMeasureIsNotGrown) {
  Shape(4, 2, 3);
  TRect rect{5, 5, 50, 50};
  painter->MeasureText(target.Canvas(), L"", rect, 0x20);  // one line tall, no width
  EXPECT_EQ(rect, (TRect{5, 5, 5, 15}));
  rect = {5, 5, 50, 50};
  painter->MeasureText(target.Canvas(), "", rect, 0x10);
  EXPECT_EQ(rect, (TRect{5, 5, 5, 5}));
}

TEST_F(OuterGlowTextPainterTest, NegativeRadiusMeasuresAsZero) {
  testing_support::FixedExtentRasterizer fixed(50, 16);
  testing_support::ScopedTextRasterizer use(fixed);
  Shape(static_cast<int32_t>(0x80000000U), 0, 0);
  TRect rect{0, 0, 0, 0};
  painter->MeasureText(target.Canvas(), L"x", rect, 0);
  EXPECT_EQ(rect, (TRect{0, 0, 50, 16}));
}

TEST_F(OuterGlowTextPainterTest, MeasureSaturatesInsteadOfOverflowing) {
  testing_support::FixedExtentRasterizer fixed(50, 16);
  testing_support::ScopedTextRasterizer use(fixed);
  Shape(INT32_MAX, INT32_MAX, INT32_MAX);
  TRect rect{INT32_MAX - 60, 0, 0, 0};
  painter->MeasureText(target.Canvas(), L"x", rect, 0);
  EXPECT_EQ(rect.Right, INT32_MAX);
  EXPECT_EQ(rect.Bottom, INT32_MAX);
  Shape(0, INT32_MIN, INT32_MIN);
  rect = {INT32_MIN + 10, INT32_MIN + 10, 0, 0};
  painter->MeasureText(target.Canvas(), L"x", rect, 0);
  EXPECT_EQ(rect.Right, INT32_MIN);
}

// --- layer mode -----------------------------------------------------------------

TEST_F(OuterGlowTextPainterTest, LayerOnAClearTargetMatchesTheComposedText) {
  Shape(2, 3, 1);
  painter->PaintText(target, L"AB", {0, 0, 100, 30}, 0, 0, true);
  TBitmap layered;
  Reset(layered, 100, 30);
  painter->PaintText(layered, L"AB", {0, 0, 100, 30}, 0, 1, true);
  EXPECT_EQ(Bytes(layered), Bytes(target));
}

TEST_F(OuterGlowTextPainterTest, LayerReplacesTheRectangleWithTextOverGlow) {
  Shape(2, 3, 1);
  Reset(target, 100, 30, {40, 50, 60, 255});
  painter->PaintText(target, L"A", {10, 5, 90, 28}, 0, 1, false);
  EXPECT_EQ(At(target, 9, 10), (Pixel{40, 50, 60, 255}));     // outside the rectangle
  EXPECT_EQ(At(target, 10, 5), kClear);                       // inside, neither text nor glow
  EXPECT_EQ(At(target, 12, 7), kRed);                         // text at (2, 2) inside
  EXPECT_EQ(At(target, 14, 13), kRed);                        // text over glow
  EXPECT_EQ(At(target, 19, 13), kPaleYellow);                 // glow glyph at (5, 3) inside
  EXPECT_EQ(At(target, 22, 13), (Pixel{97, 130, 130, 130}));  // glow two pixels out, premultiplied
  EXPECT_EQ(At(target, 60, 20), kClear);
}

TEST_F(OuterGlowTextPainterTest, LayerIsTheSameOnACanvasAndWhateverPremultipliedSays) {
  Shape(2, -2, 1);
  TBitmap onBitmap, onCanvas;
  Reset(onBitmap, 60, 30, {1, 2, 3, 4});
  Reset(onCanvas, 60, 30, {1, 2, 3, 4});
  painter->PaintText(onBitmap, "AB", {5, 3, 55, 28}, 0x20, 1, true);
  painter->PaintText(onCanvas.Canvas(), "AB", {5, 3, 55, 28}, 0x20, 1, false);
  EXPECT_EQ(Bytes(onBitmap), Bytes(onCanvas));
}

TEST_F(OuterGlowTextPainterTest, LayerWithoutRadiusHoldsOnlyTheShortenedText) {
  Shape(0, 30, 20);
  Reset(target, 100, 30, {40, 50, 60, 255});
  painter->PaintText(target, L"A", {0, 0, 100, 30}, 0x24 | 0x1, 1, true);
  ASSERT_EQ(platform.text.calls.size(), 1U);
  EXPECT_EQ(platform.text.calls[0].rect.right, 70);
  EXPECT_EQ(platform.text.calls[0].rect.bottom, 10);
  // Centred in 70 x 10: x 32..37.
  EXPECT_EQ(At(target, 32, 0), kRed);
  EXPECT_EQ(At(target, 31, 0), kClear);
  EXPECT_EQ(At(target, 80, 25), kClear);
}

// --- the halo painter on its own ------------------------------------------------

TEST_F(OuterGlowTextPainterTest, TheHaloPainterDrawsOnlyTheHaloInTheFontColour) {
  auto halo = TRadiateTextPainter::Create();
  halo->SetRadius(1);
  halo->PaintText(target, L"A", {0, 0, 100, 30}, 0, 0, true);
  // Text area (1, 1, 99, 29): the glyph's own pixels glow at full strength.
  EXPECT_EQ(At(target, 3, 5), kRed);
  EXPECT_EQ(At(target, 7, 5), (Pixel{0, 0, 198, 198}));
  EXPECT_EQ(At(target, 0, 0), (Pixel{0, 0, 154, 154}));
  TRect rect{0, 0, 0, 0};
  halo->MeasureText(target.Canvas(), L"A", rect, 0);
  EXPECT_EQ(rect, (TRect{0, 0, 8, 12}));

  // Layer mode in the target itself: black fill, glow as alpha, font colour kept.
  Reset(target, 20, 14, {9, 9, 9, 9});
  halo->PaintText(target, L"A", {0, 0, 20, 14}, 0, 1, false);
  EXPECT_EQ(At(target, 7, 5), (Pixel{0, 0, 255, 198}));
  EXPECT_EQ(At(target, 15, 5), (Pixel{0, 0, 255, 0}));
  EXPECT_EQ(target.Canvas().Font().Color(), clRed);
}

}  // namespace
