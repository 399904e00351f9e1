#include "app/director.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <filesystem>
#include <memory>
#include <new>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/display_scale.h"
#include "app/panel_form.h"
#include "app/sensor_rotation.h"
#include "base/application.h"
#include "base/bitmap.h"
#include "director_probe.h"
#include "gs/button_appearance.h"
#include "gs/wdg_button.h"
#include "gs/wdg_image.h"
#include "null_platform.h"
#include "platform/libpng/libpng_image_decoder.h"

namespace {

using testing_support::NullPlatform;
using State = Director::PanelStates;

constexpr wchar_t kExe[] = L"C:\\Programs\\Zentara\\Zentara.exe";
constexpr wchar_t kImages[] = L"C:\\Programs\\Zentara\\images\\";
constexpr wchar_t kLibrary[] = L"C:\\Programs\\Zentara\\Images\\Quillet.dll";

// The rotation library's exports, standing in for the real ones.
struct FakeRotation {
  static inline int32_t angle = 1;
  static inline int32_t autoOn = 0;
  static inline std::vector<std::string> calls;

  static int32_t ZENTARA_WINAPI GetAngle() {
    calls.push_back("RT_GetAngle");
    return angle;
  }
  static int32_t ZENTARA_WINAPI SetAngle(int32_t code) {
    calls.push_back("RT_SetAngle(" + std::to_string(code) + ")");
    angle = code;
    return 1;
  }
  static int32_t ZENTARA_WINAPI GetAutoRotationOn() {
    calls.push_back("RT_GetAutoRotationOn");
    return autoOn;
  }
  static int32_t ZENTARA_WINAPI SetAutoRotation(int32_t on) {
    calls.push_back("RT_SetAutoRotation(" + std::to_string(on) + ")");
    autoOn = on;
    return 1;
  }
  static void Reset() {
    angle = 1;
    autoOn = 0;
    calls.clear();
  }
};

template <typename Function>
void* Entry(Function function) {
  return reinterpret_cast<void*>(function);
}

// Opaque colour of frame `number`, so a push tells which frame it showed.
uint32_t FrameColour(int32_t number) {
  return 0xFF000000u | static_cast<uint32_t>(number * 10);
}

class DirectorTest : public ::testing::Test {
 protected:
  DirectorTest() {
    FakeRotation::Reset();
    platform.system.executableName = kExe;
    platform.windows.screenWidth = 1280;
    platform.windows.screenHeight = 1024;
    AddArtwork();
    platform.libraries.available[kLibrary].exports = {
        {"RT_GetAngle", Entry(&FakeRotation::GetAngle)},
        {"RT_SetAngle", Entry(&FakeRotation::SetAngle)},
        {"RT_GetAutoRotationOn", Entry(&FakeRotation::GetAutoRotationOn)},
        {"RT_SetAutoRotation", Entry(&FakeRotation::SetAutoRotation)},
    };
  }

  void AddArtwork() {
    const auto add = [&](const std::wstring& name, int32_t w, int32_t h, uint32_t bgra) {
      platform.images.AddSolid(kImages + name, w, h, bgra);
    };
    add(L"None.png", 341, 113, 0);
    add(L"extend0001.png", 341, 113, 0x40101010);
    add(L"extend0015.png", 341, 113, 0x80202020);
    for (int32_t i = 1; i <= 15; ++i)
      add(L"LEFT_Extend\\" + std::to_wstring(i) + L".png", 341, 113, FrameColour(i));
    for (const wchar_t* state : {L"n", L"d", L"o"}) {
      add(std::wstring(L"Button\\X\\") + state + L".png", 24, 24, 0xFF0000FF);
      add(std::wstring(L"Button\\lock\\") + state + L".png", 48, 48, 0xFF00FF00);
      add(std::wstring(L"Button\\Unlock\\") + state + L".png", 48, 48, 0xFFFF0000);
    }
    for (const wchar_t* state : {L"n", L"d", L"o", L"un"}) {
      add(std::wstring(L"Button\\Turn Left\\") + state + L".png", 48, 48, 0xFF303030);
      add(std::wstring(L"Button\\Turn Right\\") + state + L".png", 48, 48, 0xFF404040);
    }
    add(L"Button\\Stage1\\d.png", 114, 113, 0xFF505050);
    add(L"Button\\Stage1\\n.png", 114, 113, 0x80282828);
    add(L"Button\\Stage2\\d.png", 91, 113, 0xFF606060);
  }

  // Builds the program's form, which builds the Director.
  DirectorProbe Start() {
    form = application->CreateForm<TPanelForm>();
    return DirectorProbe(*form->GetDirector());
  }

  platform::WindowHandle Window() { return form->Handle(); }
  platform::WindowEvents& Events() { return *platform.windows.At(Window()).events; }

  void Click(int32_t x, int32_t y, platform::MouseButton button = platform::MouseButton::Left) {
    const uint8_t held = button == platform::MouseButton::Left ? platform::kLeft : platform::kRight;
    Events().HandleMouseDown(button, held, x, y);
    Events().HandleMouseUp(button, 0, x, y);
  }
  // A left click in the middle of a button; the root lies at the form's origin.
  void Click(const gs::WdgButton* button) {
    Click(button->Left() + button->Width() / 2, button->Top() + button->Height() / 2);
  }
  // A click on the collapsed handle.
  void Expand() { Click(300, 50); }

  // Whether a timer with this interval runs.
  bool TimerRunning(uint32_t interval) const {
    for (const auto& [id, timer] : platform.timers.running) {
      if (timer.interval == interval) return true;
    }
    return false;
  }

  // Which frame (1 to 15) a push showed, from its top-left pixel; 0 for none.
  static int32_t FrameOf(const testing_support::NullWindowing::Push& push) {
    const uint8_t* p = push.pixels.data();
    return p[3] == 255 && p[1] == 0 && p[2] == 0 ? p[0] / 10 : 0;
  }

  NullPlatform platform;
  std::unique_ptr<TApplication> application = std::make_unique<TApplication>();
  TPanelForm* form = nullptr;
};

// --- placement ------------------------------------------------------------

TEST_F(DirectorTest, ThePanelStartsAtTheRightEdgeTwentyPixelsDown) {
  for (uint16_t language : {0x0409, 0x0001}) {
    SCOPED_TRACE(language);
    NullPlatform fresh;
    fresh.system.executableName = kExe;
    fresh.system.language = language;
    fresh.windows.screenWidth = 1280;
    fresh.images.files = platform.images.files;
    TApplication app;
    TPanelForm* panel = app.CreateForm<TPanelForm>();
    EXPECT_EQ(panel->Left(), 1280 - 341);
    EXPECT_EQ(panel->Top(), 20);
    EXPECT_EQ(panel->ClientWidth(), 341);
    EXPECT_EQ(panel->ClientHeight(), 113);
  }
}

TEST_F(DirectorTest, ThePanelStartsAtTheLeftEdgeForArabicAndHebrew) {
  for (uint16_t language : {0x0401, 0x040D, 0x3C01}) {
    SCOPED_TRACE(language);
    NullPlatform fresh;
    fresh.system.executableName = kExe;
    fresh.system.language = language;
    fresh.images.files = platform.images.files;
    TApplication app;
    TPanelForm* panel = app.CreateForm<TPanelForm>();
    EXPECT_EQ(panel->Left(), 0);
    EXPECT_EQ(panel->Top(), 20);
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
  placeAndLeave(-300, 500);  // right edge at 41, off to the left
  EXPECT_EQ(form->Left(), -228);
  placeAndLeave(100, -5);
  EXPECT_EQ(form->Top(), 0);
  EXPECT_EQ(form->Left(), 100);
  placeAndLeave(100, 1000);
  EXPECT_EQ(form->Top(), 1024 - 113);
}

TEST_F(DirectorTest, TheEdgesOfTheScreenThemselvesAreInside) {
  Start();
  for (auto [left, top] : {std::pair{1280 - 341, 0}, {114 - 341, 1024 - 113}}) {
    platform.windows.MoveWindow(Window(), left, top);
    Events().HandleMouseLeave();
    EXPECT_EQ(form->Left(), left);
    EXPECT_EQ(form->Top(), top);
  }
}

TEST_F(DirectorTest, AWindowInsideTheScreenStaysWhereItIs) {
  Start();
  platform.windows.MoveWindow(Window(), 400, 300);
  form->SetLeft(400);
  form->SetTop(300);
  Events().HandleMouseLeave();
  EXPECT_EQ(form->Left(), 400);
  EXPECT_EQ(form->Top(), 300);
}

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

TEST_F(DirectorTest, EachStateShowsItsButtonsWithAutoRotationOff) {
  const DirectorProbe director = Start();
  EXPECT_EQ(LooksOf(director), kCollapsed);
  EXPECT_TRUE(director.ExpandedImage()->Picture().Empty()) << "held only while expanded";
  Expand();
  EXPECT_EQ(director.Root(), director.ExpandedImage());
  EXPECT_EQ(director.ExpandedImage()->Width(), 341);
  EXPECT_EQ(LooksOf(director), kExpandedLocked);
  EXPECT_TRUE(TimerRunning(100));
  EXPECT_FALSE(TimerRunning(3000));
  Click(director.Stage2Button());
  EXPECT_EQ(director.Root(), director.CollapsedImage());
  EXPECT_TRUE(director.ExpandedImage()->Picture().Empty());
  EXPECT_EQ(LooksOf(director), kCollapsed);
  EXPECT_FALSE(TimerRunning(100));
  EXPECT_TRUE(TimerRunning(3000));
}

TEST_F(DirectorTest, EachStateShowsItsButtonsWithAutoRotationOn) {
  FakeRotation::autoOn = 1;
  const DirectorProbe director = Start();
  EXPECT_EQ(LooksOf(director), kCollapsed);
  Expand();
  EXPECT_EQ(LooksOf(director), kExpandedUnlocked);
  Click(director.Stage2Button());
  EXPECT_EQ(LooksOf(director), kCollapsed);
}

TEST_F(DirectorTest, WithoutTheAutoRotationExportTheLockShowsAndTurningIsOff) {
  platform.libraries.available[kLibrary].exports.erase("RT_GetAutoRotationOn");
  FakeRotation::autoOn = 1;
  const DirectorProbe director = Start();
  Expand();
  EXPECT_EQ(LooksOf(director), kExpandedLocked);
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

TEST_F(SlideTest, ExpandingShowsFramesOneToFifteenEachAloneOnTheEmptyBackground) {
  const DirectorProbe director = Start();
  Record(director, true);
  Expand();
  ExpectSlide({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15});
  for (const gs::WdgButton* frame : director.ExtendFrames()) EXPECT_FALSE(frame->Visible());
  EXPECT_TRUE(FramesWithPixels(director).empty());
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

TEST_F(SlideTest, CollapsingShowsFramesFifteenToOneEachAloneOnTheEmptyBackground) {
  const DirectorProbe director = Start();
  Expand();
  Record(director, false);
  Click(director.Stage2Button());
  ExpectSlide({15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1});
  for (const gs::WdgButton* frame : director.ExtendFrames()) EXPECT_FALSE(frame->Visible());
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

class TurningTest : public DirectorTest {
 protected:
  // Expanded with automatic rotation on, so that both turn buttons take clicks.
  DirectorProbe Ready() {
    FakeRotation::autoOn = 1;
    const DirectorProbe director = Start();
    Expand();
    return director;
  }
};

TEST_F(TurningTest, FourTurnsOneWayVisitEveryOrientationAndComeBack) {
  const DirectorProbe director = Ready();
  for (const gs::WdgButton* button : {director.TurnLeftButton(), director.TurnRightButton()}) {
    for (int32_t start = 1; start <= 4; ++start) {
      FakeRotation::angle = start;
      std::vector<int32_t> seen;
      for (int turn = 0; turn < 4; ++turn) {
        Click(button);
        seen.push_back(FakeRotation::angle);
      }
      EXPECT_EQ(seen.back(), start);
      std::sort(seen.begin(), seen.end());
      EXPECT_EQ(seen, (std::vector<int32_t>{1, 2, 3, 4}));
    }
  }
}

TEST_F(TurningTest, ATurnRightUndoesATurnLeftAndTheyDiffer) {
  const DirectorProbe director = Ready();
  for (int32_t start = 1; start <= 4; ++start) {
    FakeRotation::angle = start;
    Click(director.TurnLeftButton());
    const int32_t afterLeft = FakeRotation::angle;
    Click(director.TurnRightButton());
    EXPECT_EQ(FakeRotation::angle, start);
    Click(director.TurnRightButton());
    EXPECT_NE(FakeRotation::angle, afterLeft) << "from " << start;
  }
}

TEST_F(TurningTest, AnUnreadableAngleStopsBothTurns) {
  const DirectorProbe director = Ready();
  for (int32_t answer : {-1, 0, 5}) {
    FakeRotation::angle = answer;
    FakeRotation::calls.clear();
    Click(director.TurnLeftButton());
    Click(director.TurnRightButton());
    EXPECT_EQ(FakeRotation::calls, (std::vector<std::string>{"RT_GetAngle", "RT_GetAngle"}));
  }
}

TEST_F(TurningTest, WithoutSetAngleTheAngleIsNotEvenRead) {
  platform.libraries.available[kLibrary].exports.erase("RT_SetAngle");
  const DirectorProbe director = Ready();
  FakeRotation::calls.clear();
  Click(director.TurnLeftButton());
  Click(director.TurnRightButton());
  EXPECT_TRUE(FakeRotation::calls.empty());
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

// --- display scale -------------------------------------------------------------

// Adds an artwork set: every picture of the 100 % set at the set's size and in its colour.
class ScaledDirectorTest : public DirectorTest {
 protected:
  void AddSet(int32_t scale) {
    const std::wstring folder = std::wstring(kImages) + L"scale-" + std::to_wstring(scale);
    platform.system.folders.push_back(folder);
    std::vector<std::pair<std::wstring, platform::DecodedImage>> base;
    for (const auto& [path, image] : platform.images.files) {
      if (path.find(L"scale-") == std::wstring::npos) base.emplace_back(path, image);
    }
    for (const auto& [path, image] : base) {
      const uint8_t* p = image.pixels.data();
      const uint32_t bgra = p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
      platform.images.AddSolid(folder + L"\\" + path.substr(std::wcslen(kImages)),
                               display_scale::ScalePixels(image.width, scale),
                               display_scale::ScalePixels(image.height, scale), bgra);
    }
  }
};

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

  platform.windows.MoveWindow(Window(), 228 - 682, 500);  // right edge at the reach: inside
  Events().HandleMouseLeave();
  EXPECT_EQ(form->Left(), 228 - 682);
  platform.windows.MoveWindow(Window(), 227 - 682, 500);
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
  // Parked at the left edge it stays parked; anywhere else it keeps its left.
  platform.windows.MoveWindow(Window(), -228, 300);
  platform.windows.ChangeDpi(Window(), 192);
  EXPECT_EQ(form->Left(), -456);
  platform.windows.MoveWindow(Window(), 400, 300);
  platform.windows.ChangeDpi(Window(), 96);
  EXPECT_EQ(form->Left(), 400);
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

  // Dragged elsewhere, it stays while it is inside and is pulled back otherwise.
  platform.windows.MoveWindow(Window(), 50, 400);
  platform.windows.ChangeScreen(1280, 800);
  EXPECT_EQ(place(), std::pair(50, 400));
  platform.windows.MoveWindow(Window(), 300, 400);
  platform.windows.ChangeScreen(800, 1280);
  EXPECT_EQ(place(), std::pair(std::min(300, 800 - width), 400));
}

INSTANTIATE_TEST_SUITE_P(AtOneAndTwoHundredPercent, ScreenChangeTest, ::testing::Values(100, 200));

}  // namespace
