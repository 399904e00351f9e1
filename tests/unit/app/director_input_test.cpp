#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <utility>

#include "director_fixture.h"
#include "platform/libpng/libpng_image_decoder.h"

namespace director_testing {
namespace {

// --- the handle -------------------------------------------------------------

// The handle's area is fixed: without its picture the panel can still be opened and closed.
TEST_F(DirectorTest, WithoutItsPictureTheHandleStillTogglesThePanel) {
  platform.images.files.erase(std::wstring(kImages) + L"Button\\Stage1\\d.png");
  const DirectorProbe director = Start();
  ASSERT_FALSE(platform.system.messages.empty());
  ASSERT_EQ(director.Stage1Button()->Width(), 0);
  Click(340, 112);
  EXPECT_EQ(director.PanelState(), State::StateExpanded);
  Click(90, 112);
  EXPECT_EQ(director.PanelState(), State::StateCollapsed);
}

TEST_F(DirectorTest, ARightClickOnTheHandleTogglesToo) {
  const DirectorProbe director = Start();
  Click(300, 50, platform::MouseButton::Right);
  EXPECT_EQ(director.PanelState(), State::StateExpanded);
}

TEST_F(DirectorTest, AMoveOfThreePixelsStillClicksButFourStartsADragThatNeverToggles) {
  const DirectorProbe director = Start();
  Events().HandleMouseDown(platform::MouseButton::Left, platform::kLeft, 300, 50);
  Events().HandleMouseMove(platform::kLeft, 303, 53);
  EXPECT_EQ(platform.windows.At(Window()).drags, 0);
  Events().HandleMouseUp(platform::MouseButton::Left, 0, 303, 53);
  EXPECT_EQ(director.PanelState(), State::StateExpanded);

  Events().HandleMouseDown(platform::MouseButton::Left, platform::kLeft, 50, 50);
  Events().HandleMouseMove(platform::kLeft, 50, 54);
  EXPECT_EQ(platform.windows.At(Window()).drags, 1);
  // The drag starts from the press, not from where the pointer has got to.
  // The platform's window move takes the release; a further move starts nothing more.
  Events().HandleMouseMove(platform::kLeft, 50, 60);
  EXPECT_EQ(platform.windows.At(Window()).drags, 1);
  EXPECT_EQ(director.PanelState(), State::StateExpanded);
}

// With the artwork that ships, the handles reach exactly from (227, 0) to
// (340, 112) while collapsed and from (0, 0) to (90, 112) while expanded.
class ShippedArtworkTest : public DirectorTest {
 protected:
  ShippedArtworkTest() {
    platform.images.delegate = &decoder;
    platform.system.executableName =
        (std::filesystem::path(ZENTARA_SOURCE_DIR) / "Zentara.exe").wstring();
  }
  platform::libpng::LibpngImageDecoder decoder;
};

TEST_F(ShippedArtworkTest, AReleaseTogglesExactlyOnTheHandleOfTheState) {
  const DirectorProbe director = Start();
  ASSERT_TRUE(platform.system.messages.empty()) << "every picture of the panel loads";
  for (auto [x, y] : {std::pair{226, 10}, {341, 10}, {300, 113}}) {
    Click(x, y);
    EXPECT_EQ(director.PanelState(), State::StateCollapsed) << x << "," << y;
  }
  Click(227, 0);
  EXPECT_EQ(director.PanelState(), State::StateExpanded);
  Click(91, 0);
  Click(50, 113);
  EXPECT_EQ(director.PanelState(), State::StateExpanded);
  Click(90, 0);
  EXPECT_EQ(director.PanelState(), State::StateCollapsed);
  Click(340, 112);
  EXPECT_EQ(director.PanelState(), State::StateExpanded);
  Click(0, 112);
  EXPECT_EQ(director.PanelState(), State::StateCollapsed);
}

// --- pulling the window back ------------------------------------------------

TEST_F(DirectorTest, LeavingTheWindowPullsItBackInsideTheScreen) {
  Start();
  auto placeAndLeave = [&](int32_t left, int32_t top) {
    platform.windows.MoveWindow(Window(), left, top);
    platform.windows.At(Window()).moves.clear();
    Events().HandleMouseLeave();
  };
  placeAndLeave(1000, 500);  // right edge beyond the screen
  EXPECT_EQ(form->Left(), 1280 - 341);
  EXPECT_EQ(form->Top(), 500) << "the other coordinate stays where the drag left it";
  // Straight there, never by the height it had before the drag.
  EXPECT_EQ(platform.windows.At(Window()).moves, (std::vector<platform::Point>{{1280 - 341, 500}}));
  placeAndLeave(100, 1000);  // below the bottom: the panel's own height counts
  EXPECT_EQ(form->Left(), 100);
  EXPECT_EQ(form->Top(), 1024 - 113);
}

// --- buttons and rotation ---------------------------------------------------------

TEST_F(DirectorTest, LockAndUnlockSwapEvenWithoutTheLibrary) {
  platform.libraries.available.clear();
  const DirectorProbe director = Start();
  Expand();
  Click(director.LockButton());
  EXPECT_FALSE(director.LockButton()->Visible());
  EXPECT_TRUE(director.UnlockButton()->Visible());
  EXPECT_TRUE(director.TurnLeftButton()->Enabled());
  EXPECT_TRUE(director.TurnRightButton()->Enabled());
  Click(director.UnlockButton());
  EXPECT_TRUE(director.LockButton()->Visible());
  EXPECT_FALSE(director.UnlockButton()->Visible());
  EXPECT_FALSE(director.TurnLeftButton()->Enabled());
  EXPECT_FALSE(director.TurnRightButton()->Enabled());
}

TEST_F(DirectorTest, LockSwitchesAutoRotationOnAndUnlockOff) {
  const DirectorProbe director = Start();
  Expand();
  FakeRotation::calls.clear();
  Click(director.LockButton());
  Click(director.UnlockButton());
  EXPECT_EQ(FakeRotation::calls,
            (std::vector<std::string>{"RT_SetAutoRotation(1)", "RT_SetAutoRotation(0)"}));
}

// Which angle each turn sets is the rotation binding's; here, which button turns which way.
TEST_F(DirectorTest, EachTurnButtonTurnsTheScreenOneStepItsWay) {
  FakeRotation::autoOn = 1;  // unlocked, so that both turn buttons take clicks
  const DirectorProbe director = Start();
  Expand();
  FakeRotation::calls.clear();
  Click(director.TurnLeftButton());
  Click(director.TurnRightButton());
  EXPECT_EQ(FakeRotation::calls, (std::vector<std::string>{"RT_GetAngle", "RT_SetAngle(2)",
                                                           "RT_GetAngle", "RT_SetAngle(1)"}));
}

TEST_F(DirectorTest, ABurstOfInputDeviceChangesAsksTheLibraryOnceForTheAngleItHas) {
  Start();
  // Upright too: the devices are mapped whatever the angle.
  for (const int32_t angle : {3, 1}) {
    FakeRotation::angle = angle;
    FakeRotation::calls.clear();
    for (int i = 0; i < 3; ++i) platform.windows.ChangeInputDevices();
    EXPECT_TRUE(FakeRotation::calls.empty()) << "not while the burst lasts";
    platform.timers.FireInterval(400);
    EXPECT_EQ(
        FakeRotation::calls,
        (std::vector<std::string>{"RT_GetAngle", "RT_SetAngle(" + std::to_string(angle) + ")"}));
    platform.timers.FireInterval(400);
    EXPECT_EQ(FakeRotation::calls.size(), 2u) << "one burst, one call";
  }

  // An angle that cannot be read is not set.
  FakeRotation::angle = -1;
  platform.windows.ChangeInputDevices();
  platform.timers.FireInterval(400);
  EXPECT_EQ(FakeRotation::calls.back(), "RT_GetAngle");
}

TEST_F(DirectorTest, TheCloseButtonEndsTheMessageLoop) {
  const DirectorProbe director = Start();
  Expand();
  // Through the form, whose close request ends the application it is the main form of.
  Application = nullptr;
  Click(director.CloseButton());
  EXPECT_EQ(platform.windows.quitRequests, 1);
}

// --- following the screen --------------------------------------------------------

class ScreenChangeTest : public ScaledDirectorTest,
                         public ::testing::WithParamInterface<int32_t> {};

TEST_P(ScreenChangeTest, ATurnKeepsThePanelAtItsEdgeOrWhereItWasDragged) {
  const int32_t scale = GetParam();
  const int32_t width = display_scale::ScalePixels(341, scale);
  const int32_t margin = display_scale::ScalePixels(20, scale);
  AddSet(200);
  platform.windows.dpi = scale == 200 ? 192 : 96;
  platform.windows.screenHeight = 800;
  const DirectorProbe director = Start();
  ASSERT_EQ(director.Scale(), scale);
  auto place = [&] { return std::pair{form->Left(), form->Top()}; };
  ASSERT_EQ(place(), std::pair(1280 - width, margin));

  platform.windows.ChangeScreen(800, 1280);
  EXPECT_EQ(place(), std::pair(800 - width, margin));
  platform.windows.ChangeScreen(1280, 800);
  EXPECT_EQ(place(), std::pair(1280 - width, margin));

  // The pointer leaves as the screen turns, ahead of the change's notice: the notice still counts.
  platform.windows.ChangeScreen(800, 1280);
  platform.windows.screenWidth = 1280;
  platform.windows.screenHeight = 800;
  Events().HandleMouseLeave();
  platform.windows.ChangeScreen(1280, 800);
  EXPECT_EQ(place(), std::pair(1280 - width, margin));
  // Nor is the window pulled back into the screen before: past its bottom, it keeps its height.
  platform.windows.MoveWindow(Window(), 300, 700);
  platform.windows.screenWidth = 800;
  platform.windows.screenHeight = 1280;
  Events().HandleMouseLeave();
  platform.windows.ChangeScreen(800, 1280);
  EXPECT_EQ(place(), std::pair(std::min(300, 800 - width), 700));
  platform.windows.MoveWindow(Window(), 800 - width, margin);
  platform.windows.ChangeScreen(1280, 800);

  // Expanded alike, and without a slide.
  Click(display_scale::ScalePixels(300, scale), 50);
  const size_t pushes = platform.windows.pushes.size();
  const size_t sleeps = platform.system.sleeps.size();
  platform.windows.ChangeScreen(800, 1280);
  EXPECT_EQ(place(), std::pair(800 - width, margin));
  EXPECT_EQ(director.PanelState(), State::StateExpanded);
  EXPECT_EQ(platform.windows.pushes.size(), pushes);
  EXPECT_EQ(platform.system.sleeps.size(), sleeps);

  // The same size again moves nothing, not even a window past the edge.
  platform.windows.MoveWindow(Window(), 1000, 30);
  platform.windows.ChangeScreen(800, 1280);
  EXPECT_EQ(place(), std::pair(1000, 30));

  // Dragged elsewhere, the rule reads the place the drag left.
  platform.windows.MoveWindow(Window(), 50, 400);
  platform.windows.ChangeScreen(1280, 800);
  EXPECT_EQ(place(), std::pair(50, 400));
}

INSTANTIATE_TEST_SUITE_P(AtOneAndTwoHundredPercent, ScreenChangeTest, ::testing::Values(100, 200));

}  // namespace
}  // namespace director_testing
