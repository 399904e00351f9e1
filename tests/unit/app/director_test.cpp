#include "app/director.h"

#include <gtest/gtest.h>

#include "app/sensor_rotation.h"
#include "director_fixture.h"

namespace director_testing {
namespace {

// --- placement ------------------------------------------------------------

// The language picks the edge; the place itself is the placement rule's.
TEST_F(DirectorTest, ThePanelStartsAtTheRightEdgeOrAtTheLeftOneForArabicAndHebrew) {
  const std::pair<uint16_t, int32_t> rows[] = {
      {0x0409, 1280 - 341}, {0x0001, 1280 - 341}, {0x0401, 0}, {0x040D, 0}, {0x3C01, 0}};
  for (const auto& [language, left] : rows) {
    SCOPED_TRACE(language);
    NullPlatform fresh;
    fresh.system.executableName = kExe;
    fresh.system.language = language;
    fresh.windows.screenWidth = 1280;
    fresh.images.files = platform.images.files;
    TApplication app;
    TPanelForm* panel = app.CreateForm<TPanelForm>();
    EXPECT_EQ(panel->Left(), left);
    EXPECT_EQ(panel->Top(), 20);
    EXPECT_EQ(panel->ClientWidth(), 341);
    EXPECT_EQ(panel->ClientHeight(), 113);
  }
}

TEST_F(DirectorTest, TheLanguageIsWrittenToTheDebuggerInLowerCaseHex) {
  platform.system.language = 0x0C01;
  Start();
  ASSERT_FALSE(platform.system.debugLines.empty());
  EXPECT_EQ(platform.system.debugLines.front(), L"c01");
}

// --- construction and destruction ----------------------------------------

TEST_F(DirectorTest, ConstructionRunsTheCollapseOnceAndEndsCollapsedWithTheIdleTimerOn) {
  const DirectorProbe director = Start();
  EXPECT_EQ(director.PanelState(), State::StateCollapsed);
  EXPECT_EQ(director.Root(), director.CollapsedImage());
  std::vector<int32_t> frames;
  for (const auto& push : platform.windows.pushes) frames.push_back(FrameOf(push));
  EXPECT_EQ(frames, (std::vector<int32_t>{15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1}));
  EXPECT_TRUE(TimerRunning(3000));
  EXPECT_FALSE(TimerRunning(100));
  EXPECT_TRUE(director.Stage1Button()->Visible());
  for (const gs::WdgButton* frame : director.ExtendFrames()) EXPECT_FALSE(frame->Visible());
}

TEST_F(DirectorTest, ThePanelIsPushedLayeredAtOpacity230OverItsOwnPerPixelAlpha) {
  Start();
  platform.windows.DeliverPaint(Window());
  ASSERT_EQ(platform.windows.pushes.size(), 16u);
  for (const auto& push : platform.windows.pushes) {
    EXPECT_FALSE(push.colorKeyed);
    EXPECT_EQ(push.bitsPerPixel, 32) << "premultiplied per-pixel alpha";
    EXPECT_EQ(push.opacity, 230);
  }
  // The painted push shows the collapsed background with its own alpha.
  const auto& painted = platform.windows.pushes.back();
  EXPECT_EQ(painted.width, 341);
  EXPECT_EQ(painted.pixels[3], 0x40);
  EXPECT_TRUE(platform.windows.At(Window()).layered);
  EXPECT_FALSE(platform.windows.At(Window()).clickThrough) << "the panel takes the mouse";
}

TEST_F(DirectorTest, TheLibraryIsLoadedFromTheExecutablesFolderAndFreedAtTheEnd) {
  Start();
  ASSERT_EQ(platform.libraries.loadRequests, std::vector<std::wstring>{kLibrary});
  ASSERT_EQ(platform.libraries.loaded.size(), 1u);
  const platform::LibraryHandle library = platform.libraries.loaded.begin()->first;
  application.reset();
  EXPECT_EQ(platform.libraries.freed, std::vector<platform::LibraryHandle>{library});
  EXPECT_EQ(platform.timers.RunningCount(), 0u);
}

TEST_F(DirectorTest, EveryButtonAndFrameHangsOnTheRoot) {
  const DirectorProbe director = Start();
  EXPECT_EQ(director.Root()->Children().size(), 7u + 15u);
  for (const gs::WdgButton* frame : director.ExtendFrames())
    EXPECT_EQ(frame->Parent(), director.Root());
  EXPECT_EQ(director.CloseButton()->Width(), 24);
  EXPECT_EQ(director.Stage1Button()->Left(), 227);
  EXPECT_EQ(director.TurnRightButton()->Left(), 158);
}

TEST_F(DirectorTest, TheDeviceTurnsTheScreenOnceAReadingHoldsWhileAutomaticRotationIsOn) {
  FakeRotation::autoOn = 1;
  Start();
  ASSERT_EQ(platform.sensor.follows, 1);
  const auto after = [&](std::initializer_list<int32_t> readings) {
    FakeRotation::calls.clear();
    for (int32_t code : readings) platform.sensor.Report(code);
    EXPECT_TRUE(FakeRotation::calls.empty()) << "nothing before the reading holds";
    platform.timers.FireInterval(SensorRotation::kHoldMilliseconds);
    platform.timers.FireInterval(SensorRotation::kHoldMilliseconds);
    return FakeRotation::calls;
  };
  using Calls = std::vector<std::string>;
  // Swung past 2 on the way to 3: one turn, to where the device rests.
  EXPECT_EQ(after({2, 3}), (Calls{"RT_GetAutoRotationOn", "RT_GetAngle", "RT_SetAngle(3)"}));
  EXPECT_EQ(after({4, 3}), Calls{}) << "back where it rests before the reading held";
  FakeRotation::autoOn = 0;  // switched off elsewhere
  EXPECT_EQ(after({1}), Calls{"RT_GetAutoRotationOn"});
  FakeRotation::autoOn = 1;
  EXPECT_EQ(after({3}), (Calls{"RT_GetAutoRotationOn", "RT_GetAngle"})) << "already there";
  application.reset();
  EXPECT_EQ(platform.sensor.releases, 1);
  EXPECT_FALSE(platform.sensor.Report(2)) << "nothing follows the sensor after the end";
}

}  // namespace
}  // namespace director_testing
