#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "director_fixture.h"

namespace director_testing {
namespace {

TEST_F(ScaledDirectorTest, AtTwoHundredPercentThePanelAndItsButtonsTakeTheirScaledPlaces) {
  AddSet(200);
  platform.windows.dpi = 192;
  const DirectorProbe director = Start();
  EXPECT_EQ(director.Scale(), 200);
  EXPECT_EQ(form->Left(), 1280 - 682);
  EXPECT_EQ(form->Top(), 40);
  EXPECT_EQ(form->ClientWidth(), 682);
  EXPECT_EQ(form->ClientHeight(), 226);
  for (const std::wstring& path : platform.images.decoded)
    EXPECT_NE(path.find(L"\\scale-200\\"), std::wstring::npos) << "only the set is loaded";
  const std::set<std::wstring> distinct(platform.images.decoded.begin(),
                                        platform.images.decoded.end());
  EXPECT_EQ(distinct.size(), platform.images.decoded.size()) << "each picture is decoded once";
  // The backgrounds but the expanded one, only checked until the panel expands.
  EXPECT_EQ(distinct.size(),
            2u + (3u + 4u + 4u + 3u + 3u) + 2u + 15u);  // backgrounds, buttons, handles, frames
  EXPECT_EQ(director.CloseButton()->BoundsRect(), (TRect{560, 88, 608, 136}));
  EXPECT_EQ(director.TurnRightButton()->BoundsRect(), (TRect{316, 64, 412, 160}));

  Click(455, 225);  // the collapsed handle's far corner
  EXPECT_EQ(director.PanelState(), State::StateExpanded);
  Click(476, 112);  // the lock button, where the 100 % panel has nothing
  EXPECT_EQ(FakeRotation::calls.back(), "RT_SetAutoRotation(1)");
  Click(205, 65);  // turn left, just inside
  EXPECT_EQ(FakeRotation::calls.back(), "RT_SetAngle(2)");
  Click(182, 10);  // just right of the expanded handle
  EXPECT_EQ(director.PanelState(), State::StateExpanded);
  Click(181, 225);
  EXPECT_EQ(director.PanelState(), State::StateCollapsed);
  platform.windows.DeliverPaint(Window());
  EXPECT_EQ(platform.windows.pushes.back().width, 682);
}

TEST_F(ScaledDirectorTest, AtTwoHundredPercentTheDragThresholdAndThePullBackScaleToo) {
  AddSet(200);
  platform.windows.dpi = 192;
  const DirectorProbe director = Start();
  Events().HandleMouseDown(platform::MouseButton::Left, platform::kLeft, 600, 100);
  Events().HandleMouseMove(platform::kLeft, 606, 106);
  EXPECT_EQ(platform.windows.At(Window()).drags, 0);
  Events().HandleMouseUp(platform::MouseButton::Left, 0, 606, 106);
  EXPECT_EQ(director.PanelState(), State::StateExpanded);
  Events().HandleMouseDown(platform::MouseButton::Left, platform::kLeft, 100, 100);
  Events().HandleMouseMove(platform::kLeft, 100, 107);
  EXPECT_EQ(platform.windows.At(Window()).drags, 1);

  platform.windows.MoveWindow(Window(), 227 - 682, 500);  // right edge short of the 200 % reach
  Events().HandleMouseLeave();
  EXPECT_EQ(form->Left(), -456);
}

TEST_F(ScaledDirectorTest, WithoutItsFolderTheNearestPresentSetIsUsed) {
  AddSet(175);
  platform.windows.dpi = 192;
  EXPECT_EQ(Start().Scale(), 175);
  EXPECT_EQ(form->ClientWidth(), 597);
  EXPECT_EQ(form->Top(), 35);
}

TEST_F(ScaledDirectorTest, ANewScaleReloadsTheSetAndKeepsTheEdge) {
  AddSet(200);
  const std::wstring frame = std::wstring(kImages) + L"scale-200\\LEFT_Extend\\3.png";
  platform.images.files.erase(frame);
  const DirectorProbe director = Start();
  ASSERT_EQ(director.Scale(), 100);
  Expand();
  platform.windows.ChangeDpi(Window(), 192);
  ASSERT_EQ(platform.system.messages.size(), 1u) << "the new set's frames are checked with it";
  EXPECT_EQ(platform.system.messages[0].text, L"Can not load image " + frame);
  EXPECT_EQ(director.Scale(), 200);
  EXPECT_EQ(director.PanelState(), State::StateExpanded);
  EXPECT_EQ(form->ClientWidth(), 682);
  EXPECT_EQ(form->Left(), 1280 - 682) << "flush with the right edge";
  EXPECT_EQ(form->Top(), 40) << "the start margin grows with the scale";
  EXPECT_EQ(director.CloseButton()->BoundsRect(), (TRect{560, 88, 608, 136}));
  EXPECT_EQ(platform.windows.pushes.back().width, 682);
  EXPECT_EQ(platform.windows.pushes.back().height, 226);
  platform.images.decoded.clear();
  Click(181, 225);  // the expanded handle at its new size
  EXPECT_EQ(director.PanelState(), State::StateCollapsed);
  EXPECT_EQ(director.Stage1Button()->Width(), 228);
  EXPECT_EQ(platform.system.messages.size(), 1u);
  EXPECT_EQ(std::count(platform.images.decoded.begin(), platform.images.decoded.end(), frame), 0);

  platform.windows.ChangeDpi(Window(), 96);
  EXPECT_EQ(form->Left(), 1280 - 341);
  EXPECT_EQ(form->ClientWidth(), 341);
  EXPECT_EQ(platform.windows.pushes.back().width, 341);
  // Parked at the left edge it stays parked: the rule reads both scales.
  platform.windows.MoveWindow(Window(), -228, 300);
  platform.windows.ChangeDpi(Window(), 192);
  EXPECT_EQ(form->Left(), -456);
  EXPECT_EQ(form->Top(), 300);
}

TEST_F(ScaledDirectorTest, BackAtTheStartScaleThePanelIsWholeAgainAndSlidesThroughTheNewSet) {
  AddSet(200);
  platform.windows.dpi = 192;
  const DirectorProbe director = Start();
  platform.windows.ChangeDpi(Window(), 96);
  platform.windows.ChangeDpi(Window(), 192);
  EXPECT_EQ(director.Scale(), 200);
  EXPECT_EQ(form->ClientWidth(), 682);
  EXPECT_EQ(director.TurnLeftButton()->BoundsRect(), (TRect{204, 64, 300, 160}));
  platform.windows.pushes.clear();
  Click(500, 100);  // the collapsed handle at 200 %
  std::vector<int32_t> frames;
  for (const auto& push : platform.windows.pushes) {
    frames.push_back(FrameOf(push));
    EXPECT_EQ(push.width, 682);
  }
  EXPECT_EQ(frames, (std::vector<int32_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}));
}

// Moved by the system across monitors, the panel goes where the system puts it;
// once the move is over it is pulled back inside the primary screen, as the
// pointer's leaving pulls it, whatever screen change came meanwhile.
TEST_F(ScaledDirectorTest, AScaleChangeDuringAMoveTakesTheSuggestedPlaceAndPullsBackAtTheEnd) {
  AddSet(200);
  platform.images.files.erase(std::wstring(kImages) + L"scale-200\\Button\\X\\n.png");
  Start();
  Events().HandleMoveStart();
  platform.windows.MoveWindow(Window(), 3000, 300);
  // The primary screen turns while a picture of the new set is reported missing.
  platform.system.onMessage = [&] {
    platform.system.onMessage = nullptr;
    platform.windows.ChangeScreen(1024, 1280);
  };
  platform.windows.ChangeDpi(Window(), 192, platform::Point{3000, 310});
  EXPECT_EQ(form->ClientWidth(), 682);
  EXPECT_EQ(form->Left(), 3000) << "no edge rule during the move";
  EXPECT_EQ(form->Top(), 310);
  Events().HandleMoveEnd();
  EXPECT_EQ(form->Left(), 1024 - 682);
  EXPECT_EQ(form->Top(), 310);

  platform.windows.MoveWindow(Window(), 3100, 1250);
  Events().HandleMouseLeave();
  EXPECT_EQ(form->Left(), 1024 - 682) << "the pull-back answers to the same screen";
  EXPECT_EQ(form->Top(), 1280 - 226);

  // A move without a scale change leaves the place to the pointer's leaving.
  Events().HandleMoveStart();
  platform.windows.MoveWindow(Window(), 3100, 300);
  Events().HandleMoveEnd();
  EXPECT_EQ(form->Left(), 3100);
  Events().HandleMouseLeave();
  EXPECT_EQ(form->Left(), 1024 - 682);
}

TEST_F(ScaledDirectorTest, AScaleChangeDuringAMissingPicturesMessageWaitsAndOnlyTheLatestCounts) {
  AddSet(200);
  AddSet(150);
  platform.images.files.erase(std::wstring(kImages) + L"scale-200\\Button\\X\\n.png");
  const DirectorProbe director = Start();
  platform.system.onMessage = [&] {
    platform.system.onMessage = nullptr;
    platform.windows.ChangeDpi(Window(), 96);
    platform.windows.ChangeDpi(Window(), 144);
  };
  platform.images.decoded.clear();
  platform.windows.ChangeDpi(Window(), 192);
  EXPECT_EQ(platform.system.messages.size(), 1u);
  EXPECT_EQ(director.Scale(), 150);
  EXPECT_EQ(form->ClientWidth(), 512);
  // The 200 % set whole, then the 150 % set whole: no reload inside another.
  std::vector<std::wstring> sets;
  for (const std::wstring& path : platform.images.decoded) {
    const std::wstring set = path.substr(std::wcslen(kImages), 9);
    if (sets.empty() || sets.back() != set) sets.push_back(set);
  }
  EXPECT_EQ(sets, (std::vector<std::wstring>{L"scale-200", L"scale-150"}));
}

}  // namespace
}  // namespace director_testing
