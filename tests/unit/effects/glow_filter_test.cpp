#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <stdexcept>
#include <vector>

#include "effects/filter.h"
#include "effects/glow_filter_factory.h"

namespace {

using Rows = std::vector<std::vector<int32_t>>;

Rows KernelOf(const Filter& filter) {
  const auto& kernel = dynamic_cast<const NeighborWeightedFilter&>(filter).Kernel();
  Rows rows;
  for (int32_t i = 0; i < kernel.Rows(); ++i)
    rows.emplace_back(kernel[i], kernel[i] + kernel.Columns());
  return rows;
}

Filter& GlowFilter(OuterGlowFilterFactory& factory, int32_t radius, float spread, float opacity) {
  factory.SetSpread(spread);
  factory.SetOpacity(opacity);
  return factory.CreateFilter(radius);
}

ValueMap MapOf(const Rows& rows) {
  ValueMap map(static_cast<int32_t>(rows.size()), static_cast<int32_t>(rows[0].size()));
  for (size_t i = 0; i < rows.size(); ++i) {
    for (size_t j = 0; j < rows[i].size(); ++j) map[static_cast<int32_t>(i)][j] = rows[i][j];
  }
  return map;
}

Rows Filtered(const Filter& filter, const ValueMap& source) {
  ValueMap dest(source.Rows(), source.Columns());
  ApplyToMap(filter, source, 0, 0, source.Rows(), source.Columns(), dest, 0, 0);
  Rows rows;
  for (int32_t i = 0; i < dest.Rows(); ++i) rows.emplace_back(dest[i], dest[i] + dest.Columns());
  return rows;
}

TEST(GlowKernelTest, RadiusZeroIsTheSingleFullWeight) {
  OuterGlowFilterFactory factory;
  EXPECT_EQ(KernelOf(GlowFilter(factory, 0, 0.0F, 1.0F)), (Rows{{256}}));
  EXPECT_EQ(KernelOf(GlowFilter(factory, 0, 0.0F, 0.5F)), (Rows{{128}}));
}

TEST(GlowKernelTest, RadiusOneFallsOffAsAGaussian) {
  OuterGlowFilterFactory factory;
  EXPECT_EQ(KernelOf(GlowFilter(factory, 1, 0.0F, 1.0F)),
            (Rows{{155, 199, 155}, {199, 256, 199}, {155, 199, 155}}));
}

TEST(GlowKernelTest, RadiusTwoWeightForWeight) {
  OuterGlowFilterFactory factory;
  EXPECT_EQ(KernelOf(GlowFilter(factory, 2, 0.0F, 1.0F)), (Rows{{67, 111, 131, 111, 67},
                                                                {111, 183, 216, 183, 111},
                                                                {131, 216, 256, 216, 131},
                                                                {111, 183, 216, 183, 111},
                                                                {67, 111, 131, 111, 67}}));
}

TEST(GlowKernelTest, SpreadGivesAFullWeightCore) {
  OuterGlowFilterFactory factory;
  // Spread 128 of 255: the core reaches 1.5059 pixels, so the 3 x 3 block around
  // the centre is full and only the falloff outside it is Gaussian.
  const float spread = static_cast<float>(128 * (1.0 / 255));
  EXPECT_EQ(KernelOf(GlowFilter(factory, 3, spread, 1.0F)),
            (Rows{{57, 105, 147, 163, 147, 105, 57},
                  {105, 180, 230, 243, 230, 180, 105},
                  {147, 230, 256, 256, 256, 230, 147},
                  {163, 243, 256, 256, 256, 243, 163},
                  {147, 230, 256, 256, 256, 230, 147},
                  {105, 180, 230, 243, 230, 180, 105},
                  {57, 105, 147, 163, 147, 105, 57}}));
}

TEST(GlowKernelTest, OpacityZeroWeighsNothing) {
  OuterGlowFilterFactory factory;
  for (const auto& row : KernelOf(GlowFilter(factory, 4, 0.3F, 0.0F))) {
    for (int32_t weight : row) EXPECT_EQ(weight, 0);
  }
  EXPECT_EQ(Filtered(factory.CreateFilter(4), MapOf({{255, 255}, {255, 255}})),
            (Rows{{0, 0}, {0, 0}}));
}

TEST(GlowKernelTest, NegativeRadiusBuildsTheRadiusZeroKernel) {
  OuterGlowFilterFactory factory;
  EXPECT_EQ(KernelOf(GlowFilter(factory, -3, 0.0F, 1.0F)), (Rows{{256}}));
}

TEST(GlowFilterTest, RadiusZeroAtFullOpacityCopiesTheMap) {
  OuterGlowFilterFactory factory;
  const Rows values{{0, 17, 255}, {128, 1, 200}};
  EXPECT_EQ(Filtered(GlowFilter(factory, 0, 0.0F, 1.0F), MapOf(values)), values);
}

TEST(GlowFilterTest, TakesTheStrongestContributionNotTheSum) {
  OuterGlowFilterFactory factory;
  const Filter& filter = GlowFilter(factory, 1, 0.0F, 1.0F);
  // A white pixel gives 255 at its place and 255 * 199 / 256 = 198 beside it;
  // more white neighbours do not add up.
  EXPECT_EQ(Filtered(filter, MapOf({{0, 0, 0}, {0, 255, 0}, {0, 0, 0}})),
            (Rows{{154, 198, 154}, {198, 255, 198}, {154, 198, 154}}));
  EXPECT_EQ(Filtered(filter, MapOf({{255, 0, 255}, {0, 0, 0}, {255, 0, 255}})),
            (Rows{{255, 198, 255}, {198, 154, 198}, {255, 198, 255}}));
}

TEST(GlowFilterTest, BorderCellsAreNotDarkened) {
  OuterGlowFilterFactory factory;
  const Filter& filter = GlowFilter(factory, 2, 0.0F, 1.0F);
  // The same white pixel in a corner and in the middle gives the same values
  // at the same offsets: nothing dark is assumed beyond the area.
  const Rows corner = Filtered(filter, MapOf({{255, 0, 0}, {0, 0, 0}, {0, 0, 0}}));
  EXPECT_EQ(corner, (Rows{{255, 215, 130}, {215, 182, 110}, {130, 110, 66}}));
  const Rows middle =
      Filtered(filter, MapOf({{0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}, {0, 0, 255, 0, 0}}));
  EXPECT_EQ(middle[2][2], corner[0][0]);
  EXPECT_EQ(middle[0][4], corner[2][2]);
}

TEST(GlowFilterTest, DividesTruncatingTowardZero) {
  ValueMap kernel(1, 1);
  kernel[0][0] = 1;
  NeighborWeightedFilter filter(std::move(kernel), 0, 0, 256);
  EXPECT_EQ(Filtered(filter, MapOf({{255, 256, 511, 512}})), (Rows{{0, 1, 1, 2}}));
}

TEST(GlowFilterTest, WeightsOutsideTheGlowRangeGiveTheSameResults) {
  // Weights above 256 and values above 255 take the per-cell loop; the results
  // are those of ApplyAt either way.
  ValueMap kernel(3, 5);
  const Rows weights{{1, 300, 2, 0, 7}, {9, 1000, 3, 4, 5}, {0, 0, 6, 0, 8}};
  for (int32_t i = 0; i < 3; ++i) {
    for (int32_t j = 0; j < 5; ++j)
      kernel[i][j] = weights[static_cast<size_t>(i)][static_cast<size_t>(j)];
  }
  NeighborWeightedFilter filter(std::move(kernel), 1, 2, 100);
  const ValueMap source = MapOf({{3, 900, 0, 4}, {70, 0, 1, 2}, {0, 5, 6, 7000}});
  const Rows result = Filtered(filter, source);
  for (int32_t i = 0; i < 3; ++i) {
    for (int32_t j = 0; j < 4; ++j) {
      EXPECT_EQ(result[static_cast<size_t>(i)][static_cast<size_t>(j)],
                filter.ApplyAt(source, 0, 0, 3, 4, i, j));
    }
  }
  EXPECT_EQ(result[0][2], 900 * 1000 / 100);
}

TEST(GlowFilterTest, AnyKernelInTheGlowRangeGivesThePerCellValues) {
  // Uneven radii, lopsided weights and zeros, on areas offset inside larger maps.
  std::mt19937 random(7);
  for (int round = 0; round < 40; ++round) {
    const auto rowRadius = static_cast<int32_t>(random() % 5),
               colRadius = static_cast<int32_t>(random() % 7);
    ValueMap kernel(2 * rowRadius + 1, 2 * colRadius + 1);
    for (int32_t i = 0; i < kernel.Rows(); ++i) {
      for (int32_t j = 0; j < kernel.Columns(); ++j)
        kernel[i][j] = random() % 3 == 0 ? 0 : static_cast<int32_t>(random() % 257);
    }
    NeighborWeightedFilter filter(std::move(kernel), rowRadius, colRadius, 256);
    const auto rows = static_cast<int32_t>(1 + random() % 12),
               cols = static_cast<int32_t>(1 + random() % 30);
    ValueMap source(rows + 3, cols + 2), dest(rows + 1, cols + 4);
    for (int32_t i = 0; i < source.Rows(); ++i) {
      for (int32_t j = 0; j < source.Columns(); ++j)
        source[i][j] = random() % 4 == 0 ? static_cast<int32_t>(random() % 256) : 0;
    }
    ApplyToMap(filter, source, 2, 1, rows, cols, dest, 1, 3);
    for (int32_t i = 0; i < rows; ++i) {
      for (int32_t j = 0; j < cols; ++j) {
        ASSERT_EQ(dest[1 + i][3 + j], filter.ApplyAt(source, 2, 1, rows, cols, i, j))
            << round << ": " << i << ", " << j;
      }
    }
  }
}

TEST(GlowFilterTest, AnAreaOutsideItsMapIsRefused) {
  OuterGlowFilterFactory factory;
  const Filter& filter = factory.CreateFilter(1);
  ValueMap source(4, 4), dest(4, 4);
  EXPECT_THROW(ApplyToMap(filter, source, 1, 0, 4, 4, dest, 0, 0), std::out_of_range);
  EXPECT_THROW(ApplyToMap(filter, source, 0, 0, 4, 4, dest, 0, -1), std::out_of_range);
  EXPECT_NO_THROW(ApplyToMap(filter, source, 0, 0, 0, 4, dest, 0, 0));
}

TEST(GlowFactoryCacheTest, EqualSettingsKeepTheCachedFilter) {
  OuterGlowFilterFactory factory;
  Filter& first = GlowFilter(factory, 2, 0.25F, 0.5F);
  factory.ReleaseFilter(first);
  EXPECT_EQ(factory.CachedFilter(), &first);  // a release keeps it for the next paint
  Filter& second = GlowFilter(factory, 2, 0.25F, 0.5F);
  EXPECT_EQ(&first, &second);
  EXPECT_EQ(factory.CachedFilter(), &second);
}

TEST(GlowFactoryCacheTest, AChangedSettingOrRadiusRebuilds) {
  OuterGlowFilterFactory factory;
  GlowFilter(factory, 2, 0.0F, 1.0F);
  factory.SetSpread(0.5F);
  EXPECT_EQ(factory.CachedFilter(), nullptr);
  factory.CreateFilter(2);
  factory.SetOpacity(0.75F);
  EXPECT_EQ(factory.CachedFilter(), nullptr);
  const Filter& rebuilt = factory.CreateFilter(2);
  EXPECT_EQ(factory.CachedFilter(), &rebuilt);
  const Filter& wider = factory.CreateFilter(3);
  EXPECT_EQ(factory.CachedFilter(), &wider);
  EXPECT_EQ(dynamic_cast<const NeighborWeightedFilter&>(wider).RowRadius(), 3);
  EXPECT_EQ(KernelOf(wider)[3][3], 192);
}

TEST(GlowFactoryCacheTest, NaNAlwaysCountsAsAChange) {
  OuterGlowFilterFactory factory;
  factory.CreateFilter(1);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  factory.SetOpacity(nan);
  EXPECT_TRUE(std::isnan(factory.OpacityFraction()));
  factory.CreateFilter(1);
  factory.SetOpacity(nan);
  EXPECT_EQ(factory.CachedFilter(), nullptr);
  // A NaN weight does not crash the kernel build; it weighs nothing.
  EXPECT_EQ(KernelOf(factory.CreateFilter(0)), (Rows{{0}}));
}

}  // namespace
