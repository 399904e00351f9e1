#include "effects/blend_rows.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

// Runs every vector path on a copy of `dest` and expects the scalar path's bytes.
void ExpectEveryPathMatchesScalar(const std::vector<uint8_t>& source,
                                  const std::vector<uint8_t>& dest, size_t offset, int32_t count,
                                  uint32_t opacity) {
  std::vector<uint8_t> expected = dest;
  blend_rows::Scalar(source.data() + offset, expected.data() + offset, count, opacity);
  for (const blend_rows::Path& path : blend_rows::Available()) {
    if (path.row == &blend_rows::Scalar) continue;
    std::vector<uint8_t> actual = dest;
    path.row(source.data() + offset, actual.data() + offset, count, opacity);
    ASSERT_EQ(actual, expected) << path.name << ", opacity " << opacity << ", " << count
                                << " pixels from byte " << offset;
  }
}

TEST(BlendRowsTest, ThePathsIncludeTheScalarReferenceFirst) {
  const std::vector<blend_rows::Path> paths = blend_rows::Available();
  ASSERT_FALSE(paths.empty());
  EXPECT_EQ(paths.front().row, &blend_rows::Scalar);
  EXPECT_EQ(blend_rows::Fastest(), paths.back().row);
}

TEST(BlendRowsTest, EveryPathMatchesTheScalarOnRandomRowsOfEveryLengthAndStart) {
  std::mt19937 random(10);
  std::uniform_int_distribution<int> byte(0, 255);
  std::vector<uint8_t> source(4 * 80 + 3), dest(source.size());
  for (int round = 0; round < 40; ++round) {
    for (uint8_t& b : source) b = static_cast<uint8_t>(byte(random));
    for (uint8_t& b : dest) b = static_cast<uint8_t>(byte(random));
    const uint32_t opacity = round < 2 ? round * 255u : static_cast<uint32_t>(byte(random));
    // Odd lengths leave a tail after the vectors; starts 1 to 3 bytes in are unaligned.
    for (int32_t count = 0; count <= 37; ++count) {
      ExpectEveryPathMatchesScalar(source, dest, static_cast<size_t>(round % 4), count, opacity);
    }
  }
}

// Every source channel value against every source alpha (premultiplied or
// not), at every third opacity (0 and 255 among them), over varied
// destinations: sums across the whole range the arithmetic divides.
TEST(BlendRowsTest, EveryPathMatchesTheScalarForEverySourceAndOpacity) {
  constexpr int32_t kCount = 256 * 256;
  std::vector<uint8_t> source(4 * kCount), dest(4 * kCount);
  for (int32_t i = 0; i < kCount; ++i) {
    const auto value = static_cast<uint8_t>(i & 0xFF);
    const auto alpha = static_cast<uint8_t>(i >> 8);
    const uint8_t pixel[4] = {value, static_cast<uint8_t>(255 - value),
                              static_cast<uint8_t>(value ^ alpha), alpha};
    std::memcpy(&source[4 * static_cast<size_t>(i)], pixel, 4);
    const uint8_t under[4] = {static_cast<uint8_t>(i * 7), static_cast<uint8_t>(i * 13 + 255),
                              static_cast<uint8_t>(i >> 3), static_cast<uint8_t>(255 - alpha)};
    std::memcpy(&dest[4 * static_cast<size_t>(i)], under, 4);
  }
  for (uint32_t opacity = 0; opacity <= 255; opacity += 3) {
    ExpectEveryPathMatchesScalar(source, dest, 0, kCount, opacity);
  }
}

TEST(BlendRowsTest, AnOpaqueSourceAtFullOpacityReplacesAndANullOneKeeps) {
  const std::vector<uint8_t> source{10, 20, 30, 255, 0, 0, 0, 0};
  for (const blend_rows::Path& path : blend_rows::Available()) {
    std::vector<uint8_t> dest{200, 100, 50, 25, 200, 100, 50, 25};
    path.row(source.data(), dest.data(), 2, 255);
    EXPECT_EQ(dest, (std::vector<uint8_t>{10, 20, 30, 255, 200, 100, 50, 25})) << path.name;
  }
}

}  // namespace
