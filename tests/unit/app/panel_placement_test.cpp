#include "app/panel_placement.h"

#include <gtest/gtest.h>

#include <ostream>

static void PrintTo(const TPoint& point, std::ostream* out) {
  *out << "(" << point.X << ", " << point.Y << ")";
}

namespace {

using panel_placement::Size;

constexpr TRect kLandscape{0, 0, 1280, 800};
constexpr TRect kPortrait{0, 0, 800, 1280};
constexpr Size kPanel100{341, 113};
constexpr Size kPanel200{682, 226};

TRect At(int32_t left, int32_t top, Size size) {
  return {left, top, left + size.width, top + size.height};
}

struct Reanchoring {
  const char* what;
  TRect before, after, window;
  Size panel;
  int32_t oldScale, newScale;
  TPoint expected;
};

TEST(PanelPlacementTest, AChangedScreenOrScaleKeepsTheEdgeTheWindowHadOrItsPlaceInside) {
  const Reanchoring rows[] = {
      {"dragged, below the new bottom",
       kPortrait,
       kLandscape,
       At(400, 1000, kPanel100),
       kPanel100,
       100,
       100,
       {400, 687}},
      {"parked", kLandscape, kPortrait, At(-228, 300, kPanel100), kPanel100, 100, 100, {-228, 300}},
      {"flush left", kLandscape, kPortrait, At(0, 20, kPanel100), kPanel100, 100, 100, {0, 20}},
      {"flush right, scale doubled",
       kLandscape,
       kLandscape,
       At(939, 20, kPanel100),
       kPanel200,
       100,
       200,
       {598, 40}},
      {"parked, scale doubled",
       kLandscape,
       kLandscape,
       At(-228, 300, kPanel100),
       kPanel200,
       100,
       200,
       {-456, 300}},
      {"dragged, scale halved",
       kLandscape,
       kLandscape,
       At(400, 40, kPanel200),
       kPanel100,
       200,
       100,
       {400, 20}},
  };
  for (const Reanchoring& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(panel_placement::Reanchored(row.before, row.after, row.window, row.panel,
                                          row.oldScale, row.newScale),
              row.expected);
  }
}

}  // namespace
