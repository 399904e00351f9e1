
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>

#include "base/bitmap.h"
#include "base/text_format.h"
#include "function_handler.h"
#include "null_platform.h"

namespace {

using Pixel = std::array<uint8_t, 4>;

class CanvasTest : public ::testing::Test {
 protected:
  // Every pixel gets a value from its place, so that a copy shows where it came from.
  static void Numbered(TBitmap& bitmap, TPixelFormat format, int32_t width, int32_t height) {
    bitmap.SetPixelFormat(format);
    bitmap.SetSize(width, height);
    for (int32_t y = 0; y < height; ++y) {
      uint8_t* p = bitmap.ScanLine(y);
      for (int32_t x = 0; x < width; ++x, p += bitmap.BytesPerPixel()) {
        p[0] = static_cast<uint8_t>(x);
        p[1] = static_cast<uint8_t>(y);
        p[2] = 0x77;
        if (bitmap.BytesPerPixel() == 4) p[3] = static_cast<uint8_t>(x + y);
      }
    }
  }
  static Pixel At(const TBitmap& bitmap, int32_t x, int32_t y) {
    const uint8_t* p = bitmap.ScanLine(y) + x * bitmap.BytesPerPixel();
    return {p[0], p[1], p[2], bitmap.BytesPerPixel() == 4 ? p[3] : uint8_t{0}};
  }
  static void Blank(TBitmap& bitmap, TPixelFormat format, int32_t width, int32_t height) {
    bitmap.SetPixelFormat(format);
    bitmap.Canvas().Brush().SetColor(clBlack);
    bitmap.SetSize(width, height);
  }

  testing_support::NullPlatform platform;
};

TEST_F(CanvasTest, FillRectClipsToTheBitmapAndClearsAlpha) {
  TBitmap bitmap;
  Numbered(bitmap, TPixelFormat::pf32bit, 4, 3);
  bitmap.Canvas().Brush().SetColor(0x00CC8844);
  bitmap.Canvas().FillRect({-5, 1, 2, 100});
  EXPECT_EQ(At(bitmap, 0, 1), (Pixel{0xCC, 0x88, 0x44, 0}));
  EXPECT_EQ(At(bitmap, 1, 2), (Pixel{0xCC, 0x88, 0x44, 0}));
  EXPECT_EQ(At(bitmap, 2, 1), (Pixel{2, 1, 0x77, 3}));
  EXPECT_EQ(At(bitmap, 0, 0), (Pixel{0, 0, 0x77, 0}));
}

TEST_F(CanvasTest, FillRectResolvesSystemColoursAndFills24BitPixels) {
  TBitmap bitmap;
  Numbered(bitmap, TPixelFormat::pf24bit, 2, 2);
  bitmap.Canvas().Brush().SetColor(clGrayText);  // 0x6D6D6D on the null platform
  bitmap.Canvas().FillRect({0, 0, 2, 2});
  EXPECT_EQ(At(bitmap, 1, 1), (Pixel{0x6D, 0x6D, 0x6D, 0}));
}

TEST_F(CanvasTest, CopyRectBetween32BitBitmapsCarriesAlpha) {
  TBitmap source, dest;
  Numbered(source, TPixelFormat::pf32bit, 8, 8);
  Blank(dest, TPixelFormat::pf32bit, 4, 4);
  dest.Canvas().CopyRect({1, 1, 3, 3}, source.Canvas(), {5, 6, 7, 8});
  EXPECT_EQ(At(dest, 1, 1), (Pixel{5, 6, 0x77, 11}));
  EXPECT_EQ(At(dest, 2, 2), (Pixel{6, 7, 0x77, 13}));
  EXPECT_EQ(At(dest, 3, 3), (Pixel{0, 0, 0, 0}));
  EXPECT_EQ(At(dest, 0, 0), (Pixel{0, 0, 0, 0}));
}

TEST_F(CanvasTest, CopyRectAcrossFormatsKeepsColoursAndZeroesNewAlpha) {
  TBitmap wide, narrow;
  Numbered(wide, TPixelFormat::pf32bit, 3, 3);
  Blank(narrow, TPixelFormat::pf24bit, 3, 3);
  narrow.Canvas().CopyRect({0, 0, 3, 3}, wide.Canvas(), {0, 0, 3, 3});
  EXPECT_EQ(At(narrow, 2, 1), (Pixel{2, 1, 0x77, 0}));

  TBitmap back;
  Numbered(back, TPixelFormat::pf32bit, 3, 3);
  back.Canvas().CopyRect({0, 0, 3, 3}, narrow.Canvas(), {0, 0, 3, 3});
  EXPECT_EQ(At(back, 2, 2), (Pixel{2, 2, 0x77, 0}));
}

TEST_F(CanvasTest, CopyRectCombinesSourceDestinationAndBrushAsTheCopyModeSays) {
  TBitmap source, dest;
  Numbered(source, TPixelFormat::pf32bit, 3, 3);
  EXPECT_EQ(dest.Canvas().CopyMode(), cmSrcCopy);
  dest.SetPixelFormat(TPixelFormat::pf32bit);
  dest.Canvas().Brush().SetColor(0x000F0F0F);
  dest.SetSize(3, 3);
  for (int32_t y = 0; y < 3; ++y) std::fill_n(dest.ScanLine(y), 12, uint8_t{0x3C});
  struct Case {
    int32_t mode;
    Pixel at21;  // source pixel (2, 1) is {2, 1, 0x77, 3}
  };
  for (const Case& c : {Case{0x00660046, {0x3E, 0x3D, 0x4B, 0x3F}},     // source xor dest
                        Case{0x008800C6, {0x00, 0x00, 0x34, 0x00}},     // source and dest
                        Case{0x00330008, {0xFD, 0xFE, 0x88, 0xFC}},     // not source
                        Case{0x00F00021, {0x0F, 0x0F, 0x0F, 0x00}}}) {  // the brush
    dest.Canvas().SetCopyMode(c.mode);
    dest.Canvas().CopyRect({2, 1, 3, 2}, source.Canvas(), {2, 1, 3, 2});
    EXPECT_EQ(At(dest, 2, 1), c.at21) << std::hex << c.mode;
    std::fill_n(dest.ScanLine(1) + 8, 4, uint8_t{0x3C});
  }
  EXPECT_EQ(At(dest, 1, 1), (Pixel{0x3C, 0x3C, 0x3C, 0x3C}));
}

TEST_F(CanvasTest, CopyRectClipsBothRectanglesTogether) {
  TBitmap source, dest;
  Numbered(source, TPixelFormat::pf32bit, 5, 5);
  Blank(dest, TPixelFormat::pf32bit, 5, 5);
  // The destination starts two columns left of the bitmap and the source one
  // row above its own: the copy starts where both are inside.
  dest.Canvas().CopyRect({-2, 0, 3, 5}, source.Canvas(), {0, -1, 5, 4});
  EXPECT_EQ(At(dest, 0, 1), (Pixel{2, 0, 0x77, 2}));
  EXPECT_EQ(At(dest, 2, 3), (Pixel{4, 2, 0x77, 6}));
  EXPECT_EQ(At(dest, 0, 0), (Pixel{0, 0, 0, 0}));
  EXPECT_EQ(At(dest, 3, 3), (Pixel{0, 0, 0, 0}));
}

TEST_F(CanvasTest, CopyRectWithExtremeRectanglesDoesNothingHarmful) {
  TBitmap source, dest;
  Numbered(source, TPixelFormat::pf32bit, 4, 4);
  Blank(dest, TPixelFormat::pf32bit, 4, 4);
  int changes = 0;
  testing_support::FunctionHandler<TObject*> counter([&](TObject*) { ++changes; });
  dest.OnChange = counter.Event();
  dest.Canvas().CopyRect({INT_MIN, INT_MIN, INT_MAX, INT_MAX}, source.Canvas(), {0, 0, 4, 4});
  dest.Canvas().CopyRect({0, 0, 4, 4}, source.Canvas(), {INT_MAX - 1, 0, INT_MAX, 4});
  dest.Canvas().CopyRect({INT_MAX, INT_MAX, INT_MIN, INT_MIN}, source.Canvas(), {0, 0, 4, 4});
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(At(dest, 0, 0), (Pixel{0, 0, 0, 0}));
}

TEST_F(CanvasTest, CopyRectOntoItselfMovesTheAreaIntact) {
  TBitmap bitmap;
  Numbered(bitmap, TPixelFormat::pf32bit, 6, 6);
  bitmap.Canvas().CopyRect({1, 2, 5, 6}, bitmap.Canvas(), {0, 0, 4, 4});
  for (int32_t y = 0; y < 4; ++y) {
    for (int32_t x = 0; x < 4; ++x) {
      EXPECT_EQ(At(bitmap, x + 1, y + 2), (Pixel{static_cast<uint8_t>(x), static_cast<uint8_t>(y),
                                                 0x77, static_cast<uint8_t>(x + y)}));
    }
  }
}

TEST_F(CanvasTest, TextGoesThroughThePlatformWithTheResolvedStyle) {
  TBitmap bitmap;
  Blank(bitmap, TPixelFormat::pf32bit, 40, 20);
  TCanvas& canvas = bitmap.Canvas();
  canvas.Font().SetColor(clWindowText);
  canvas.Font().SetHeight(-10);
  canvas.Font().SetStyle(fsBold | fsItalic);
  canvas.Brush().SetColor(clWindow);
  canvas.SetBackgroundMode(TBackgroundMode::Transparent);
  TRect r{0, 0, 40, 20};
  canvas.DrawText(L"ab", r, kTextCalcRect);
  ASSERT_EQ(platform.text.calls.size(), 1u);
  const auto& call = platform.text.calls[0];
  EXPECT_EQ(call.text, L"ab");
  EXPECT_TRUE(call.wide);
  EXPECT_EQ(call.style.color, 0x000000u);
  EXPECT_EQ(call.style.backgroundColor, 0xFFFFFFu);
  EXPECT_TRUE(call.style.transparent);
  EXPECT_TRUE(call.style.font.bold);
  EXPECT_TRUE(call.style.font.italic);
  EXPECT_FALSE(call.style.font.underline);
  EXPECT_EQ(call.style.font.name, L"Tahoma");
  EXPECT_EQ(r.Right, 2 * testing_support::NullTextRasterizer::CellWidth());
  EXPECT_EQ(r.Bottom, 10);
  canvas.DrawText("c", r, 0);
  EXPECT_FALSE(platform.text.calls[1].wide);
}

}  // namespace
