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
constexpr TRect kTall{0, 0, 1280, 1024};
// A primary screen whose origin is not the desktop's: a second monitor lies left of and above it.
constexpr TRect kShifted{1920, 200, 3200, 1224};
constexpr TRect kShiftedTurned{1920, 200, 2944, 1480};
// The panel's size at each scale the rows use.
constexpr Size kPanel100{341, 113};
constexpr Size kPanel125{426, 141};
constexpr Size kPanel175{597, 198};
constexpr Size kPanel200{682, 226};

TRect At(int32_t left, int32_t top, Size size) {
  return {left, top, left + size.width, top + size.height};
}

struct Starting {
  const char* what;
  TRect screen;
  Size panel;
  int32_t scale;
  bool rightToLeft;
  TPoint expected;
};

TEST(PanelPlacementTest, ThePanelStartsAtTheReadingSideEdgeBelowAMarginThatGrowsWithTheScale) {
  const Starting rows[] = {
      {"100 %", kLandscape, kPanel100, 100, false, {939, 20}},
      {"100 %, right to left", kLandscape, kPanel100, 100, true, {0, 20}},
      {"125 %, odd panel on an odd screen", {0, 0, 1366, 768}, kPanel125, 125, false, {940, 25}},
      {"175 %", kLandscape, kPanel175, 175, false, {683, 35}},
      {"200 %", kLandscape, kPanel200, 200, false, {598, 40}},
      {"200 %, right to left", kLandscape, kPanel200, 200, true, {0, 40}},
      {"screen beside a second monitor", kShifted, kPanel100, 100, false, {2859, 220}},
      {"screen beside a second monitor, right to left",
       kShifted,
       kPanel200,
       200,
       true,
       {1920, 240}},
  };
  for (const Starting& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(panel_placement::StartPlace(row.screen, row.panel, row.scale, row.rightToLeft),
              row.expected);
  }
}

struct PullingBack {
  const char* what;
  TRect screen, window;
  int32_t scale;
  TPoint expected;
};

TEST(PanelPlacementTest, AWindowLeftOutsideIsPulledBackOnlyAcrossTheEdgesItCrossed) {
  const PullingBack rows[] = {
      {"inside", kTall, At(400, 300, kPanel100), 100, {400, 300}},
      {"past the right edge: sideways only, at the dragged height",
       kTall,
       At(1000, 500, kPanel100),
       100,
       {939, 500}},
      {"flush right at the top", kTall, At(939, 0, kPanel100), 100, {939, 0}},
      {"off to the left: parked", kTall, At(-300, 500, kPanel100), 100, {-228, 500}},
      {"right edge at the reach, at the bottom", kTall, At(-227, 911, kPanel100), 100, {-227, 911}},
      {"right edge short of the reach", kTall, At(-229, 400, kPanel100), 100, {-228, 400}},
      {"above the top", kTall, At(100, -5, kPanel100), 100, {100, 0}},
      {"below the bottom", kTall, At(100, 1000, kPanel100), 100, {100, 911}},
      {"past the right and the bottom", kTall, At(1200, 1000, kPanel100), 100, {939, 911}},
      {"off to the left and above", kTall, At(-300, -50, kPanel100), 100, {-228, 0}},
      {"200 %, right edge at the reach", kTall, At(-454, 500, kPanel200), 200, {-454, 500}},
      {"200 %, right edge short of the reach", kTall, At(-455, 500, kPanel200), 200, {-456, 500}},
      {"125 %, reach rounded up", kTall, At(-283, 500, kPanel125), 125, {-283, 500}},
      {"125 %, short of the rounded reach", kTall, At(-284, 500, kPanel125), 125, {-285, 500}},
      {"beside a second monitor, inside", kShifted, At(2000, 300, kPanel100), 100, {2000, 300}},
      {"beside a second monitor, past the right and above",
       kShifted,
       At(3000, 100, kPanel100),
       100,
       {2859, 200}},
      {"beside a second monitor, onto it on the left",
       kShifted,
       At(1600, 1200, kPanel100),
       100,
       {1692, 1111}},
  };
  for (const PullingBack& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(panel_placement::PulledBack(row.screen, row.window, row.scale), row.expected);
  }
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
      {"flush right, quarter turn",
       kLandscape,
       kPortrait,
       At(939, 20, kPanel100),
       kPanel100,
       100,
       100,
       {459, 20}},
      {"flush right, quarter turn back",
       kPortrait,
       kLandscape,
       At(459, 20, kPanel100),
       kPanel100,
       100,
       100,
       {939, 20}},
      {"flush right at 200 %, quarter turn",
       kLandscape,
       kPortrait,
       At(598, 40, kPanel200),
       kPanel200,
       200,
       200,
       {118, 40}},
      {"flush right, larger resolution",
       kLandscape,
       {0, 0, 1920, 1080},
       At(939, 20, kPanel100),
       kPanel100,
       100,
       100,
       {1579, 20}},
      {"dragged, past the right edge of a smaller resolution",
       kLandscape,
       {0, 0, 1024, 768},
       At(800, 400, kPanel100),
       kPanel100,
       100,
       100,
       {683, 400}},
      {"dragged, inside after the turn",
       kPortrait,
       kLandscape,
       At(50, 400, kPanel100),
       kPanel100,
       100,
       100,
       {50, 400}},
      {"dragged, past the new right edge",
       kLandscape,
       kPortrait,
       At(600, 400, kPanel100),
       kPanel100,
       100,
       100,
       {459, 400}},
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
      {"flush right, odd screen turned at 125 %",
       {0, 0, 1366, 768},
       {0, 0, 768, 1366},
       At(940, 25, kPanel125),
       kPanel125,
       125,
       125,
       {342, 25}},
      {"flush right, beside a second monitor, turned",
       kShifted,
       kShiftedTurned,
       At(2859, 220, kPanel100),
       kPanel100,
       100,
       100,
       {2603, 220}},
      {"flush left, the monitor beside it made narrower",
       kShifted,
       {1280, 200, 2560, 1224},
       At(1920, 220, kPanel100),
       kPanel100,
       100,
       100,
       {1280, 220}},
      {"flush right at the margin, the monitor above it removed",
       kShifted,
       {1920, 0, 3200, 1024},
       At(2859, 220, kPanel100),
       kPanel100,
       100,
       100,
       {2859, 20}},
      {"parked, beside a second monitor, doubled",
       kShifted,
       kShifted,
       At(1692, 500, kPanel100),
       kPanel200,
       100,
       200,
       {1464, 500}},
      {"flush right, scale doubled",
       kLandscape,
       kLandscape,
       At(939, 20, kPanel100),
       kPanel200,
       100,
       200,
       {598, 40}},
      {"flush right, scale halved",
       kLandscape,
       kLandscape,
       At(598, 40, kPanel200),
       kPanel100,
       200,
       100,
       {939, 20}},
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
      {"dragged far left, scale halved: parked at the new scale",
       kLandscape,
       kLandscape,
       At(-300, 300, kPanel200),
       kPanel100,
       200,
       100,
       {-228, 300}},
      {"dragged, scale doubled past the bottom",
       kLandscape,
       kLandscape,
       At(400, 600, kPanel100),
       kPanel200,
       100,
       200,
       {400, 574}},
  };
  for (const Reanchoring& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(panel_placement::Reanchored(row.before, row.after, row.window, row.panel,
                                          row.oldScale, row.newScale),
              row.expected);
  }
}

}  // namespace
