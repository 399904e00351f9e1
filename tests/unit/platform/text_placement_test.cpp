#include "platform/text_placement.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using platform::HorizontalPlacement;
using platform::Rect;
using platform::TextLayout;
using platform::VerticalPlacement;

constexpr HorizontalPlacement kLeft = HorizontalPlacement::kLeft,
                              kCentre = HorizontalPlacement::kCentre,
                              kRight = HorizontalPlacement::kRight;
constexpr VerticalPlacement kTop = VerticalPlacement::kTop, kMiddle = VerticalPlacement::kCentre,
                            kBottom = VerticalPlacement::kBottom;

TEST(TextPlacementTest, PlacesLinesAndBlocksAsDrawTextDoes) {
  const Rect box{10, 20, 110, 70};  // 100 x 50
  const Rect everything{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
  const struct {
    HorizontalPlacement horizontal;
    VerticalPlacement vertical;
    bool singleLine;
    Rect rect;
    int64_t width, height, left, top;
    int32_t answer;
  } cases[] = {
      {kLeft, kTop, false, box, 40, 10, 10, 20, 10},
      {kCentre, kMiddle, true, box, 40, 10, 40, 40, 30},
      {kRight, kBottom, true, box, 40, 10, 70, 60, 50},
      // Only a single line goes down the rectangle.
      {kCentre, kBottom, false, box, 41, 30, 39, 20, 30},
      // Wider and taller than the rectangle: the smaller half overhangs left and top.
      {kCentre, kMiddle, true, box, 105, 55, 8, 18, 53},
      {kRight, kBottom, true, box, 105, 55, 5, 15, 50},
      // Far rectangles neither overflow nor answer more than 32 bits hold.
      {kCentre, kBottom, true, everything, 1, 10, -1, INT32_MAX - 10, INT32_MAX},
  };
  for (const auto& c : cases) {
    const TextLayout layout{
        .horizontal = c.horizontal, .vertical = c.vertical, .singleLine = c.singleLine};
    SCOPED_TRACE(testing::Message() << c.rect.left << ", " << c.width << " x " << c.height);
    EXPECT_EQ(platform::LineLeft(c.rect, c.width, c.horizontal), c.left);
    EXPECT_EQ(platform::BlockTop(c.rect, c.height, layout), c.top);
    EXPECT_EQ(platform::DrawnHeight(c.rect, c.height, layout), c.answer);
  }
}

TEST(TextPlacementTest, MeasuresAndClipsAsDrawTextDoes) {
  EXPECT_EQ(platform::MeasuredRect({10, 20, 0, 0}, 40, 10), (Rect{10, 20, 50, 30}));
  EXPECT_EQ(platform::MeasuredRect({INT32_MAX - 5, 0, 0, 0}, 40, 10),
            (Rect{INT32_MAX - 5, 0, INT32_MAX, 10}));

  const platform::PixelBuffer target{nullptr, 100, 50, 400, 4};
  const TextLayout clipped, unclipped{.noClip = true};
  EXPECT_EQ(platform::DrawingArea({-30, 5, 60, 15}, clipped, target), (Rect{0, 5, 60, 15}));
  EXPECT_EQ(platform::DrawingArea({-30, 5, 60, 15}, unclipped, target), (Rect{0, 0, 100, 50}));
  const Rect beyond = platform::DrawingArea({120, 60, 130, 40}, clipped, target);
  EXPECT_EQ(beyond.right, beyond.left);
  EXPECT_EQ(beyond.bottom, beyond.top);
}

}  // namespace
