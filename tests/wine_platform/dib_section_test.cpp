#include "platform/win32/dib_section.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using platform::PixelBuffer;
using platform::win32::DibSection;

TEST(DibSectionTest, RowsOfOddWidthTravelThroughThePaddedBitmapAndBack) {
  // 5 pixels of 3 bytes: GDI pads each row to 16 bytes.
  std::vector<uint8_t> pixels(5 * 3 * 4);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>(i * 7 + 1);
  const PixelBuffer buffer{pixels.data(), 5, 4, 15, 3};
  const DibSection dib(buffer, 24);
  ASSERT_TRUE(dib.Valid());
  EXPECT_EQ(dib.Pixels().stride, 16);
  EXPECT_EQ(dib.Pixels().bits[16], pixels[15]);  // the first pixel of the second row

  std::vector<uint8_t> back(pixels.size(), 0);
  dib.CopyTo({back.data(), 5, 4, 15, 3});
  EXPECT_EQ(back, pixels);
}

TEST(DibSectionTest, RefusesPixelsThatDoNotFitTheDepthOrSize) {
  std::vector<uint8_t> pixels(4 * 4 * 4, 9);
  EXPECT_FALSE(
      DibSection({pixels.data(), 4, 4, 16, 3}, 32).Valid());  // 3-byte pixels for a 32-bit bitmap
  EXPECT_FALSE(
      DibSection({pixels.data(), 4, 4, 8, 4}, 32).Valid());  // rows shorter than their pixels
  EXPECT_FALSE(DibSection({pixels.data(), 4, 4, 16, 4}, 16).Valid());
  EXPECT_FALSE(DibSection({pixels.data(), 0, 4, 16, 4}, 32).Valid());

  const DibSection dib({pixels.data(), 4, 4, 16, 4}, 32);
  ASSERT_TRUE(dib.Valid());
  std::vector<uint8_t> other(3 * 3 * 4, 0);
  dib.CopyTo({other.data(), 3, 3, 12, 4});  // another size: nothing is written
  EXPECT_EQ(other, std::vector<uint8_t>(3 * 3 * 4, 0));
}

TEST(DibSectionTest, TakesNewPixelsOfItsOwnSizeAndDepthOnly) {
  std::vector<uint8_t> first(4 * 2 * 4, 1), second(4 * 2 * 4, 2);
  DibSection dib({first.data(), 4, 2, 16, 4}, 32);
  ASSERT_TRUE(dib.Valid());
  const HBITMAP handle = dib.Handle();
  EXPECT_FALSE(dib.Fits({second.data(), 4, 2, 16, 4}, 24));
  EXPECT_FALSE(dib.CopyFrom({second.data(), 2, 4, 8, 4}));  // same bytes, another shape
  EXPECT_FALSE(dib.CopyFrom({second.data(), 4, 2, 12, 3}));
  EXPECT_EQ(dib.Pixels().bits[0], 1);

  ASSERT_TRUE(dib.CopyFrom({second.data(), 4, 2, 16, 4}));
  EXPECT_EQ(dib.Handle(), handle);
  std::vector<uint8_t> back(second.size(), 0);
  dib.CopyTo({back.data(), 4, 2, 16, 4});
  EXPECT_EQ(back, second);
}

}  // namespace
