#include "platform/x11/shape_mask.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using platform::Rect;
using platform::x11::OpaqueRects;

// A picture drawn in text: '#' has alpha 255, 'o' alpha 128, '-' alpha 127, '.' alpha 1, ' ' alpha
// 0 (with colour, which does not count).
std::vector<uint8_t> Picture(const std::vector<std::string>& rows, int32_t stride) {
  std::vector<uint8_t> pixels(rows.size() * static_cast<size_t>(stride), 0);
  for (size_t y = 0; y < rows.size(); ++y) {
    for (size_t x = 0; x < rows[y].size(); ++x) {
      uint8_t* p = &pixels[y * static_cast<size_t>(stride) + x * 4];
      p[0] = 0x40;
      const char c = rows[y][x];
      p[3] = c == '#' ? 255 : c == 'o' ? 128 : c == '-' ? 127 : c == '.' ? 1 : 0;
    }
  }
  return pixels;
}

TEST(ShapeMaskTest, EqualRowsMakeOneBandAndEveryVisiblePixelIsCovered) {
  const std::vector<std::string> rows = {
      "  ##  . ", "  ##  . ", "########", "        ", "#      #",
  };
  const int32_t stride = 8 * 4 + 12;  // rows padded beyond their pixels
  const std::vector<uint8_t> pixels = Picture(rows, stride);
  EXPECT_EQ(
      OpaqueRects(pixels.data(), 8, 5, stride),
      (std::vector<Rect>{{2, 0, 4, 2}, {6, 0, 7, 2}, {0, 2, 8, 3}, {0, 4, 1, 5}, {7, 4, 8, 5}}));
}

TEST(ShapeMaskTest, AFullyTransparentPictureHasNoShapeAndAnOpaqueOneIsOneRectangle) {
  const std::vector<uint8_t> clear = Picture({"   ", "   "}, 12);
  EXPECT_TRUE(OpaqueRects(clear.data(), 3, 2, 12).empty());
  const std::vector<uint8_t> opaque = Picture({"###", "###"}, 12);
  EXPECT_EQ(OpaqueRects(opaque.data(), 3, 2, 12), (std::vector<Rect>{{0, 0, 3, 2}}));
  EXPECT_TRUE(OpaqueRects(nullptr, 3, 2, 12).empty());
}

TEST(ShapeMaskTest, WithoutACompositorOnlyTheMostlyOpaquePixelsCount) {
  const std::vector<uint8_t> pixels = Picture({".-o#o-.", "--oo#.o"}, 28);
  EXPECT_EQ(OpaqueRects(pixels.data(), 7, 2, 28, platform::x11::kUncompositedMinAlpha),
            (std::vector<Rect>{{2, 0, 5, 1}, {2, 1, 5, 2}, {6, 1, 7, 2}}));
  EXPECT_EQ(OpaqueRects(pixels.data(), 7, 2, 28), (std::vector<Rect>{{0, 0, 7, 2}}));
}

}  // namespace
