#pragma once
// The Director's test bench: the program's form on the null platform, with
// artwork whose pictures tell which one a push showed, and the rotation
// library's exports noted call by call.
#include <gtest/gtest.h>

#include <cstdint>
#include <cwchar>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/director.h"
#include "app/display_scale.h"
#include "app/panel_form.h"
#include "base/application.h"
#include "director_probe.h"
#include "fake_rotation.h"
#include "gs/wdg_button.h"
#include "null_platform.h"

namespace director_testing {

using testing_support::FakeRotation;
using testing_support::NullPlatform;
using State = Director::PanelStates;

constexpr wchar_t kExe[] = L"C:\\Programs\\Zentara\\Zentara.exe";
constexpr wchar_t kImages[] = L"C:\\Programs\\Zentara\\images\\";
constexpr wchar_t kLibrary[] = L"C:\\Programs\\Zentara\\Images\\Quillet.dll";

template <typename Function>
void* Entry(Function function) {
  return reinterpret_cast<void*>(function);
}

// Opaque colour of frame `number`, so a push tells which frame it showed.
inline uint32_t FrameColour(int32_t number) {
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

}  // namespace director_testing
