#include "base/bitmap.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "base/font.h"
#include "function_handler.h"
#include "null_platform.h"

namespace {

class BitmapTest : public ::testing::Test {
 protected:
  testing_support::NullPlatform platform;
};

TEST_F(BitmapTest, NewPixelsTakeTheBrushColourWithAlphaZero) {
  TBitmap bitmap;
  bitmap.SetPixelFormat(TPixelFormat::pf32bit);
  bitmap.Canvas().Brush().SetColor(0x00332211);  // red 0x11, green 0x22, blue 0x33
  bitmap.SetSize(2, 2);
  const uint8_t* pixel = bitmap.ScanLine(1) + 4;
  EXPECT_EQ(pixel[0], 0x33);
  EXPECT_EQ(pixel[1], 0x22);
  EXPECT_EQ(pixel[2], 0x11);
  EXPECT_EQ(pixel[3], 0);
}

TEST_F(BitmapTest, GrowingKeepsTheOldPictureWhereItOverlaps) {
  TBitmap bitmap;
  bitmap.SetPixelFormat(TPixelFormat::pf32bit);
  bitmap.Canvas().Brush().SetColor(clBlack);
  bitmap.SetSize(1, 1);
  bitmap.ScanLine(0)[3] = 200;
  bitmap.SetSize(3, 2);
  EXPECT_EQ(bitmap.ScanLine(0)[3], 200);
  EXPECT_EQ(bitmap.ScanLine(0)[7], 0);
  EXPECT_EQ(bitmap.ScanLine(1)[3], 0);
}

TEST_F(BitmapTest, RowsOutsideThePictureAreAnError) {
  TBitmap bitmap;
  EXPECT_THROW(bitmap.ScanLine(0), std::out_of_range);
  bitmap.SetSize(4, 3);
  EXPECT_NO_THROW(bitmap.ScanLine(2));
  EXPECT_THROW(bitmap.ScanLine(3), std::out_of_range);
  EXPECT_THROW(bitmap.ScanLine(-1), std::out_of_range);
}

TEST_F(BitmapTest, ConvertingTo24BitsDropsAlphaAndBackGivesAlphaZero) {
  TBitmap bitmap;
  bitmap.SetPixelFormat(TPixelFormat::pf32bit);
  bitmap.SetSize(1, 1);
  uint8_t* p = bitmap.ScanLine(0);
  p[0] = 1, p[1] = 2, p[2] = 3, p[3] = 4;
  bitmap.SetPixelFormat(TPixelFormat::pf24bit);
  EXPECT_EQ(bitmap.Stride(), 3);
  EXPECT_EQ(bitmap.ScanLine(0)[2], 3);
  bitmap.SetPixelFormat(TPixelFormat::pf32bit);
  EXPECT_EQ(bitmap.ScanLine(0)[0], 1);
  EXPECT_EQ(bitmap.ScanLine(0)[3], 0);
}

TEST_F(BitmapTest, AssignCopiesEverythingAndReportsOnce) {
  TBitmap source;
  source.SetPixelFormat(TPixelFormat::pf32bit);
  source.SetSize(5, 7);
  source.ScanLine(6)[19] = 99;
  TBitmap copy;
  int reports = 0;
  testing_support::FunctionHandler<TObject*> counter([&](TObject*) { ++reports; });
  copy.OnChange = counter.Event();
  copy.Assign(source);
  EXPECT_EQ(reports, 1);
  EXPECT_EQ(copy.Width(), 5);
  EXPECT_EQ(copy.Height(), 7);
  EXPECT_EQ(copy.PixelFormat(), TPixelFormat::pf32bit);
  EXPECT_EQ(copy.ScanLine(6)[19], 99);
}

}  // namespace

namespace {

class BitmapChangesTest : public ::testing::Test {
 protected:
  void SetUp() override { bitmap.OnChange = TNotifyEvent(this, &BitmapChangesTest::Changed); }
  void Changed(TObject* /*sender*/) { ++changes; }

  testing_support::NullPlatform platform;
  TBitmap bitmap;
  int changes = 0;
};

TEST_F(BitmapChangesTest, SizeAndFormatChangesReportOnlyWhenSomethingChanges) {
  bitmap.SetSize(3, 2);
  bitmap.SetSize(3, 2);
  bitmap.SetWidth(3);
  EXPECT_EQ(changes, 1);
  bitmap.SetHeight(5);
  bitmap.SetPixelFormat(TPixelFormat::pf32bit);
  bitmap.SetPixelFormat(TPixelFormat::pf32bit);
  EXPECT_EQ(changes, 3);
}

TEST_F(BitmapChangesTest, NegativeSizesMakeAnEmptyBitmap) {
  bitmap.SetSize(4, 4);
  bitmap.SetSize(-4, 4);
  EXPECT_TRUE(bitmap.Empty());
  EXPECT_EQ(bitmap.Width(), 0);
  EXPECT_THROW(bitmap.ScanLine(0), std::out_of_range);
  EXPECT_EQ(bitmap.Buffer().bits, nullptr);
}

TEST_F(BitmapChangesTest, ABitmapTooLargeForMemoryIsRefusedAndKeepsItsPicture) {
  bitmap.SetSize(2, 2);
  EXPECT_THROW(bitmap.SetSize(1 << 20, 1 << 20), std::length_error);
  EXPECT_EQ(bitmap.Width(), 2);
  EXPECT_NO_THROW(bitmap.ScanLine(1));
}

TEST_F(BitmapChangesTest, CanvasDrawingReportsAChange) {
  bitmap.SetSize(2, 2);
  changes = 0;
  bitmap.Canvas().FillRect({0, 0, 1, 1});
  EXPECT_EQ(changes, 1);
  bitmap.Canvas().FillRect({5, 5, 9, 9});  // nothing to draw
  EXPECT_EQ(changes, 1);
}

TEST_F(BitmapChangesTest, TakePixelsReplacesThePictureWith32BitPixels) {
  bitmap.SetSize(9, 9);
  bitmap.TakePixels(2, 1, {1, 2, 3, 4, 5, 6, 7, 8});
  EXPECT_EQ(bitmap.PixelFormat(), TPixelFormat::pf32bit);
  EXPECT_EQ(bitmap.Width(), 2);
  EXPECT_EQ(bitmap.ScanLine(0)[7], 8);
  EXPECT_EQ(changes, 2);
  EXPECT_THROW(bitmap.TakePixels(2, 2, {1, 2, 3}), std::invalid_argument);
  EXPECT_EQ(bitmap.Width(), 2);
  bitmap.TakePixels(0, 7, {1, 2, 3});
  EXPECT_TRUE(bitmap.Empty());
}

TEST_F(BitmapChangesTest, ASystemBrushColourIsResolvedWhenTheBitmapIsSized) {
  bitmap.Canvas().Brush().SetColor(clBtnFace);  // 0xF0F0F0 on the null platform
  bitmap.SetSize(1, 1);
  EXPECT_EQ(bitmap.ScanLine(0)[0], 0xF0);
  EXPECT_EQ(bitmap.ScanLine(0)[2], 0xF0);
}

TEST_F(BitmapChangesTest, AssignFromAnotherClassIsRefused) {
  TFont font;
  EXPECT_THROW(bitmap.Assign(font), std::invalid_argument);
  EXPECT_EQ(changes, 0);
}

}  // namespace
