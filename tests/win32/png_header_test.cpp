#include "platform/png_header.h"

#include <gtest/gtest.h>

namespace {

TEST(PngHeaderTest, PlaceholderUntilDecoderTestsLand) {
  int32_t w = 0, h = 0;
  EXPECT_FALSE(platform::ReadPngHeader(nullptr, 0, w, h));
}

}  // namespace
