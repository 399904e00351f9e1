#include "platform/x11/layered_frame.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/bitmap.h"
#include "effects/blend.h"

namespace {

using platform::x11::BakeLayeredFrame;
using platform::x11::LayeredFrame;

constexpr uint8_t kOpacity = 230;

// The window shows what a constant-alpha blend of the pixels onto nothing
// gives, whether or not anything composites it; checked against the
// project's own blend for every colour value and alpha.
TEST(LayeredFrameTest, TheOpacityIsAppliedAsTheConstantAlphaBlendDoes) {
  TBitmap source;
  source.SetPixelFormat(TPixelFormat::pf32bit);
  source.SetSize(256, 256);
  for (int32_t a = 0; a < 256; ++a) {
    uint8_t* row = source.ScanLine(a);
    for (int32_t c = 0; c < 256; ++c) {
      // Premultiplied: no colour above its alpha.
      const auto value = static_cast<uint8_t>(c * a / 255);
      row[c * 4 + 0] = value;
      row[c * 4 + 1] = static_cast<uint8_t>(c);
      row[c * 4 + 2] = value;
      row[c * 4 + 3] = static_cast<uint8_t>(a);
    }
  }
  TBitmap blended;
  blended.SetPixelFormat(TPixelFormat::pf32bit);
  blended.SetSize(256, 256);
  for (int32_t y = 0; y < 256; ++y) std::fill_n(blended.ScanLine(y), 256 * 4, uint8_t{0});
  AlphaBlendBitmap(blended, TRect{0, 0, 256, 256}, source, {0, 0}, kOpacity);

  std::vector<uint8_t> baked(256 * 256 * 4);
  LayeredFrame frame;
  frame.pixels = source.Buffer();
  frame.opacity = kOpacity;
  BakeLayeredFrame(frame, baked.data());
  for (int32_t y = 0; y < 256; ++y) {
    const uint8_t* expected = blended.ScanLine(y);
    for (int32_t i = 0; i < 256 * 4; ++i)
      ASSERT_EQ(baked[static_cast<size_t>(y) * 1024 + i], expected[i])
          << "row " << y << " byte " << i;
  }
}

TEST(LayeredFrameTest, ASourceWithPaddedRowsBakesIntoUnpaddedOnes) {
  // One 32-bit pixel per row, rows padded to 8 bytes.
  const std::vector<uint8_t> pixels = {0x10, 0x20, 0x30, 0x40, 0x99, 0x99, 0x99, 0x99,
                                       0xFF, 0x00, 0x80, 0xFF, 0x99, 0x99, 0x99, 0x99};
  LayeredFrame frame;
  frame.pixels = {const_cast<uint8_t*>(pixels.data()), 1, 2, 8, 4};
  frame.opacity = 128;
  std::vector<uint8_t> out(8, 0xEE);
  BakeLayeredFrame(frame, out.data());
  EXPECT_EQ(out, (std::vector<uint8_t>{0x08, 0x10, 0x18, 0x20, 0x80, 0x00, 0x40, 0x80}));
}

TEST(LayeredFrameTest, ColourKeyAndOpaqueSources) {
  // Two 24-bit pixels per row, rows padded to 8 bytes: the key colour, then another.
  const std::vector<uint8_t> pixels = {0x10, 0x20, 0x30, 0x01, 0x02, 0x03, 0, 0,
                                       0x10, 0x20, 0x30, 0xFF, 0xFF, 0xFF, 0, 0};
  LayeredFrame frame;
  frame.pixels = {const_cast<uint8_t*>(pixels.data()), 2, 2, 8, 3};
  frame.useColorKey = true;
  frame.colorKey = 0x102030;  // 0x00BBGGRR: red 0x30, green 0x20, blue 0x10
  std::vector<uint8_t> out(16, 0xEE);
  BakeLayeredFrame(frame, out.data());
  EXPECT_EQ(out, (std::vector<uint8_t>{0, 0, 0, 0, 0x01, 0x02, 0x03, 0xFF,  //
                                       0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}))
      << "the key matched the wrong byte order, or a 24-bit pixel was not opaque";
}

}  // namespace
