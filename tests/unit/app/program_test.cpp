#include "app/program.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/director.h"
#include "app/panel_form.h"
#include "base/application.h"
#include "null_platform.h"

namespace {

// The size of the one allocation that the heap refuses; 0 refuses none.
size_t refusedSize = 0;

}  // namespace

// The allocation that may fail without an exception, refusing one size on request.
void* operator new(std::size_t size, const std::nothrow_t& /*tag*/) noexcept {
  if (size == refusedSize) return nullptr;
  try {
    return ::operator new(size);
  } catch (...) {
    return nullptr;
  }
}

namespace {

using testing_support::NullPlatform;
using testing_support::NullWindowing;
using testing_support::ProcessExit;

constexpr wchar_t kMutex[] = L"KOVA_Zentara_0228943447_5199";

class ProgramTest : public ::testing::Test {
 protected:
  // The one window the program created.
  const NullWindowing::Window& PanelWindow() {
    EXPECT_EQ(platform.windows.windows.size(), 1u);
    return platform.windows.windows.begin()->second;
  }

  NullPlatform platform;
};

TEST_F(ProgramTest, ASecondStartEndsAtOnceWithoutWindowOrPause) {
  platform.system.heldElsewhere.push_back(kMutex);
  EXPECT_EQ(RunProgram(), 0);
  EXPECT_EQ(platform.system.claimedMutexes, std::vector<std::wstring>{kMutex});
  EXPECT_TRUE(platform.system.sleeps.empty());
  EXPECT_TRUE(platform.windows.windows.empty());
  EXPECT_EQ(platform.windows.loopRuns, 0);
}

TEST_F(ProgramTest, AFirstStartPausesThenRunsThePanelUntilTheLoopEnds) {
  bool pausedBeforeAnything = false;
  platform.system.onSleep = [&](uint32_t ms) {
    if (platform.system.sleeps.size() == 1)
      pausedBeforeAnything = ms == 500 && platform.images.decoded.empty();
  };
  platform.windows.onMessageLoop = [&] {
    ASSERT_NE(PanelForm, nullptr);
    EXPECT_TRUE(platform.windows.At(PanelForm->Handle()).shown);
  };
  EXPECT_EQ(RunProgram(), 0);
  EXPECT_TRUE(pausedBeforeAnything);
  EXPECT_EQ(platform.windows.loopRuns, 1);
  // The form was destroyed on the way out, stopping the imaging library once.
  EXPECT_EQ(platform.images.stops, 1);
  EXPECT_TRUE(PanelWindow().destroyed);
  EXPECT_EQ(PanelForm, nullptr);
  EXPECT_EQ(Application, nullptr);
}

TEST_F(ProgramTest, PicturesDecodedDuringThePauseAreDecodedOnceAndReportedAsAfterIt) {
  platform.system.executableName = L"C:\\Zentara\\Zentara.exe";
  const std::wstring images = L"C:\\Zentara\\images\\";
  platform.images.AddSolid(images + L"extend0001.png", 341, 113, 0x80808080);
  platform.images.AddSolid(images + L"Button\\X\\n.png", 20, 20, 0xFF0000FF);
  platform.images.Add(images + L"Button\\lock\\d.png", {4, 4, {}});  // damaged: no pixels
  // The notices in the order shown, and how many showed before the pause ended.
  const auto run = [&](bool duringThePause) {
    platform.images.decodesBeforeStart = duringThePause;
    platform.images.decoded.clear();
    platform.images.probed.clear();
    platform.system.messages.clear();
    size_t duringPause = 0;
    platform.system.onSleep = [&](uint32_t ms) {
      if (ms == 500) duringPause = platform.system.messages.size();
    };
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(duringPause, 0u);
    const auto& decoded = platform.images.decoded;
    EXPECT_EQ(std::count(decoded.begin(), decoded.end(), images + L"extend0001.png"), 1);
    // The expanded background is only checked, once, until the panel expands.
    const std::wstring expanded = images + L"extend0015.png";
    EXPECT_EQ(std::count(decoded.begin(), decoded.end(), expanded), 0);
    const auto& probed = platform.images.probed;
    EXPECT_EQ(std::count(probed.begin(), probed.end(), expanded), 1);
    std::vector<std::wstring> notices;
    for (const auto& message : platform.system.messages) notices.push_back(message.text);
    return notices;
  };
  const std::vector<std::wstring> afterThePause = run(false);
  ASSERT_GT(afterThePause.size(), 2u);
  EXPECT_EQ(run(true), afterThePause);
}

TEST_F(ProgramTest, ThePanelWindowIsAFramelessTopmostPopup) {
  EXPECT_EQ(RunProgram(), 0);
  const platform::WindowParams& params = PanelWindow().params;
  EXPECT_EQ(params.className, L"TPanelForm");
  EXPECT_EQ(params.title, L"KOVA Zentara");
  EXPECT_TRUE(params.frameless);
  EXPECT_TRUE(params.onTop);
}

class PlainForm : public TForm {
 public:
  PlainForm() : TForm(TFormResource{}) {}
  std::wstring ClassName() const override { return L"TPlainForm"; }
};

// A form whose creation parameters a test can ask for.
template <typename Form>
class CreationProbe : public Form {
 public:
  using Form::CreateParams;
};

// The creation parameters of the main form of an application that gives its
// main form a task-bar button, as the program's does.
template <typename Form>
platform::WindowParams MainFormParams() {
  TApplication application;
  application.SetMainFormOnTaskBar(true);
  platform::WindowParams params;
  application.CreateForm<CreationProbe<Form>>()->CreateParams(params);
  return params;
}

TEST_F(ProgramTest, ThePanelGivesUpTheTaskBarButtonOfAMainForm) {
  ASSERT_TRUE(MainFormParams<PlainForm>().inTaskBar);
  const platform::WindowParams params = MainFormParams<TPanelForm>();
  EXPECT_FALSE(params.inTaskBar);
  EXPECT_TRUE(params.onTop);
}

TEST_F(ProgramTest, AnExceptionEscapingTheLoopIsReportedAndTheProgramStillEndsWithZero) {
  platform.windows.onMessageLoop = [] { throw std::runtime_error("broken handler"); };
  EXPECT_EQ(RunProgram(), 0);
  EXPECT_EQ(platform.system.debugLines.back(), L"can not execute correctly");
  EXPECT_EQ(platform.images.stops, 1) << "the form is still destroyed";
}

TEST_F(ProgramTest, AskingTheMainWindowToCloseEndsTheLoop) {
  platform.windows.onMessageLoop = [&] {
    platform.windows.At(PanelForm->Handle()).events->HandleCloseRequest();
  };
  EXPECT_EQ(RunProgram(), 0);
  EXPECT_EQ(platform.windows.quitRequests, 1);
}

TEST_F(ProgramTest, TheImagingLibraryIsShutDownBeforeTheControllerGoes) {
  platform.system.executableName = L"C:\\Zentara\\Zentara.exe";
  platform.libraries.available[L"C:\\Zentara\\Images\\Quillet.dll"] = {};
  bool libraryStillLoaded = false;
  platform.images.onShutdown = [&] { libraryStillLoaded = platform.libraries.freed.empty(); };
  EXPECT_EQ(RunProgram(), 0);
  EXPECT_TRUE(libraryStillLoaded);
  EXPECT_EQ(platform.libraries.freed.size(), 1u);
}

TEST_F(ProgramTest, AFailureWhileBuildingThePanelIsReportedAndCleanedUp) {
  struct FailingDecoder : testing_support::NullImageDecoder {
    bool DecodePng(std::wstring_view, platform::DecodedImage&) override {
      throw std::runtime_error("disk gone");
    }
  } failing;
  platform.images.delegate = &failing;
  // Alike when the pictures are decoded during the start-up pause.
  for (const bool duringThePause : {false, true}) {
    platform.images.decodesBeforeStart = duringThePause;
    platform.images.stops = 0;
    platform.system.debugLines.clear();
    platform.system.messages.clear();
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_TRUE(platform.system.messages.empty());
    EXPECT_EQ(platform.system.debugLines.back(), L"can not execute correctly");
    EXPECT_EQ(platform.images.stops, 1) << "the imaging library is shut down";
    EXPECT_EQ(PanelForm, nullptr);
    EXPECT_EQ(platform.windows.loopRuns, 0);
  }
}

TEST_F(ProgramTest, TheFormEndsTheProcessWithCodeOneWhenTheImagingLibraryDoesNotStart) {
  platform.images.startupSucceeds = false;
  TApplication application;
  try {
    application.CreateForm<TPanelForm>();
    ADD_FAILURE() << "the process should have ended";
  } catch (const ProcessExit& exit) {
    EXPECT_EQ(exit.code, 1);
  }
  PanelForm = nullptr;  // the process would be gone with it
}

TEST_F(ProgramTest, TheFormEndsTheProcessWithCodeOneWhenTheDirectorCannotBeAllocated) {
  TApplication application;
  refusedSize = sizeof(Director);
  try {
    application.CreateForm<TPanelForm>();
    ADD_FAILURE() << "the process should have ended";
  } catch (const ProcessExit& exit) {
    EXPECT_EQ(exit.code, 1);
  }
  refusedSize = 0;
  PanelForm = nullptr;
  EXPECT_TRUE(platform.images.decoded.empty()) << "nothing of the panel was built";
}

}  // namespace
