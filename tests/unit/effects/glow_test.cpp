#include "effects/glow.h"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <vector>

#include "base/bitmap.h"
#include "effects/glow_filter_factory.h"
#include "literal_glow.h"
#include "null_platform.h"

namespace {

class GlowTest : public ::testing::Test {
 protected:
  static void Put(TBitmap& bitmap, int32_t x, int32_t y, uint8_t b, uint8_t g, uint8_t r,
                  uint8_t a = 0) {
    uint8_t* p = bitmap.ScanLine(y) + x * bitmap.BytesPerPixel();
    p[0] = b, p[1] = g, p[2] = r;
    if (bitmap.BytesPerPixel() == 4) p[3] = a;
  }
  static std::vector<uint8_t> Pixel(const TBitmap& bitmap, int32_t x, int32_t y) {
    const uint8_t* p = bitmap.ScanLine(y) + x * 4;
    return {p[0], p[1], p[2], p[3]};
  }
  static TBitmap& Black(TBitmap& bitmap, int32_t width, int32_t height) {
    bitmap.SetPixelFormat(TPixelFormat::pf32bit);
    bitmap.Canvas().Brush().SetColor(clBlack);
    bitmap.SetSize(width, height);
    return bitmap;
  }

  testing_support::NullPlatform platform;
  GlowSettings settings;
  OuterGlowFilterFactory factory;
};

TEST_F(GlowTest, LuminanceRoundsHalfUpAndReadsEitherDepth) {
  TBitmap bitmap;
  bitmap.SetSize(3, 2);          // 24-bit
  Put(bitmap, 0, 0, 0, 0, 100);  // 29.9 + 0.5
  Put(bitmap, 1, 0, 5, 0, 0);    // 0.57 + 0.5
  Put(bitmap, 2, 0, 4, 0, 0);    // 0.456 + 0.5
  Put(bitmap, 0, 1, 255, 255, 255);
  Put(bitmap, 1, 1, 10, 20, 30);  // 8.97 + 11.74 + 1.14 + 0.5
  ValueMap map = BuildLuminanceMap(bitmap, {0, 0, 3, 2});
  EXPECT_EQ(map[0][0], 30);
  EXPECT_EQ(map[0][1], 1);
  EXPECT_EQ(map[0][2], 0);
  EXPECT_EQ(map[1][0], 255);
  EXPECT_EQ(map[1][1], 22);

  bitmap.SetPixelFormat(TPixelFormat::pf32bit);
  ValueMap part = BuildLuminanceMap(bitmap, {1, 1, 2, 2});
  ASSERT_EQ(part.Rows(), 1);
  ASSERT_EQ(part.Columns(), 1);
  EXPECT_EQ(part[0][0], 22);
  EXPECT_THROW(BuildLuminanceMap(bitmap, {1, 1, 4, 2}), std::out_of_range);
}

TEST_F(GlowTest, WriteAlphaClampsInTheMapAndKeepsTheColour) {
  TBitmap bitmap;
  Black(bitmap, 4, 1);
  for (int32_t x = 0; x < 4; ++x) Put(bitmap, x, 0, 10, 20, 30, 99);
  ValueMap map(1, 3);
  map[0][0] = 128, map[0][1] = 300, map[0][2] = -1;
  WriteAlpha(bitmap, {1, 0, 4, 1}, map);
  EXPECT_EQ(map[0][1], 255);
  EXPECT_EQ(Pixel(bitmap, 0, 0), (std::vector<uint8_t>{10, 20, 30, 99}));
  EXPECT_EQ(Pixel(bitmap, 1, 0), (std::vector<uint8_t>{10, 20, 30, 128}));
  EXPECT_EQ(Pixel(bitmap, 2, 0), (std::vector<uint8_t>{10, 20, 30, 255}));
  EXPECT_EQ(Pixel(bitmap, 3, 0), (std::vector<uint8_t>{10, 20, 30, 255}));  // low 8 bits of -1
}

TEST_F(GlowTest, WritePremultipliedRoundsHalfUp) {
  TBitmap bitmap;
  Black(bitmap, 2, 1);
  Put(bitmap, 0, 0, 201, 1, 255);
  Put(bitmap, 1, 0, 200, 100, 0);
  ValueMap map(1, 2);
  map[0][0] = 128, map[0][1] = 999;
  WriteAlphaPremultiplied(bitmap, {0, 0, 2, 1}, map);
  // 201 * 128 / 255 = 100.9 rounds to 101 (truncation would give 100); 1 keeps 1.
  EXPECT_EQ(Pixel(bitmap, 0, 0), (std::vector<uint8_t>{101, 1, 128, 128}));
  EXPECT_EQ(Pixel(bitmap, 1, 0), (std::vector<uint8_t>{200, 100, 0, 255}));
}

TEST_F(GlowTest, AlphaNeedsA32BitBitmap) {
  TBitmap bitmap;
  bitmap.SetSize(2, 2);
  ValueMap map(2, 2);
  EXPECT_THROW(WriteAlpha(bitmap, {0, 0, 2, 2}, map), std::invalid_argument);
}

TEST_F(GlowTest, GlowLayerTakesTheColourAndTheGlowAsAlpha) {
  settings.radius = 1;
  TBitmap mask;
  Black(mask, 3, 3);
  Put(mask, 1, 1, 255, 255, 255);
  ApplyGlow(settings, factory, mask, {0, 0, 3, 3}, false, 0x00336699);
  EXPECT_EQ(Pixel(mask, 1, 1), (std::vector<uint8_t>{0x33, 0x66, 0x99, 255}));
  EXPECT_EQ(Pixel(mask, 0, 1), (std::vector<uint8_t>{0x33, 0x66, 0x99, 198}));
  EXPECT_EQ(Pixel(mask, 0, 0), (std::vector<uint8_t>{0x33, 0x66, 0x99, 154}));

  // A system colour resolves through the brush; premultiplied rounds half up.
  Black(mask, 3, 3);
  Put(mask, 1, 1, 255, 255, 255);
  ApplyGlow(settings, factory, mask, {0, 0, 3, 3}, true, clGrayText);  // 0x6D6D6D here
  EXPECT_EQ(Pixel(mask, 1, 1), (std::vector<uint8_t>{0x6D, 0x6D, 0x6D, 255}));
  EXPECT_EQ(Pixel(mask, 0, 1), (std::vector<uint8_t>{85, 85, 85, 198}));  // 109 * 198 / 255 = 84.6
}

TEST_F(GlowTest, OpacityZeroLeavesTheLayerTransparent) {
  settings.radius = 3;
  settings.opacity = 0;
  TBitmap mask;
  Black(mask, 8, 8);
  for (int32_t y = 2; y < 6; ++y) Put(mask, 3, y, 255, 255, 255);
  ApplyGlow(settings, factory, mask, {0, 0, 8, 8}, true, clWhite);
  for (int32_t y = 0; y < 8; ++y) {
    for (int32_t x = 0; x < 8; ++x)
      EXPECT_EQ(Pixel(mask, x, y), (std::vector<uint8_t>{0, 0, 0, 0}));
  }
}

TEST_F(GlowTest, SettingsReachTheFactory) {
  settings.spread = 128;
  settings.opacity = 255;
  settings.radius = 2;
  TBitmap mask;
  Black(mask, 5, 5);
  ValueMap glow = ComputeGlowMap(settings, factory, mask, {0, 0, 5, 5});
  EXPECT_EQ(factory.SpreadFraction(), 0.50196081F);
  EXPECT_EQ(factory.OpacityFraction(), 1.0F);
  const Filter* kernel = factory.CachedFilter();
  ASSERT_NE(kernel, nullptr);
  ComputeGlowMap(settings, factory, mask, {0, 0, 5, 5});
  EXPECT_EQ(factory.CachedFilter(), kernel);
  EXPECT_EQ(glow.Rows(), 5);
}

// The product's filter takes shortcuts; every byte must still be the loops' byte.
TEST_F(GlowTest, ProductGlowMatchesTheLiteralLoopsOnRandomMasks) {
  std::mt19937 random(20240611);
  struct Case {
    int32_t width, height, radius;
    uint8_t spread, opacity;
    bool premultiplied;
    int density;  // percent of lit cells
  };
  const Case cases[] = {
      {37, 23, 0, 0, 255, true, 30},   {40, 17, 1, 0, 255, false, 10},
      {64, 24, 2, 0, 255, true, 25},   {61, 29, 3, 128, 255, true, 5},
      {50, 31, 4, 77, 200, false, 2},  {33, 33, 8, 0, 128, true, 15},
      {45, 20, 5, 255, 255, true, 20}, {9, 7, 8, 30, 255, true, 40},
      {3, 40, 16, 0, 255, false, 50},  {70, 12, 6, 200, 13, true, 100},
      {1, 1, 2, 0, 255, true, 100},    {24, 24, 11, 64, 255, true, 1},
  };
  for (const Case& c : cases) {
    TBitmap mask;
    Black(mask, c.width, c.height);
    for (int32_t y = 0; y < c.height; ++y) {
      for (int32_t x = 0; x < c.width; ++x) {
        if (static_cast<int>(random() % 100) >= c.density) continue;
        // Mostly solid glyph cells, some anti-aliased edges, a few coloured pixels.
        const uint32_t kind = random() % 4;
        const auto v = static_cast<uint8_t>(kind < 2 ? 255 : random() % 256);
        if (kind == 3) {
          Put(mask, x, y, v, static_cast<uint8_t>(random()), static_cast<uint8_t>(random()));
        } else {
          Put(mask, x, y, v, v, v);
        }
      }
    }
    std::vector<uint8_t> pixels;
    for (int32_t y = 0; y < c.height; ++y)
      pixels.insert(pixels.end(), mask.ScanLine(y), mask.ScanLine(y) + c.width * 4);
    const std::vector<uint8_t> expected =
        testing_support::LiteralGlow({pixels.data(), c.width, c.height, c.radius, c.spread,
                                      c.opacity, c.premultiplied, 0x0080FF40});

    settings.radius = c.radius;
    settings.spread = c.spread;
    settings.opacity = c.opacity;
    ApplyGlow(settings, factory, mask, {0, 0, c.width, c.height}, c.premultiplied, 0x0080FF40);
    std::vector<uint8_t> actual;
    for (int32_t y = 0; y < c.height; ++y)
      actual.insert(actual.end(), mask.ScanLine(y), mask.ScanLine(y) + c.width * 4);
    EXPECT_EQ(actual, expected) << c.width << " x " << c.height << " radius " << c.radius;
  }
}

TEST_F(GlowTest, ValueMapsRefuseImpossibleSizes) {
  EXPECT_THROW(ValueMap(1 << 16, 1 << 16), std::length_error);
  ValueMap map(-3, 4);
  EXPECT_TRUE(map.Empty());
  ValueMap filled(2, 3);
  FreeMap(filled);
  EXPECT_EQ(filled.Rows(), 0);
}

}  // namespace
