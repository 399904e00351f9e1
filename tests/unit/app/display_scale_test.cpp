#include "app/display_scale.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

using display_scale::ChooseScale;
using display_scale::ScaleFolder;
using display_scale::ScalePixels;

bool Every(int32_t /*scale*/) {
  return true;
}

TEST(DisplayScaleTest, TheNearestSetWinsAndATieGoesUp) {
  const std::vector<std::pair<int32_t, int32_t>> cases{
      {96, 100},
      {120, 125},
      {144, 150},
      {168, 175},
      {192, 200},
      {216, 225},
      {240, 250},
      {288, 300},
      {72, 100},
      {107, 100},
      {400, 300},
      {0, 100},
      {-5, 100},
      // Half way between two sets: 112.5 % and 275 %.
      {108, 125},
      {264, 300}};
  for (auto [dpi, scale] : cases) EXPECT_EQ(ChooseScale(dpi, Every), scale) << dpi;
}

TEST(DisplayScaleTest, AMissingSetGivesWayToTheNearestPresentOneAndTheBaseSetIsNeverAsked) {
  std::set<int32_t> present;
  std::vector<int32_t> asked;
  const auto isPresent = [&](int32_t scale) {
    asked.push_back(scale);
    return present.count(scale) != 0;
  };
  present = {175, 225};
  EXPECT_EQ(ChooseScale(192, isPresent), 225) << "175 and 225 are as near to 200";
  present = {175};
  EXPECT_EQ(ChooseScale(192, isPresent), 175);
  present = {300};
  asked.clear();
  EXPECT_EQ(ChooseScale(120, isPresent), 100) << "100 is nearer to 125 than 300 is";
  EXPECT_EQ(asked, (std::vector<int32_t>{125, 150}));
  present = {};
  asked.clear();
  EXPECT_EQ(ChooseScale(288, isPresent), 100);
  EXPECT_EQ(asked, (std::vector<int32_t>{300, 250, 225, 200, 175, 150, 125}));
  asked.clear();
  EXPECT_EQ(ChooseScale(96, isPresent), 100);
  EXPECT_TRUE(asked.empty());
}

TEST(DisplayScaleTest, DistancesRoundHalfUpAndFoldersAreNamedByTheScale) {
  EXPECT_EQ(ScalePixels(20, 200), 40);
  EXPECT_EQ(ScalePixels(3, 125), 4);      // 3.75
  EXPECT_EQ(ScalePixels(3, 150), 5);      // 4.5
  EXPECT_EQ(ScalePixels(114, 125), 143);  // 142.5
  EXPECT_EQ(ScalePixels(341, 175), 597);  // 596.75
  EXPECT_EQ(ScalePixels(1, 125), 1);      // 1.25
  EXPECT_EQ(ScalePixels(-228, 125), -285);
  EXPECT_EQ(ScalePixels(-3, 150), -4);  // -4.5
  EXPECT_EQ(ScalePixels(-228, 200), -456);
  EXPECT_EQ(ScalePixels(113, 100), 113);
  EXPECT_EQ(ScaleFolder(100), L"");
  EXPECT_EQ(ScaleFolder(200), L"scale-200\\");
  EXPECT_EQ(ScaleFolder(125), L"scale-125\\");
}

}  // namespace
