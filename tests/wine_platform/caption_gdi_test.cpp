// Captions through GDI: the text rasteriser's DrawText into bitmaps, the text
// painters on real anti-aliased glyphs, and a button composing its caption
// with a halo over its state picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "base/bitmap.h"
#include "effects/outer_glow_text_painter.h"
#include "gs/image_loader.h"
#include "gs/wdg_button.h"
#include "gs/widget_factories.h"
#include "null_platform.h"
#include "platform/win32/gdi_text_rasterizer.h"
#include "text_painting.h"

namespace {

using testing_support::At;
using testing_support::Bytes;
using testing_support::Fill;
using testing_support::Pixel;

constexpr Pixel kClear{0, 0, 0, 0};

void UseFont(TFont& font, TColor color) {
  font.SetName(L"Tahoma");
  font.SetHeight(-16);
  font.SetStyle(fsBold);
  font.SetColor(color);
}

// The smallest rectangle holding every pixel for which `lit` holds.
template <typename Lit>
TRect Extent(const TBitmap& bitmap, Lit lit) {
  TRect box{bitmap.Width(), bitmap.Height(), 0, 0};
  for (int32_t y = 0; y < bitmap.Height(); ++y) {
    for (int32_t x = 0; x < bitmap.Width(); ++x) {
      if (!lit(At(bitmap, x, y))) continue;
      box = {std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x + 1),
             std::max(box.Bottom, y + 1)};
    }
  }
  return box;
}

class CaptionGdiTest : public ::testing::Test {
 protected:
  testing_support::NullPlatform platform;
  platform::win32::GdiTextRasterizer gdi;
  testing_support::ScopedTextRasterizer useGdi{gdi};
};

TEST_F(CaptionGdiTest, WhiteOnBlackLeavesTheCoverageInTheBlueChannelWithinTheMeasuredExtent) {
  TBitmap mask;
  Fill(mask, 120, 40, {0, 0, 0, 255});
  UseFont(mask.Canvas().Font(), clWhite);
  TRect extent{0, 0, 120, 40};
  mask.Canvas().DrawText(L"Zentara", extent, 0x25 | 0x400);
  ASSERT_GT(extent.Width(), 30);
  ASSERT_GT(extent.Height(), 10);

  mask.Canvas().SetBackgroundMode(TBackgroundMode::Transparent);
  TRect rect{0, 0, 120, 40};
  mask.Canvas().DrawText(L"Zentara", rect, 0x25);
  const TRect ink = Extent(mask, [](Pixel p) { return p[0] != 0; });
  // Centred: the ink lies inside the measured extent moved to the middle.
  const int32_t left = (120 - extent.Width()) / 2, top = (40 - extent.Height()) / 2;
  EXPECT_GE(ink.Left, left - 1);
  EXPECT_LE(ink.Right, left + extent.Width() + 1);
  EXPECT_GE(ink.Top, top - 1);
  EXPECT_LE(ink.Bottom, top + extent.Height() + 1);
  int solid = 0;
  for (int32_t y = ink.Top; y < ink.Bottom; ++y) {
    for (int32_t x = ink.Left; x < ink.Right; ++x) solid += At(mask, x, y)[0] == 255;
  }
  EXPECT_GT(solid, 40);

  TRect empty{5, 5, 50, 50};
  mask.Canvas().DrawText(L"", empty, 0x20 | 0x400);
  EXPECT_EQ(empty.Width(), 0);
  mask.Canvas().DrawText("", empty, 0x10 | 0x400);
  EXPECT_EQ(empty, (TRect{5, 5, 5, 5}));
}

TEST_F(CaptionGdiTest, TextHangingOverTheEdgeIsCutNotMoved) {
  TBitmap small, large;
  Fill(small, 60, 30, {0, 0, 0, 0});
  Fill(large, 100, 50, {0, 0, 0, 0});
  for (TBitmap* bitmap : {&small, &large}) {
    UseFont(bitmap->Canvas().Font(), clWhite);
    bitmap->Canvas().SetBackgroundMode(TBackgroundMode::Transparent);
  }
  TRect cut{-20, -6, 50, 30}, whole{20, 14, 90, 50};
  small.Canvas().DrawText("Zentara", cut, 0);
  large.Canvas().DrawText("Zentara", whole, 0);
  for (int32_t y = 0; y < 30; ++y) {
    for (int32_t x = 0; x < 60; ++x)
      ASSERT_EQ(At(small, x, y), At(large, x + 40, y + 20)) << x << ", " << y;
  }
  EXPECT_NE(Extent(small, [](Pixel p) { return p[0] != 0; }).Width(), 0);
}

TEST_F(CaptionGdiTest, LayerModeOnAClearBitmapMatchesTheComposedCaption) {
  auto painter = TOuterGlowTextPainter::Create();
  painter->SetRadius(3);
  painter->SetRadiationX(2);
  painter->SetRadiationY(1);
  TBitmap composed, layered;
  for (TBitmap* bitmap : {&composed, &layered}) {
    Fill(*bitmap, 120, 40, kClear);
    UseFont(bitmap->Canvas().Font(), 0x00336699);
  }
  painter->PaintText(composed, L"Zentara", {0, 0, 120, 40}, 0x25, 0, true);
  painter->PaintText(layered, L"Zentara", {0, 0, 120, 40}, 0x25, 1, true);
  EXPECT_EQ(Bytes(layered), Bytes(composed));
  EXPECT_EQ(layered.Canvas().Font().Color(), 0x00336699U);
}

// A button with a caption: text in the font colour, the halo in the glow
// colour around it, the rest of the state picture as it was.
TEST_F(CaptionGdiTest, AButtonComposesItsCaptionWithAHaloOverItsPicture) {
  constexpr uint32_t kPicture = 0xFF302010;  // opaque: blue 0x10, green 0x20, red 0x30
  constexpr Pixel kPicturePixel{0x10, 0x20, 0x30, 0xFF};
  const gs::ButtonImageNames names{L"Button\\Caption\\n.png", L"", L"", L""};
  platform.images.AddSolid(gs::ImagesPath() + names[0], 140, 44, kPicture);
  std::unique_ptr<gs::WdgButton> button = gs::CreateButton(names);
  ASSERT_EQ(button->Width(), 140);
  gs::GsTextRadiationEffect& raised = button->TextEffect().Raised();
  UseFont(raised.Font(), 0x000000FF);  // red text
  raised.SetRadius(4);
  raised.SetColor(0x0000FF00);  // green halo
  button->SetCaption(L"Zentara");

  TBitmap target;
  target.SetPixelFormat(TPixelFormat::pf32bit);
  target.Canvas().Brush().SetColor(clBlack);
  target.SetSize(140, 44);
  button->PaintTo(target);

  const auto red = [](Pixel p) { return p[2] >= 0xF0 && p[1] < 0x30 && p[0] < 0x20; };
  const auto halo = [](Pixel p) { return p[1] >= 0x60 && p[2] < 0x40; };
  const auto changed = [&](Pixel p) { return p != kPicturePixel; };
  const TRect text = Extent(target, red);
  const TRect glow = Extent(target, halo);
  const TRect touched = Extent(target, changed);
  ASSERT_GT(text.Width(), 30) << "no text in the font colour";
  ASSERT_GT(glow.Width(), 0) << "no halo in the glow colour";
  // The halo surrounds the text on every side, by no more than the radius.
  EXPECT_LT(glow.Left, text.Left);
  EXPECT_GT(glow.Right, text.Right);
  EXPECT_LT(glow.Top, text.Top);
  EXPECT_GT(glow.Bottom, text.Bottom);
  EXPECT_GE(touched.Left, text.Left - 5);
  EXPECT_LE(touched.Right, text.Right + 5);
  EXPECT_GE(touched.Top, text.Top - 5);
  EXPECT_LE(touched.Bottom, text.Bottom + 5);
  // Outside the caption the picture shows as it was, alpha included.
  EXPECT_EQ(At(target, 0, 0), kPicturePixel);
  EXPECT_EQ(At(target, 139, 43), kPicturePixel);
  EXPECT_EQ(At(target, touched.Left - 1, (touched.Top + touched.Bottom) / 2), kPicturePixel);
  for (int32_t y = 0; y < 44; ++y) EXPECT_EQ(At(target, y % 2 ? 1 : 138, y), kPicturePixel) << y;
  // The stored picture itself never receives the caption.
  EXPECT_EQ(At(button->Appearance().Raised(), text.Left + 2, (text.Top + text.Bottom) / 2),
            kPicturePixel);
}

}  // namespace
