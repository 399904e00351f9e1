#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "platform/types.h"

namespace {

using platform::Rect;

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

TEST(RectTest, EdgesOutsideTheInt32RangeSaturateInsteadOfWrapping) {
  const Rect wide{kMin, -5, kMax, 5};
  EXPECT_EQ(wide.Width(), kMax);
  EXPECT_EQ(wide.Height(), 10);
  EXPECT_EQ(wide.Translated(10, -10), (Rect{kMin + 10, -15, kMax, -5}));
  EXPECT_EQ(Rect::OfSize(4, 4).Translated(kMax, 0), (Rect{kMax, 0, kMax, 4}));
  EXPECT_EQ(Rect::OfSize(4, 6).Inflated(-1), (Rect{1, 1, 3, 5}));
}

TEST(RectTest, RightAndBottomAreOutsideAndRectanglesThatDoNotMeetLeaveNothing) {
  const Rect r{2, 3, 6, 8};
  EXPECT_TRUE(r.Contains(2, 3));
  EXPECT_FALSE(r.Contains(6, 3));
  EXPECT_FALSE(r.Contains(2, 8));
  EXPECT_EQ(r.Intersected({4, 0, 10, 5}), (Rect{4, 3, 6, 5}));
  EXPECT_TRUE(r.Intersected({6, 3, 9, 8}).IsEmpty());
  EXPECT_TRUE(Rect{}.IsEmpty());
}

}  // namespace
