// The program's screen watching on a real Xvfb (DISPLAY is set by
// tests/support/xservers.py), changed through xrandr, which ends only after the server
// handled its requests and so sent their events.
// GoogleTest comes first: Xlib defines None as a macro.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/x11/desktop_watcher.h"
#include "platform/x11/event_loop.h"
#include "platform/x11/x11_connection.h"

namespace {

using Area = std::array<int32_t, 4>;   // left, top, width, height
using Change = std::pair<Area, Area>;  // the primary area before and now
constexpr Area kWhole{0, 0, 1024, 768};

void Xrandr(const std::string& arguments) {
  ASSERT_EQ(std::system(("xrandr " + arguments).c_str()), 0) << arguments;
}

class ScreenWatching : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(connection.Valid()) << "no X display";
    desktop.onScreenChange = [this](const auto& before, const auto& now) {
      changes.push_back({{before.left, before.top, before.Width(), before.Height()},
                         {now.left, now.top, now.Width(), now.Height()}});
    };
  }
  void HandleQueued() {
    loop.RunUntil([&] { return XPending(connection.Get()) == 0; });
  }
  // The timer only ends a wait for a change that never comes.
  void RunUntilChanges(size_t count) {
    bool givenUp = false;
    const auto timer = loop.StartTimer(10000, [&] { givenUp = true; });
    loop.RunUntil([&] { return givenUp || changes.size() >= count; });
    loop.StopTimer(timer);
  }

  platform::x11::X11Connection connection;
  platform::x11::EventLoop loop{connection};
  platform::x11::DesktopWatcher desktop{connection, loop};
  std::vector<Change> changes;
};

TEST_F(ScreenWatching, APrimaryAreaChangeIsToldOnceAndNothingElse) {
  const Area first{200, 100, 500, 300}, second{100, 50, 600, 400};
  Xrandr("--setmonitor '*inner' 500/130x300/80+200+100 none");
  RunUntilChanges(1);
  // A monitor that is not primary leaves the area as it is.
  Xrandr("--setmonitor side 300/80x200/60+0+0 none");
  HandleQueued();
  EXPECT_EQ(changes.size(), 1u);
  // Changes made before the loop runs are told by where they ended.
  Xrandr("--delmonitor inner");
  Xrandr("--setmonitor '*inner' 600/160x400/110+100+50 none");
  RunUntilChanges(2);
  Xrandr("--delmonitor inner");
  Xrandr("--delmonitor side");
  RunUntilChanges(3);
  EXPECT_EQ(changes, (std::vector<Change>{{kWhole, first}, {first, second}, {second, kWhole}}));
}

TEST_F(ScreenWatching, WithoutACrtcTheAreaIsTheScreensAsXlibKnowsIt) {
  Xrandr("--output screen --off --fb 800x600");
  RunUntilChanges(1);
  Xrandr("--output screen --auto");
  RunUntilChanges(2);
  const Area small{0, 0, 800, 600};
  EXPECT_EQ(changes, (std::vector<Change>{{kWhole, small}, {small, kWhole}}));
}

}  // namespace
