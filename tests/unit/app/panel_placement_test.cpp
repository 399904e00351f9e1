#include "app/panel_placement.h"

#include <gtest/gtest.h>

#include <ostream>

#include "app/display_scale.h"

static void PrintTo(const TPoint& point, std::ostream* out) {
  *out << "(" << point.X << ", " << point.Y << ")";
}

namespace {

using panel_placement::Size;

constexpr TRect kLandscape{0, 0, 1280, 800};
constexpr TRect kPortrait{0, 0, 800, 1280};
constexpr TRect kTall{0, 0, 1280, 1024};
constexpr TRect kFullHd{0, 0, 1920, 1080};
constexpr TRect kSmall{0, 0, 1024, 768};
constexpr TRect kOdd{0, 0, 1366, 768};
constexpr TRect kOddTurned{0, 0, 768, 1366};
// "Beside": a primary screen whose origin is not the desktop's, a second monitor left of and
// above it.
constexpr TRect kBeside{1920, 200, 3200, 1224};
constexpr TRect kBesideTurned{1920, 200, 2944, 1480};
constexpr TRect kBesideLeft{1280, 200, 2560, 1224};  // the monitor on the left made narrower
constexpr TRect kBesideUp{1920, 0, 3200, 1024};      // the monitor above removed

// The panel's size at a scale: 341 by 113 at 100 %, odd at 125 % (426 by 141) and 175 %.
Size PanelAt(int32_t scale) {
  return {display_scale::ScalePixels(341, scale), display_scale::ScalePixels(113, scale)};
}

TRect WindowAt(TPoint topLeft, int32_t scale) {
  const Size size = PanelAt(scale);
  return {topLeft.X, topLeft.Y, topLeft.X + size.width, topLeft.Y + size.height};
}

struct Starting {
  const char* what;
  TRect screen;
  int32_t scale;
  bool rightToLeft;
  TPoint expected;
};

TEST(PanelPlacementTest, ThePanelStartsAtTheReadingSideEdgeBelowAMarginThatGrowsWithTheScale) {
  const Starting rows[] = {
      {"100 %", kLandscape, 100, false, {939, 20}},
      {"100 %, right to left", kLandscape, 100, true, {0, 20}},
      {"125 %, odd panel on an odd screen", kOdd, 125, false, {940, 25}},
      {"175 %", kLandscape, 175, false, {683, 35}},
      {"200 %", kLandscape, 200, false, {598, 40}},
      {"200 %, right to left", kLandscape, 200, true, {0, 40}},
      {"beside a second monitor", kBeside, 100, false, {2859, 220}},
      {"beside a second monitor, right to left", kBeside, 200, true, {1920, 240}},
  };
  for (const Starting& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(
        panel_placement::StartPlace(row.screen, PanelAt(row.scale), row.scale, row.rightToLeft),
        row.expected);
  }
}

struct PullingBack {
  const char* what;
  TRect screen;
  TPoint window;
  int32_t scale;
  TPoint expected;
};

TEST(PanelPlacementTest, AWindowLeftOutsideIsPulledBackOnlyAcrossTheEdgesItCrossed) {
  const PullingBack rows[] = {
      {"inside", kTall, {400, 300}, 100, {400, 300}},
      {"past the right: sideways, at the dragged height", kTall, {1000, 500}, 100, {939, 500}},
      {"flush right at the top", kTall, {939, 0}, 100, {939, 0}},
      {"off to the left: parked", kTall, {-300, 500}, 100, {-228, 500}},
      {"right edge at the reach, at the bottom", kTall, {-227, 911}, 100, {-227, 911}},
      {"right edge short of the reach", kTall, {-229, 400}, 100, {-228, 400}},
      {"above the top", kTall, {100, -5}, 100, {100, 0}},
      {"below the bottom", kTall, {100, 1000}, 100, {100, 911}},
      {"past the right and the bottom", kTall, {1200, 1000}, 100, {939, 911}},
      {"off to the left and above", kTall, {-300, -50}, 100, {-228, 0}},
      {"200 %, right edge at the reach", kTall, {-454, 500}, 200, {-454, 500}},
      {"200 %, right edge short of the reach", kTall, {-455, 500}, 200, {-456, 500}},
      {"125 %, reach rounded up", kTall, {-283, 500}, 125, {-283, 500}},
      {"125 %, short of the rounded reach", kTall, {-284, 500}, 125, {-285, 500}},
      {"beside, inside", kBeside, {2000, 300}, 100, {2000, 300}},
      {"beside, past the right and above", kBeside, {3000, 100}, 100, {2859, 200}},
      {"beside, onto the other monitor", kBeside, {1600, 1200}, 100, {1692, 1111}},
  };
  for (const PullingBack& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(panel_placement::PulledBack(row.screen, WindowAt(row.window, row.scale), row.scale),
              row.expected);
  }
}

struct Reanchoring {
  const char* what;
  TRect before, after;
  TPoint window;
  int32_t oldScale, newScale;
  TPoint expected;
};

TEST(PanelPlacementTest, AChangedScreenOrScaleKeepsTheEdgeTheWindowHadOrItsPlaceInside) {
  const Reanchoring rows[] = {
      {"flush right, quarter turn", kLandscape, kPortrait, {939, 20}, 100, 100, {459, 20}},
      {"flush right, quarter turn back", kPortrait, kLandscape, {459, 20}, 100, 100, {939, 20}},
      {"flush right at 200 %, quarter turn", kLandscape, kPortrait, {598, 40}, 200, 200, {118, 40}},
      {"flush right, larger resolution", kLandscape, kFullHd, {939, 20}, 100, 100, {1579, 20}},
      {"smaller resolution, dragged past it", kLandscape, kSmall, {800, 400}, 100, 100, {683, 400}},
      {"dragged, inside after the turn", kPortrait, kLandscape, {50, 400}, 100, 100, {50, 400}},
      {"dragged, past the new right", kLandscape, kPortrait, {600, 400}, 100, 100, {459, 400}},
      {"dragged, below the new bottom", kPortrait, kLandscape, {400, 1000}, 100, 100, {400, 687}},
      {"parked", kLandscape, kPortrait, {-228, 300}, 100, 100, {-228, 300}},
      {"flush left", kLandscape, kPortrait, {0, 20}, 100, 100, {0, 20}},
      {"flush right, odd screen, 125 %", kOdd, kOddTurned, {940, 25}, 125, 125, {342, 25}},
      {"beside, flush right, turned", kBeside, kBesideTurned, {2859, 220}, 100, 100, {2603, 220}},
      {"beside, flush left, narrower", kBeside, kBesideLeft, {1920, 220}, 100, 100, {1280, 220}},
      {"beside, top margin, upper gone", kBeside, kBesideUp, {2859, 220}, 100, 100, {2859, 20}},
      {"beside, parked, doubled", kBeside, kBeside, {1692, 500}, 100, 200, {1464, 500}},
      {"flush right, scale doubled", kLandscape, kLandscape, {939, 20}, 100, 200, {598, 40}},
      {"flush right, scale halved", kLandscape, kLandscape, {598, 40}, 200, 100, {939, 20}},
      {"parked, scale doubled", kLandscape, kLandscape, {-228, 300}, 100, 200, {-456, 300}},
      {"dragged, scale halved", kLandscape, kLandscape, {400, 40}, 200, 100, {400, 20}},
      {"far left, halved: parked", kLandscape, kLandscape, {-300, 300}, 200, 100, {-228, 300}},
      {"doubled past the bottom", kLandscape, kLandscape, {400, 600}, 100, 200, {400, 574}},
  };
  for (const Reanchoring& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(panel_placement::Reanchored(row.before, row.after, WindowAt(row.window, row.oldScale),
                                          PanelAt(row.newScale), row.oldScale, row.newScale),
              row.expected);
  }
}

}  // namespace
