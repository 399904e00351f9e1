#include "effects/text_painter.h"

#include <gtest/gtest.h>

#include "base/bitmap.h"
#include "effects/text_layer.h"
#include "null_platform.h"
#include "same_font.h"
#include "text_painting.h"

namespace {

using testing_support::At;
using testing_support::Fill;
using testing_support::Pixel;

constexpr Pixel kClear{0, 0, 0, 0};
constexpr Pixel kRed{0, 0, 255, 255};

// Glyph cells are 6 x 10 with this font: "AB" at the top left covers x 0..11, y 0..9.
class TextPainterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Fill(target, 40, 20, kClear);
    target.Canvas().Font().SetHeight(-10);
    target.Canvas().Font().SetColor(clRed);
  }

  testing_support::NullPlatform platform;
  TBitmap target;
  TTextPainter painter;
};

TEST_F(TextPainterTest, PlainTextGoesStraightToTheTargetWithoutBackground) {
  painter.PaintText(target, L"AB", {3, 4, 30, 18}, 0, 0, false);
  ASSERT_EQ(platform.text.calls.size(), 1U);
  const auto& call = platform.text.calls[0];
  EXPECT_TRUE(call.wide);
  EXPECT_EQ(call.text, L"AB");
  EXPECT_EQ(call.rect.left, 3);
  EXPECT_EQ(call.rect.bottom, 18);
  EXPECT_EQ(call.layout, platform::TextLayout{});
  EXPECT_TRUE(call.style.transparent);
  EXPECT_EQ(call.style.color, 0x0000FFU);
  EXPECT_EQ(target.Canvas().BackgroundMode(), TBackgroundMode::Transparent);
  EXPECT_EQ(At(target, 3, 4)[2], 255);
}

TEST_F(TextPainterTest, NarrowTextGoesThroughTheNarrowCall) {
  painter.PaintText(target, "AB", {0, 0, 40, 20}, 0, 0, false);
  TRect rect{0, 0, 40, 20};
  painter.MeasureText(target.Canvas(), "ABC", rect, 0);
  ASSERT_EQ(platform.text.calls.size(), 2U);
  EXPECT_FALSE(platform.text.calls[0].wide);
  EXPECT_FALSE(platform.text.calls[1].wide);
  EXPECT_EQ(platform.text.calls[1].text, L"ABC");
}

TEST_F(TextPainterTest, PremultipliedLaysTheCoverageOverTheTarget) {
  platform.text.coverage = 128;
  painter.PaintText(target, L"A", {0, 0, 40, 20}, 0, 0, true);
  // Red at coverage 128 is the premultiplied pixel (0, 0, 128, 128).
  EXPECT_EQ(At(target, 2, 2), (Pixel{0, 0, 128, 128}));
  EXPECT_EQ(At(target, 6, 2), kClear);

  // Over an opaque blue pixel, blue shows through where the text does not cover.
  Fill(target, 40, 20, {255, 0, 0, 255});
  painter.PaintText(target, L"A", {0, 0, 40, 20}, 0, 0, true);
  EXPECT_EQ(At(target, 2, 2), (Pixel{127, 0, 128, 255}));
  EXPECT_EQ(At(target, 6, 2), (Pixel{255, 0, 0, 255}));
}

TEST_F(TextPainterTest, LayerModeReplacesTheRectangle) {
  Fill(target, 40, 20, {10, 20, 30, 255});
  painter.PaintText(target, L"A", {0, 0, 40, 20}, 0, 1, false);
  EXPECT_EQ(At(target, 0, 0), kRed);
  EXPECT_EQ(At(target, 6, 0), kClear);
  EXPECT_EQ(At(target, 39, 19), kClear);
}

TEST_F(TextPainterTest, LayerModeOnAPartLeavesTheRestAlone) {
  Fill(target, 40, 20, {10, 20, 30, 255});
  painter.PaintText(target, L"A", {10, 5, 30, 15}, 0, 1, false);
  EXPECT_EQ(At(target, 9, 5), (Pixel{10, 20, 30, 255}));
  EXPECT_EQ(At(target, 10, 5), kRed);
  EXPECT_EQ(At(target, 16, 5), kClear);
  EXPECT_EQ(At(target, 10, 15), (Pixel{10, 20, 30, 255}));
}

TEST_F(TextPainterTest, CanvasTargetsBlendOrReplaceLikeBitmapTargets) {
  Fill(target, 40, 20, {255, 0, 0, 255});
  platform.text.coverage = 128;
  painter.PaintText(target.Canvas(), L"A", {0, 0, 20, 10}, 0, 0, true);
  EXPECT_EQ(At(target, 2, 2), (Pixel{127, 0, 128, 255}));
  painter.PaintText(target.Canvas(), L"A", {20, 10, 40, 20}, 0, 1, true);
  EXPECT_EQ(At(target, 22, 12), (Pixel{0, 0, 128, 128}));
  EXPECT_EQ(At(target, 30, 12), kClear);
  EXPECT_EQ(At(target, 19, 12), (Pixel{255, 0, 0, 255}));
  painter.PaintText(target.Canvas(), "A", {0, 10, 20, 20}, 0, 0, false);
  EXPECT_EQ(At(target, 2, 12)[2], 128);
}

TEST_F(TextPainterTest, MeasuringGivesTheExtentAndLeavesTheBackgroundMode) {
  TRect rect{5, 6, 100, 100};
  painter.MeasureText(target.Canvas(), L"ABC", rect, 0x20);
  EXPECT_EQ(rect, (TRect{5, 6, 23, 16}));
  EXPECT_EQ(platform.text.calls.back().layout,
            (platform::TextLayout{.singleLine = true, .measureOnly = true}));
  EXPECT_EQ(target.Canvas().BackgroundMode(), TBackgroundMode::Opaque);
  EXPECT_EQ(At(target, 6, 7), kClear);
}

TEST_F(TextPainterTest, ReleaseLeavesAPlainPainterAlive) {
  painter.Release();
  painter.PaintText(target, L"A", {0, 0, 40, 20}, 0, 0, true);
  EXPECT_EQ(At(target, 0, 0), kRed);
}

TEST_F(TextPainterTest, ANullTextDrawsAsEmpty) {
  painter.PaintText(target, static_cast<const wchar_t*>(nullptr), {0, 0, 40, 20}, 0, 1, true);
  TRect rect{0, 0, 40, 20};
  painter.MeasureText(target.Canvas(), static_cast<const char*>(nullptr), rect, 0);
  EXPECT_EQ(rect.Width(), 0);
  EXPECT_EQ(At(target, 0, 0), kClear);
}

TEST_F(TextPainterTest, LayerBitmapsCopyTheFontAndStartClear) {
  target.Canvas().Font().SetName(L"Verdana");
  auto layer = CreateLayerBitmap(target.Canvas(), {5, 5, 12, 9});
  EXPECT_EQ(layer->Width(), 7);
  EXPECT_EQ(layer->Height(), 4);
  EXPECT_EQ(layer->PixelFormat(), TPixelFormat::pf32bit);
  EXPECT_TRUE(testing_support::SameFont(layer->Canvas().Font(), target.Canvas().Font()));

  auto mask = CreateMaskBitmap(target.Canvas(), {0, 0, 3, 2});
  EXPECT_EQ(mask->Canvas().Font().Color(), clWhite);
  EXPECT_EQ(mask->Canvas().Font().Name(), L"Verdana");
  EXPECT_EQ(At(*mask, 2, 1), kClear);

  auto clear = CreateClearBitmap(3, 2);
  EXPECT_EQ(At(*clear, 2, 1), kClear);
  EXPECT_EQ(At(*clear, 0, 0), kClear);
}

TEST_F(TextPainterTest, TextLayerPremultipliesTheFontColourByCoverage) {
  platform.text.coverage = 200;
  target.Canvas().Font().SetColor(0x00204080);  // red 0x80, green 0x40, blue 0x20
  RenderTextLayer(target, L"A", {0, 0, 40, 20}, 0);
  // 0x80 * 200 / 255 = 100.4 and 0x40 * 200 / 255 = 50.2, truncated.
  EXPECT_EQ(At(target, 1, 1), (Pixel{25, 50, 100, 200}));
  EXPECT_EQ(At(target, 7, 1), kClear);
  EXPECT_EQ(target.Canvas().Brush().Color(), 0x00204080U);
}

}  // namespace
