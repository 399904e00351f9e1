#include <gtest/gtest.h>

#include <algorithm>
#include <new>
#include <stdexcept>

#include "base/bitmap.h"
#include "director_fixture.h"
#include "gs/button_appearance.h"

namespace director_testing {
namespace {

// --- states and animation -----------------------------------------------------

struct Looks {
  bool stage1, stage2, close, turnLeft, turnRight, lock, unlock, turnLeftEnabled, turnRightEnabled;
  friend bool operator==(const Looks&, const Looks&) = default;
};

Looks LooksOf(const DirectorProbe& d) {
  return {d.Stage1Button()->Visible(),    d.Stage2Button()->Visible(),
          d.CloseButton()->Visible(),     d.TurnLeftButton()->Visible(),
          d.TurnRightButton()->Visible(), d.LockButton()->Visible(),
          d.UnlockButton()->Visible(),    d.TurnLeftButton()->Enabled(),
          d.TurnRightButton()->Enabled()};
}

constexpr Looks kCollapsed{true, false, false, false, false, false, false, false, false};
constexpr Looks kExpandedLocked{false, true, true, true, true, true, false, false, false};
constexpr Looks kExpandedUnlocked{false, true, true, true, true, false, true, true, true};

// The lock shows while automatic rotation is off, and when its state cannot be read.
TEST_F(DirectorTest, EachStateShowsItsButtonsAndRunsItsTimer) {
  const struct {
    const char* what;
    int32_t autoOn;
    bool readable;
    Looks expanded;
  } rows[] = {{"automatic rotation off", 0, true, kExpandedLocked},
              {"automatic rotation on", 1, true, kExpandedUnlocked},
              {"automatic rotation unreadable", 1, false, kExpandedLocked}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    FakeRotation::autoOn = row.autoOn;
    if (!row.readable) platform.libraries.available[kLibrary].exports.erase("RT_GetAutoRotationOn");
    application.reset();
    application = std::make_unique<TApplication>();
    const DirectorProbe director = Start();
    EXPECT_EQ(LooksOf(director), kCollapsed);
    EXPECT_TRUE(director.ExpandedImage()->Picture().Empty()) << "held only while expanded";
    Expand();
    EXPECT_EQ(director.Root(), director.ExpandedImage());
    EXPECT_EQ(director.ExpandedImage()->Width(), 341);
    EXPECT_EQ(LooksOf(director), row.expanded);
    EXPECT_TRUE(TimerRunning(100));
    EXPECT_FALSE(TimerRunning(3000));
    Click(director.Stage2Button());
    EXPECT_EQ(director.Root(), director.CollapsedImage());
    EXPECT_TRUE(director.ExpandedImage()->Picture().Empty());
    EXPECT_EQ(LooksOf(director), kCollapsed);
    EXPECT_FALSE(TimerRunning(100));
    EXPECT_TRUE(TimerRunning(3000));
  }
}

TEST_F(DirectorTest, LeavingTheWindowWhileExpandedLeavesTheIdleTimerOff) {
  const DirectorProbe director = Start();
  Expand();
  Events().HandleMouseLeave();
  EXPECT_EQ(director.PanelState(), State::StateExpanded);
  EXPECT_FALSE(TimerRunning(3000));
  platform.timers.FireInterval(3000);
  EXPECT_FALSE(director.IdleLookShown());
}

TEST_F(DirectorTest, AClickThatChangesNoStateChangesNothing) {
  const DirectorProbe director = Start();
  const size_t pushes = platform.windows.pushes.size();
  const size_t sleeps = platform.system.sleeps.size();
  FakeRotation::calls.clear();
  Click(100, 50);  // on the collapsed background, beside the handle
  EXPECT_EQ(director.PanelState(), State::StateCollapsed);
  EXPECT_EQ(platform.windows.pushes.size(), pushes);
  EXPECT_EQ(platform.system.sleeps.size(), sleeps);
  EXPECT_TRUE(FakeRotation::calls.empty());
}

// What one push of the slide showed.
struct SlideStep {
  bool onNoneImage;
  std::vector<int32_t> visibleFrames;
  bool buttonsHidden;
  std::vector<int32_t> framesWithPixels;
};

// The frames (1 to 15) that hold a picture.
std::vector<int32_t> FramesWithPixels(const DirectorProbe& director) {
  std::vector<int32_t> frames;
  for (size_t i = 0; i < director.ExtendFrames().size(); ++i) {
    if (!director.ExtendFrames()[i]->Appearance().Raised().Empty())
      frames.push_back(static_cast<int32_t>(i) + 1);
  }
  return frames;
}

class SlideTest : public DirectorTest {
 protected:
  // Records each push and each pause while the Director changes state.
  void Record(const DirectorProbe& director, bool expanding) {
    platform.windows.onPush = [&, expanding](const testing_support::NullWindowing::Push&) {
      SlideStep step{director.Root() == director.NoneImage(), {}, true, FramesWithPixels(director)};
      for (size_t i = 0; i < director.ExtendFrames().size(); ++i) {
        if (director.ExtendFrames()[i]->Visible())
          step.visibleFrames.push_back(static_cast<int32_t>(i) + 1);
      }
      if (expanding) {
        step.buttonsHidden = !director.Stage1Button()->Visible();
      } else {
        for (const gs::WdgButton* button :
             {director.Stage2Button(), director.CloseButton(), director.TurnLeftButton(),
              director.TurnRightButton(), director.LockButton(), director.UnlockButton()}) {
          step.buttonsHidden = step.buttonsHidden && !button->Visible();
        }
      }
      steps.push_back(step);
      events.push_back("push");
    };
    platform.system.onSleep = [&](uint32_t ms) { events.push_back("sleep " + std::to_string(ms)); };
  }

  void ExpectSlide(const std::vector<int32_t>& order) {
    ASSERT_EQ(steps.size(), order.size());
    for (size_t i = 0; i < order.size(); ++i) {
      SCOPED_TRACE(i);
      EXPECT_TRUE(steps[i].onNoneImage);
      EXPECT_EQ(steps[i].visibleFrames, std::vector<int32_t>{order[i]}) << "each frame alone";
      EXPECT_EQ(steps[i].framesWithPixels, std::vector<int32_t>{order[i]})
          << "only the frame shown holds its picture";
      EXPECT_TRUE(steps[i].buttonsHidden);
    }
    // A pause first and one after each frame.
    std::vector<std::string> expected{"sleep 30"};
    for (size_t i = 0; i < order.size(); ++i) expected.insert(expected.end(), {"push", "sleep 30"});
    EXPECT_EQ(events, expected);
  }

  std::vector<SlideStep> steps;
  std::vector<std::string> events;
};

TEST_F(SlideTest, ExpandingAndCollapsingShowTheFramesEachAloneOnTheEmptyBackground) {
  const DirectorProbe director = Start();
  std::vector<int32_t> order{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
  for (const bool expanding : {true, false}) {
    SCOPED_TRACE(expanding ? "expanding" : "collapsing");
    steps.clear();
    events.clear();
    Record(director, expanding);
    if (expanding) {
      Expand();
    } else {
      Click(director.Stage2Button());
    }
    ExpectSlide(order);
    for (const gs::WdgButton* frame : director.ExtendFrames()) EXPECT_FALSE(frame->Visible());
    EXPECT_TRUE(FramesWithPixels(director).empty());
    std::reverse(order.begin(), order.end());
  }
}

// A frame's picture is checked with the set and decoded only for its push: a
// missing one is reported once, before the window is shown, and leaves its frame empty.
TEST_F(SlideTest, AMissingFramePictureIsReportedWithTheSetAndNotAgainWhenItsFrameShows) {
  const std::wstring missing = std::wstring(kImages) + L"LEFT_Extend\\7.png";
  platform.images.files.erase(missing);
  const DirectorProbe director = Start();
  ASSERT_EQ(platform.system.messages.size(), 1u);
  platform.images.decoded.clear();
  Record(director, true);
  Expand();
  ASSERT_EQ(platform.system.messages.size(), 1u);
  EXPECT_EQ(platform.system.messages[0].text, L"Can not load image " + missing);
  ASSERT_EQ(steps.size(), 15u);
  EXPECT_TRUE(steps[6].framesWithPixels.empty());
  EXPECT_EQ(steps[7].framesWithPixels, std::vector<int32_t>{8});
  EXPECT_EQ(std::count(platform.images.decoded.begin(), platform.images.decoded.end(), missing), 0);
}

// A decode that throws (no memory, no decoder) has failed: its frame stays
// empty, and the state change around it completes.
TEST_F(SlideTest, ADecodeThatThrowsLeavesItsFrameEmptyAndTheStateChangeWhole) {
  const std::wstring seventh = std::wstring(kImages) + L"LEFT_Extend\\7.png";
  const std::wstring ninth = std::wstring(kImages) + L"LEFT_Extend\\9.png";
  bool started = false;
  platform.images.onDecode = [&](std::wstring_view path) {
    if (path == seventh) throw std::bad_alloc();
    if (started && path == ninth) throw std::logic_error("no image decoder");
  };
  const DirectorProbe director = Start();
  EXPECT_EQ(director.PanelState(), State::StateCollapsed);
  EXPECT_TRUE(director.Stage1Button()->Visible());
  ASSERT_EQ(platform.system.messages.size(), 1u) << "the first slide checks every frame";
  EXPECT_EQ(platform.system.messages[0].text, L"Can not load image " + seventh);

  started = true;
  Record(director, true);
  Expand();
  ASSERT_EQ(steps.size(), 15u);
  EXPECT_TRUE(steps[6].framesWithPixels.empty());
  EXPECT_TRUE(steps[8].framesWithPixels.empty());
  EXPECT_EQ(steps[9].framesWithPixels, std::vector<int32_t>{10});
  EXPECT_EQ(director.PanelState(), State::StateExpanded);
  EXPECT_EQ(director.Root(), director.ExpandedImage());
  EXPECT_TRUE(director.CloseButton()->Visible());
  EXPECT_TRUE(director.Stage2Button()->Visible());
  EXPECT_EQ(director.CloseButton()->Parent(), director.ExpandedImage());
}

// --- timers -------------------------------------------------------------------

TEST_F(DirectorTest, AnotherForegroundWindowCollapsesTheExpandedPanel) {
  const DirectorProbe director = Start();
  Expand();

  platform.windows.foreground = 0;  // changing hands
  platform.timers.FireInterval(100);
  EXPECT_EQ(director.PanelState(), State::StateExpanded);

  platform.windows.foreground = Window();
  platform.timers.FireInterval(100);
  EXPECT_EQ(director.PanelState(), State::StateExpanded);

  platform.windows.foreground = 0xBEEF;
  platform.timers.FireInterval(100);
  EXPECT_EQ(director.PanelState(), State::StateCollapsed);
  EXPECT_FALSE(TimerRunning(100));
  EXPECT_TRUE(TimerRunning(3000));
}

TEST_F(DirectorTest, TheOwnWindowIsLookedUpUntilFoundThenKept) {
  Start();
  Expand();
  platform.windows.findable = false;
  platform.windows.foreground = 0;
  platform.timers.FireInterval(100);
  platform.timers.FireInterval(100);
  EXPECT_EQ(platform.windows.findRequests, 2);
  platform.windows.findable = true;
  platform.timers.FireInterval(100);
  platform.timers.FireInterval(100);
  EXPECT_EQ(platform.windows.findRequests, 3);
}

TEST_F(DirectorTest, TheHandleTurnsIdleOnTheIdleTickAndActiveOnTheNextMove) {
  const DirectorProbe director = Start();
  const std::wstring idle = std::wstring(kImages) + L"Button\\Stage1\\n.png";
  platform.images.decoded.clear();
  platform.timers.FireInterval(3000);
  EXPECT_TRUE(director.IdleLookShown());
  EXPECT_FALSE(TimerRunning(3000));
  EXPECT_EQ(platform.images.decoded, std::vector<std::wstring>{idle}) << "one decode per look";

  // Another idle tick while the idle look shows reloads and pushes nothing.
  const size_t pushes = platform.windows.pushes.size();
  Events().HandleMouseLeave();
  platform.timers.FireInterval(3000);
  EXPECT_EQ(platform.images.decoded.size(), 1u);
  EXPECT_EQ(platform.windows.pushes.size(), pushes);

  Events().HandleMouseMove(0, 10, 10);
  EXPECT_FALSE(director.IdleLookShown());
  EXPECT_EQ(platform.images.decoded.back(), std::wstring(kImages) + L"Button\\Stage1\\d.png");
  const size_t decodes = platform.images.decoded.size();
  const size_t pushesNow = platform.windows.pushes.size();
  Events().HandleMouseMove(0, 11, 10);
  EXPECT_EQ(platform.images.decoded.size(), decodes)
      << "no reload when the active look is already shown";
  EXPECT_EQ(platform.windows.pushes.size(), pushesNow);
  Events().HandleMouseLeave();
  EXPECT_TRUE(TimerRunning(3000));
}

TEST_F(DirectorTest, ALookAskedForWhileAMissingPictureIsReportedWaitsForTheNextMove) {
  const DirectorProbe director = Start();
  platform.images.files.erase(std::wstring(kImages) + L"Button\\Stage1\\n.png");
  // The message box runs a message loop, in which the pointer moves over the panel.
  platform.system.onMessage = [&] { Events().HandleMouseMove(0, 10, 10); };
  platform.timers.FireInterval(3000);
  platform.system.onMessage = nullptr;
  EXPECT_TRUE(director.IdleLookShown());
  EXPECT_TRUE(director.Stage1Button()->Appearance().GetStateBitmap(0).Empty());
  Events().HandleMouseMove(0, 12, 10);
  EXPECT_FALSE(director.IdleLookShown());
  EXPECT_EQ(director.Stage1Button()->Width(), 114);
}

}  // namespace
}  // namespace director_testing
