#include <optional>
#include <ostream>

#include <gtest/gtest.h>

#include "rotation/linux_desktop/wlr_heads.h"

namespace quillet::linux_desktop {

// Only for this file's failure messages (found by argument lookup).
static void PrintTo(const DesktopOutput& o, std::ostream* out) {
  *out << o.name << (o.builtIn ? " built-in" : "") << (o.enabled ? " on " : " off ") << o.width
       << "x" << o.height << "+" << o.x << "+" << o.y << " transform " << o.transform;
}
static void PrintTo(const WlrHeadRequest& r, std::ostream* out) {
  *out << (r.enable ? "enable" : "disable") << (r.currentMode ? " current mode" : "") << " custom "
       << r.customWidth << "x" << r.customHeight << " at " << r.x << "," << r.y << " transform "
       << r.transform << " scale " << r.scale;
}

}  // namespace quillet::linux_desktop

namespace rotation_testing {
namespace {

using quillet::linux_desktop::DesktopOutput;
using quillet::linux_desktop::WlrHead;
using quillet::linux_desktop::WlrHeadRequest;
using quillet::linux_desktop::WlrLiveOutput;

TEST(WlrHeads, ReadsEachHeadAsTheCompositorRunsItAndSendsItBackWhole) {
  struct Case {
    const char* what;
    WlrHead head;
    std::optional<WlrLiveOutput> live;
    DesktopOutput read;
    WlrHeadRequest turned;  // the request for the read output turned a quarter at (5, 6)
  };
  const Case cases[] = {
      {"a mode object, scaled as wlroots scales (in floats, cut)",
       {"eDP-1", true, true, 1366, 768, 0, 0, 0, 1.25},
       std::nullopt,
       {"eDP-1", true, true, 0, 0, 1092, 614, 0},
       {true, true, 0, 0, 5, 6, 1, 1.25}},
      {"no mode object: a custom mode of the size its wl_output shows",
       {"WL-1", true, false, 0, 0, 1280, 0, 2, 2.0},
       WlrLiveOutput{1920, 1080, 2, 1280, 0, 960, 540},
       {"WL-1", false, true, 1280, 0, 960, 540, 2},
       {true, false, 1920, 1080, 5, 6, 1, 2.0}},
      {"reported disabled while its wl_output is live: as the wl_output shows it",
       {"HEADLESS-1", false, true, 0, 0, 0, 0, 0, 1.0},
       WlrLiveOutput{1920, 1080, 1, 10, 20, 720, 1280},
       {"HEADLESS-1", false, true, 10, 20, 1280, 720, 1},
       {true, false, 1920, 1080, 5, 6, 1, 1.5}},
      {"disabled and not shown: stays disabled",
       {"DP-3", false, false, 0, 0, 0, 0, 0, 1.0},
       std::nullopt,
       {"DP-3", false, false, 0, 0, 0, 0, 0},
       {false, false, 0, 0, 0, 0, 0, 1.0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const WlrHead running = quillet::linux_desktop::RunningHead(c.head, c.live);
    const DesktopOutput read = quillet::linux_desktop::OutputOfHead(running);
    EXPECT_EQ(read, c.read);
    DesktopOutput wanted = read;
    if (wanted.enabled) wanted = {read.name, read.builtIn, true, 5, 6, read.width, read.height, 1};
    EXPECT_EQ(quillet::linux_desktop::RequestForHead(running, wanted), c.turned);
  }
}

}  // namespace
}  // namespace rotation_testing
