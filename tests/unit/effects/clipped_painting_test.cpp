// The painters make their temporary bitmaps only for what can show in the
// target. Every pixel must come out as with temporaries of the caller's whole
// rectangle (compared on rectangles small enough to afford that), and no
// rectangle, radius or shift may make a paint allocate beyond a few times the
// target or throw.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "base/bitmap.h"
#include "effects/filter.h"
#include "effects/outer_glow_text_painter.h"
#include "effects/scratch_area.h"
#include "null_platform.h"
#include "text_painting.h"
#include "unclipped_painting.h"

namespace {

namespace unclipped = testing_support::unclipped;
using testing_support::At;
using testing_support::Bytes;
using testing_support::Pixel;
using testing_support::Set;

constexpr int32_t kCentredLine = 0x25;      // centre, vertical centre, single line
constexpr int32_t kBottomRightLine = 0x2A;  // right, bottom, single line
constexpr int32_t kCentredWrapped = 0x11;   // centre, word break
constexpr int32_t kTopLeft = 0;

// A target whose every pixel differs, so that any blend or copy in the wrong
// place shows; glyph cells are 6 x 10, the font red.
void Prepare(TBitmap& bitmap, int32_t width, int32_t height) {
  bitmap.SetPixelFormat(TPixelFormat::pf32bit);
  bitmap.SetSize(width, height);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      Set(bitmap, x, y,
          {static_cast<uint8_t>(x * 7), static_cast<uint8_t>(y * 13),
           static_cast<uint8_t>((x + y) * 5), static_cast<uint8_t>(120 + (x * 3 + y) % 130)});
    }
  }
  bitmap.Canvas().Font().SetHeight(-10);
  bitmap.Canvas().Font().SetColor(clRed);
}

// Paints one bitmap with `paint` and another with `expect`, both prepared
// alike, and requires the same bytes and pixel format.
template <typename Paint, typename Expect>
void ExpectSame(int32_t width, int32_t height, Paint paint, Expect expect,
                const std::string& what) {
  TBitmap painted, expected;
  Prepare(painted, width, height);
  Prepare(expected, width, height);
  paint(painted);
  expect(expected);
  ASSERT_EQ(painted.PixelFormat(), expected.PixelFormat()) << what;
  ASSERT_EQ(Bytes(painted), Bytes(expected)) << what;
  EXPECT_EQ(painted.Canvas().Font().Color(), expected.Canvas().Font().Color()) << what;
}

std::string Describe(const TRect& rect, int32_t format, int32_t radius, int32_t asLayer,
                     bool premultiplied, bool onCanvas) {
  return "rect (" + std::to_string(rect.Left) + ", " + std::to_string(rect.Top) + ", " +
         std::to_string(rect.Right) + ", " + std::to_string(rect.Bottom) + ") format " +
         std::to_string(format) + " radius " + std::to_string(radius) + " layer " +
         std::to_string(asLayer) + (premultiplied ? " premultiplied" : " straight") +
         (onCanvas ? " canvas" : " bitmap");
}

class ClippedPaintingTest : public ::testing::Test {
 protected:
  testing_support::NullPlatform platform;
  ReleasingPtr<TOuterGlowTextPainter> painter = TOuterGlowTextPainter::Create();
};

// --- the same pixels as with whole-rectangle temporaries ---------------------------

// A 60 x 24 target: rectangles equal to it, a few pixels larger, across its
// edges and partly outside.
const TRect kNearRects[] = {{0, 0, 60, 24}, {-3, -3, 63, 27}, {-17, -8, 40, 20}, {25, 6, 90, 41}};
const int32_t kFormats[] = {kTopLeft, kCentredLine, kBottomRightLine};

TEST_F(ClippedPaintingTest, TheTextPainterDrawsAsWithAWholeRectangleLayer) {
  TTextPainter text;
  for (const TRect& rect : kNearRects) {
    for (int32_t format : kFormats) {
      for (int32_t asLayer : {0, 1}) {
        for (bool premultiplied : {true, false}) {
          ExpectSame(
              60, 24,
              [&](TBitmap& t) { text.PaintText(t, L"AB C", rect, format, asLayer, premultiplied); },
              [&](TBitmap& t) {
                unclipped::Text(t, L"AB C", rect, format, asLayer, premultiplied);
              },
              Describe(rect, format, 0, asLayer, premultiplied, false));
          ExpectSame(
              60, 24,
              [&](TBitmap& t) {
                text.PaintText(t.Canvas(), "AB C", rect, format, asLayer, premultiplied);
              },
              [&](TBitmap& t) {
                unclipped::Text(t.Canvas(), "AB C", rect, format, asLayer, premultiplied);
              },
              Describe(rect, format, 0, asLayer, premultiplied, true));
        }
      }
    }
  }
}

TEST_F(ClippedPaintingTest, TheHaloPainterDrawsAsWithAWholeRectangleMask) {
  auto halo = TRadiateTextPainter::Create();
  halo->SetSpread(60);
  for (const TRect& rect : kNearRects) {
    // Radius 12 leaves some of the rectangles no room for the text.
    for (int32_t radius : {1, 3, 12}) {
      halo->SetRadius(radius);
      for (int32_t asLayer : {0, 1}) {
        for (bool premultiplied : {true, false}) {
          const std::string what =
              Describe(rect, kCentredLine, radius, asLayer, premultiplied, false);
          ExpectSame(
              60, 24,
              [&](TBitmap& t) {
                halo->PaintText(t, L"AB C", rect, kCentredLine, asLayer, premultiplied);
              },
              [&](TBitmap& t) {
                unclipped::Halo(*halo, t, L"AB C", rect, kCentredLine, asLayer, premultiplied);
              },
              what);
          ExpectSame(
              60, 24,
              [&](TBitmap& t) {
                halo->PaintText(t.Canvas(), L"AB C", rect, kCentredLine, asLayer, premultiplied);
              },
              [&](TBitmap& t) {
                unclipped::Halo(*halo, t.Canvas(), L"AB C", rect, kCentredLine, asLayer,
                                premultiplied);
              },
              what + " canvas");
        }
      }
    }
  }
}

TEST_F(ClippedPaintingTest, TheOuterGlowDrawsAsWithWholeRectanglesForModerateShifts) {
  struct Shift {
    int32_t x, y;
  };
  painter->SetSpread(90);
  for (const TRect& rect : kNearRects) {
    for (int32_t format : kFormats) {
      for (int32_t radius : {0, 2}) {
        // The last shift leaves radius 2 no room for the text in most rectangles.
        for (const Shift shift :
             {Shift{0, 0}, Shift{3, -2}, Shift{-30, -12}, Shift{-70, 5}, Shift{20, 20}}) {
          painter->SetRadius(radius);
          painter->SetRadiationX(shift.x);
          painter->SetRadiationY(shift.y);
          for (bool premultiplied : {true, false}) {
            const std::string what = Describe(rect, format, radius, 0, premultiplied, false) +
                                     " shift " + std::to_string(shift.x) + ", " +
                                     std::to_string(shift.y);
            ExpectSame(
                60, 24,
                [&](TBitmap& t) { painter->PaintText(t, L"AB C", rect, format, 0, premultiplied); },
                [&](TBitmap& t) {
                  unclipped::OuterGlow(*painter, t, L"AB C", rect, format, premultiplied);
                },
                what);
            ExpectSame(
                60, 24,
                [&](TBitmap& t) {
                  painter->PaintText(t.Canvas(), "AB C", rect, format, 0, premultiplied);
                },
                [&](TBitmap& t) {
                  unclipped::OuterGlow(*painter, t.Canvas(), "AB C", rect, format, premultiplied);
                },
                what + " canvas");
            // Layer mode, on either kind of target.
            ExpectSame(
                60, 24,
                [&](TBitmap& t) { painter->PaintText(t, L"AB C", rect, format, 1, premultiplied); },
                [&](TBitmap& t) {
                  unclipped::OuterGlowLayer(*painter, t.Canvas(), L"AB C", rect, format);
                },
                what + " layer");
          }
        }
      }
    }
  }
}

// Halos whose kernel or reach is far larger than a 20 x 12 target: the far
// text is rendered only where it can be (placed by measuring it when the text
// rectangle around the target is large), and the weights are worked out per
// offset. Still small enough for whole-rectangle masks.
TEST_F(ClippedPaintingTest, FarAndWideHalosMatchWholeRectangleMasks) {
  struct Case {
    TRect rect;
    int32_t radius;
    int32_t format;
    const wchar_t* text;
    bool measured;
  };
  const Case cases[] = {
      // Kernel beyond the budget, text over the target.
      {{-70, -70, 90, 82}, 70, kCentredLine, L"AB", false},
      // Text left of the target, reaching it only through the kernel's core.
      {{-130, -70, 50, 82}, 70, kTopLeft, L"AB", false},
      // Text rectangles far larger than the target.
      {{-200, -200, 220, 212}, 70, kCentredLine, L"ABC", true},
      {{-200, -200, 220, 212}, 70, kCentredWrapped, L"AB\nCDEF\nG", true},
      {{-130, -130, 400, 400}, 130, kTopLeft, L"ABCD", true},
      {{-330, -330, 150, 142}, 130, kBottomRightLine, L"ABC", true},
  };
  ReleasingPtr<TRadiateTextPainter> halo = TRadiateTextPainter::Create();
  // A painter's own paint: no kernel built (none is ever cached), and a
  // measurement exactly when expected.
  const auto paint = [&](const Case& c, TRadiateTextPainter& by, auto&& draw) {
    platform.text.calls.clear();
    draw();
    EXPECT_EQ(by.Factory().CachedFilter(), nullptr);
    const bool measured = std::any_of(platform.text.calls.begin(), platform.text.calls.end(),
                                      [](const auto& call) { return call.layout.measureOnly; });
    EXPECT_EQ(measured, c.measured) << c.text;
  };
  for (const Case& c : cases) {
    painter->SetRadius(c.radius);
    halo->SetRadius(c.radius);
    for (uint8_t spread : {0, 255}) {
      halo->SetSpread(spread);
      for (bool premultiplied : {true, false}) {
        const std::string what = Describe(c.rect, c.format, c.radius, 0, premultiplied, false) +
                                 " spread " + std::to_string(spread);
        ExpectSame(
            20, 12,
            [&](TBitmap& t) {
              paint(c, *halo,
                    [&] { halo->PaintText(t, c.text, c.rect, c.format, 0, premultiplied); });
            },
            [&](TBitmap& t) {
              unclipped::Halo(*halo, t, c.text, c.rect, c.format, 0, premultiplied);
            },
            what);
      }
    }
    // In the target itself (the glow spreads only within the target there),
    // and as the glow of a layer.
    ExpectSame(
        20, 12, [&](TBitmap& t) { halo->PaintText(t, c.text, c.rect, c.format, 1, true); },
        [&](TBitmap& t) { unclipped::Halo(*halo, t, c.text, c.rect, c.format, 1, true); },
        "in place");
    painter->SetRadiationX(-7);
    ExpectSame(
        20, 12,
        [&](TBitmap& t) {
          paint(c, *painter,
                [&] { painter->PaintText(t.Canvas(), c.text, c.rect, c.format, 1, true); });
        },
        [&](TBitmap& t) {
          unclipped::OuterGlowLayer(*painter, t.Canvas(), c.text, c.rect, c.format);
        },
        "layer");
    painter->SetRadiationX(0);
  }
}

// --- any settings: bounded temporaries, nothing thrown ------------------------------

class ExtremePaintingTest : public ClippedPaintingTest {
 protected:
  // Paints every way there is and requires that no picture text went into
  // and no kernel went beyond the budget of the 100 x 30 target.
  void PaintEveryWay(const TRect& rect, const std::string& what) {
    for (int32_t asLayer : {0, 1}) {
      for (bool premultiplied : {true, false}) {
        TBitmap target;
        Prepare(target, 100, 30);
        ASSERT_NO_THROW(
            painter->PaintText(target, L"Caption", rect, kCentredLine, asLayer, premultiplied))
            << what;
        ASSERT_NO_THROW(
            painter->PaintText(target, "Caption", rect, kTopLeft, asLayer, premultiplied))
            << what;
        Prepare(target, 100, 30);
        ASSERT_NO_THROW(painter->PaintText(target.Canvas(), L"Caption", rect, kCentredWrapped,
                                           asLayer, premultiplied))
            << what;
        ASSERT_NO_THROW(painter->PaintText(target.Canvas(), "Caption", rect, kBottomRightLine,
                                           asLayer, premultiplied))
            << what;
        EXPECT_EQ(target.Canvas().Font().Color(), clRed) << what;
      }
    }
    EXPECT_LE(noting.largest, ScratchBudget(100, 30)) << what;
    const auto* kernel =
        dynamic_cast<const NeighborWeightedFilter*>(painter->Factory().CachedFilter());
    if (kernel != nullptr) {
      EXPECT_LE(int64_t{kernel->Kernel().Columns()} * kernel->Kernel().Rows(),
                ScratchBudget(100, 30))
          << what;
    }
  }

  void Shape(int32_t radius, int32_t rx, int32_t ry) {
    painter->SetRadius(radius);
    painter->SetRadiationX(rx);
    painter->SetRadiationY(ry);
  }

  testing_support::LargestTargetRasterizer noting{platform.text};
  testing_support::ScopedTextRasterizer useNoting{noting};
};

TEST_F(ExtremePaintingTest, ShiftsOfAnySizeStayWithinTheTarget) {
  for (int32_t shift : {INT32_MIN, -12000, 12000, INT32_MAX}) {
    for (int32_t radius : {0, 2, 40}) {
      Shape(radius, shift, shift);
      PaintEveryWay({0, 0, 100, 30},
                    "shift " + std::to_string(shift) + " radius " + std::to_string(radius));
      Shape(radius, shift, 0);
      PaintEveryWay({0, 0, 100, 30}, "x shift " + std::to_string(shift));
      Shape(radius, 0, shift);
      PaintEveryWay({-5, -5, 105, 35}, "y shift " + std::to_string(shift));
    }
  }
}

TEST_F(ExtremePaintingTest, HugeRectanglesAndRadiiStayWithinTheTarget) {
  const TRect rects[] = {{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX},
                         {-3000, -3000, 3100, 3030},
                         {-1000000, -20, 1000100, 50},
                         {INT32_MIN, INT32_MIN, 0, 0},
                         {100, 30, INT32_MAX, INT32_MAX}};
  for (const TRect& rect : rects) {
    for (int32_t radius : {0, 3, 2900, INT32_MAX}) {
      for (uint8_t spread : {0, 255}) {
        Shape(radius, -4, 3);
        painter->SetSpread(spread);
        PaintEveryWay(
            rect, Describe(rect, 0, radius, 0, true, false) + " spread " + std::to_string(spread));
      }
    }
  }
}

TEST_F(ExtremePaintingTest, AHugeRectangleStillShowsItsCentredTextAndHalo) {
  // Margins of -3000 around a 100 x 30 target with radius 2900: the text
  // rectangle is (-100, -100, 200, 130) and "Caption" sits centred in it at
  // x 29..70, y 10..19, inside the target.
  Shape(2900, 0, 0);
  TBitmap target;
  Prepare(target, 100, 30);
  painter->PaintText(target, L"Caption", {-3000, -3000, 3100, 3030}, kCentredLine, 0, true);
  EXPECT_EQ(At(target, 30, 12), (Pixel{0, 0, 255, 255}));
  EXPECT_EQ(At(target, 70, 19), (Pixel{0, 0, 255, 255}));
  // Next to the text the pale yellow halo at almost full strength.
  const Pixel beside = At(target, 27, 12);
  EXPECT_GE(beside[3], 250);
  EXPECT_GE(beside[2], 250);
  EXPECT_LT(beside[0], 200);
  // The largest temporary is the text layer: the target's part of the text
  // rectangle, reaching back to its corner (-100, -100) so that the text is
  // placed as in a layer of the whole rectangle.
  EXPECT_EQ(noting.largest, (100 + 100) * (30 + 100));
  EXPECT_EQ(painter->Factory().CachedFilter(), nullptr);
}

TEST_F(ExtremePaintingTest, AFarTextTooLargeToRenderGetsNoHalo) {
  // Ten thousand lines of 60-pixel glyphs next to the target: the text
  // alone would need a mask far beyond any budget.
  std::wstring tall;
  for (int i = 0; i < 10000; ++i) tall += L"W\n";
  ReleasingPtr<TRadiateTextPainter> halo = TRadiateTextPainter::Create();
  halo->SetRadius(600000);
  halo->SetSpread(255);
  TBitmap target;
  Prepare(target, 100, 30);
  target.Canvas().Font().SetHeight(-60);
  const std::vector<uint8_t> before = Bytes(target);
  ASSERT_NO_THROW(halo->PaintText(target, tall.c_str(), {-1000000, -1000000, 1000100, 1000030},
                                  kTopLeft, 0, true));
  EXPECT_EQ(Bytes(target), before);
  EXPECT_LE(noting.largest, ScratchBudget(100, 30));
}

}  // namespace
