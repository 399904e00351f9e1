#include "gs/wdg_image.h"

#include <gtest/gtest.h>

#include "base/bitmap.h"
#include "gs/image_loader.h"
#include "gs/widget_factories.h"
#include "null_platform.h"
#include "widget_probe.h"

namespace {

using widget_testing::CountingHost;

class ImageTest : public ::testing::Test {
 protected:
  ImageTest() {
    platform.images.AddSolid(gs::ImagesPath() + L"big.png", 40, 30, 0xFF204060);
    platform.images.AddSolid(gs::ImagesPath() + L"small.png", 12, 8, 0x80102030);
  }

  testing_support::NullPlatform platform;
};

TEST_F(ImageTest, AutoSizeGivesExactlyThePicturesPixelSize) {
  auto image = gs::CreateImage(L"big.png");
  EXPECT_EQ(platform.images.decoded.back(), L"C:\\Zentara\\images\\big.png");
  EXPECT_EQ(image->Width(), 0);
  EXPECT_EQ(image->Height(), 0);
  image->SetLeft(7);
  image->SetAutoSize(true);
  EXPECT_EQ(image->Width(), 40);
  EXPECT_EQ(image->Height(), 30);
  EXPECT_EQ(image->Left(), 7);
}

TEST_F(ImageTest, AnAutoSizedImageShrinksToASmallerPictureButKeepsItsSizeForAnEmptyOne) {
  CountingHost host;
  auto image = gs::CreateImage(L"big.png");
  image->SetHost(&host);
  image->SetAutoSize(true);
  gs::LoadImageFile(gs::ImagesPath() + L"small.png", image->Picture());
  EXPECT_EQ(image->Width(), 12);
  EXPECT_EQ(image->Height(), 8);

  gs::LoadImageFile(gs::ImagesPath() + L"gone.png", image->Picture());
  EXPECT_TRUE(image->Picture().Empty());
  EXPECT_EQ(image->Width(), 12);
  EXPECT_EQ(image->Height(), 8);
  EXPECT_EQ(platform.system.messages.size(), 1u);
  EXPECT_EQ(host.invalidations, 0);  // the next composition shows it
}

TEST_F(ImageTest, WithoutAutoSizeAPictureChangeLeavesTheSizeAlone) {
  auto image = gs::CreateImage(L"small.png");
  image->SetBounds(0, 0, 5, 5);
  image->Picture().SetSize(20, 20);
  EXPECT_EQ(image->Width(), 5);
}

TEST_F(ImageTest, SwitchingAutoSizeOnTwiceResizesOnce) {
  auto image = gs::CreateImage(L"big.png");
  image->SetAutoSize(true);
  image->SetBounds(1, 2, 5, 6);
  image->SetAutoSize(true);
  EXPECT_EQ(image->Width(), 5);
  EXPECT_EQ(image->Height(), 6);
  image->SetAutoSize(false);
  image->SetAutoSize(true);
  EXPECT_EQ(image->Width(), 40);
  EXPECT_EQ(image->Left(), 1);
}

TEST_F(ImageTest, AutoSizeOnAnEmptyPictureGivesZeroByZero) {
  auto image = gs::CreateImage(L"gone.png");
  image->SetBounds(0, 0, 9, 9);
  image->SetAutoSize(true);
  EXPECT_EQ(image->Width(), 0);
  EXPECT_EQ(image->Height(), 0);
}

TEST_F(ImageTest, ASmallWidgetDrawsItsWholePictureButIsHitOnlyWithinItsOwnSize) {
  platform.images.AddSolid(gs::ImagesPath() + L"square.png", 40, 40, 0xFF00FF00);
  gs::GsWidget root;
  root.SetBounds(0, 0, 100, 100);
  gs::WdgImage* image = root.Adopt(gs::CreateImage(L"square.png"));
  image->SetBounds(5, 5, 10, 10);

  TBitmap target;
  target.SetPixelFormat(TPixelFormat::pf32bit);
  target.SetSize(100, 100);
  root.PaintTo(target);
  EXPECT_EQ(target.ScanLine(44)[44 * 4 + 3], 255);
  EXPECT_EQ(target.ScanLine(44)[44 * 4 + 1], 255);
  EXPECT_EQ(target.ScanLine(45)[45 * 4 + 3], 0);
  EXPECT_EQ(target.ScanLine(4)[4 * 4 + 3], 0);

  EXPECT_EQ(root.ChildAt(14, 14), image);
  EXPECT_EQ(root.ChildAt(15, 14), nullptr);
  EXPECT_EQ(root.ChildAt(30, 30), nullptr);
}

}  // namespace
