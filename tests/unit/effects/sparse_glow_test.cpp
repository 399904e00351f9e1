#include "effects/sparse_glow.h"

#include <gtest/gtest.h>

#include <random>

#include "effects/filter.h"
#include "effects/glow.h"
#include "effects/glow_filter_factory.h"
#include "null_platform.h"

namespace {

struct Shape {
  uint8_t spread;
  uint8_t opacity;
};

constexpr Shape kShapes[] = {{0, 255}, {77, 255}, {128, 200}, {255, 255}, {255, 3}, {10, 0}};

class SparseGlowTest : public ::testing::Test {
 protected:
  void Use(int32_t radius, Shape shape) { settings = {shape.opacity, shape.spread, radius}; }

  // Random grey values in 0..255, about one cell in `oneIn` lit.
  ValueMap RandomMap(int32_t rows, int32_t columns, int oneIn) {
    ValueMap map = AllocateMap(rows, columns);
    for (int32_t i = 0; i < rows; ++i) {
      for (int32_t j = 0; j < columns; ++j)
        map[i][j] = rng() % oneIn == 0 ? static_cast<int32_t>(rng() % 256) : 0;
    }
    return map;
  }

  // The filter of the settings' kernel run over an area that holds both the
  // source (placed at `origin`) and the output rectangle, dark elsewhere.
  ValueMap ByTheFilter(const ValueMap& source, TPoint origin, const TRect& out) {
    const TRect area{std::min(origin.X, out.Left), std::min(origin.Y, out.Top),
                     std::max(origin.X + source.Columns(), out.Right),
                     std::max(origin.Y + source.Rows(), out.Bottom)};
    ValueMap whole = AllocateMap(area.Height(), area.Width());
    for (int32_t i = 0; i < whole.Rows(); ++i) std::fill_n(whole[i], whole.Columns(), 0);
    for (int32_t i = 0; i < source.Rows(); ++i) {
      for (int32_t j = 0; j < source.Columns(); ++j)
        whole[origin.Y - area.Top + i][origin.X - area.Left + j] = source[i][j];
    }
    OuterGlowFilterFactory reference;
    ConfigureFactory(reference, settings);
    ValueMap glow = AllocateMap(whole.Rows(), whole.Columns());
    ApplyToMap(reference.CreateFilter(settings.radius), whole, 0, 0, whole.Rows(), whole.Columns(),
               glow, 0, 0);
    ValueMap result = AllocateMap(out.Height(), out.Width());
    for (int32_t i = 0; i < result.Rows(); ++i) {
      for (int32_t j = 0; j < result.Columns(); ++j)
        result[i][j] = glow[out.Top - area.Top + i][out.Left - area.Left + j];
    }
    return result;
  }

  static void ExpectEqual(const ValueMap& actual, const ValueMap& expected) {
    ASSERT_EQ(actual.Rows(), expected.Rows());
    ASSERT_EQ(actual.Columns(), expected.Columns());
    for (int32_t i = 0; i < actual.Rows(); ++i) {
      for (int32_t j = 0; j < actual.Columns(); ++j)
        ASSERT_EQ(actual[i][j], expected[i][j]) << i << ", " << j;
    }
  }

  testing_support::NullPlatform platform;
  GlowSettings settings;
  OuterGlowFilterFactory factory;
  std::minstd_rand rng{20240611};
};

TEST_F(SparseGlowTest, WeightsAreThoseOfTheBuiltKernel) {
  for (const Shape& shape : kShapes) {
    factory.SetSpread(static_cast<float>(shape.spread * (1.0 / 255)));
    factory.SetOpacity(static_cast<float>(shape.opacity * (1.0 / 255)));
    for (int32_t radius : {0, 1, 2, 3, 6, 17}) {
      const auto built = factory.BuildGlowFilter(radius);
      for (int32_t dy = -radius; dy <= radius; ++dy) {
        for (int32_t dx = -radius; dx <= radius; ++dx) {
          ASSERT_EQ(GlowKernelWeight(factory, radius, dy, dx),
                    built->Kernel()[radius + dy][radius + dx])
              << radius << " " << int{shape.spread} << " " << dy << ", " << dx;
        }
      }
      EXPECT_EQ(GlowKernelWeight(factory, radius, radius + 1, 0), 0);
      EXPECT_EQ(GlowKernelWeight(factory, radius, 0, -radius - 1), 0);
    }
  }
}

TEST_F(SparseGlowTest, ValuesAreThoseOfTheFilterOverACommonArea) {
  struct Case {
    int32_t radius;
    TPoint origin;
    int32_t rows, columns;
    TRect out;
  };
  const Case cases[] = {
      {2, {0, 0}, 12, 20, {0, 0, 20, 12}},       // the same area: the plain glow
      {3, {-4, -2}, 10, 9, {0, 0, 16, 8}},       // source overlapping the output's corner
      {5, {-20, 3}, 6, 8, {0, 0, 10, 10}},       // source left of the output, partly in reach
      {40, {-60, -50}, 9, 14, {-5, -3, 12, 9}},  // far, with a wide kernel
      {1, {30, 30}, 5, 5, {0, 0, 10, 10}},       // out of reach: all dark
  };
  for (const Case& c : cases) {
    for (const Shape& shape : kShapes) {
      Use(c.radius, shape);
      const ValueMap source = RandomMap(c.rows, c.columns, 3);
      ExpectEqual(ComputeSparseGlowMap(settings, factory, source, c.origin, c.out),
                  ByTheFilter(source, c.origin, c.out));
    }
  }
}

TEST_F(SparseGlowTest, CostDoesNotFollowTheRadius) {
  // A kernel of this radius would hold 2^40 weights; only the offsets between
  // the two small areas are worked out.
  Use(1 << 19, {255, 255});
  ValueMap source = AllocateMap(1, 2);
  source[0][0] = 200, source[0][1] = 0;
  const ValueMap glow = ComputeSparseGlowMap(settings, factory, source, {-300000, 0}, {0, 0, 3, 2});
  EXPECT_EQ(glow[0][0], 200);  // inside the full-weight core
  EXPECT_EQ(glow[1][2], 200);
  EXPECT_EQ(factory.CachedFilter(), nullptr);
}

TEST_F(SparseGlowTest, AnEmptySourceGivesADarkMapOfTheOutputsSize) {
  Use(4, {0, 255});
  const ValueMap glow = ComputeSparseGlowMap(settings, factory, ValueMap(), {0, 0}, {2, 3, 7, 5});
  ASSERT_EQ(glow.Rows(), 2);
  ASSERT_EQ(glow.Columns(), 5);
  for (int32_t i = 0; i < 2; ++i) {
    for (int32_t j = 0; j < 5; ++j) EXPECT_EQ(glow[i][j], 0);
  }
}

}  // namespace
