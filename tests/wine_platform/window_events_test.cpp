// What the Windows platform tells a window's owner when the system sends the
// window its messages about the screen, the display scale and moves.
#include "platform/win32/windows_api.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/win32/win32_windowing.h"

namespace {

// Records the events that are not pointer events.
class Recorder : public platform::WindowEvents {
 public:
  void HandlePaint() override {}
  void HandleMouseDown(platform::MouseButton, uint8_t, int32_t, int32_t) override {}
  void HandleMouseMove(uint8_t, int32_t, int32_t) override {}
  void HandleMouseUp(platform::MouseButton, uint8_t, int32_t, int32_t) override {}
  void HandleMouseLeave() override {}
  void HandleCloseRequest() override {}
  void HandleDpiChange(int32_t dpi, std::optional<platform::Point> suggested) override {
    events.push_back("dpi " + std::to_string(dpi));
    suggestion = suggested;
  }
  void HandleMoveStart() override { events.push_back("move start"); }
  void HandleMoveEnd() override { events.push_back("move end"); }
  void HandleScreenChange() override { events.push_back("screen"); }
  void HandleInputDevicesChange() override { events.push_back("input devices"); }

  std::vector<std::string> events;
  std::optional<platform::Point> suggestion;
};

class WindowEventsTest : public ::testing::Test {
 protected:
  WindowEventsTest() {
    platform::WindowParams params;
    params.className = L"TWindowEventsProbe";
    params.frameless = true;
    params.clientWidth = 40;
    params.clientHeight = 30;
    window_ = reinterpret_cast<HWND>(windowing_.CreateWindow(params, &recorder));
  }
  ~WindowEventsTest() override {
    windowing_.DestroyWindow(reinterpret_cast<platform::WindowHandle>(window_));
  }

  Recorder recorder;
  HWND window_ = nullptr;

 private:
  platform::win32::Win32Windowing windowing_;
};

TEST_F(WindowEventsTest, ANewDisplayModeIsAScreenChange) {
  ASSERT_NE(window_, nullptr);
  ::SendMessageW(window_, WM_DISPLAYCHANGE, 32, MAKELPARAM(800, 1280));
  EXPECT_EQ(recorder.events, std::vector<std::string>{"screen"});
}

TEST_F(WindowEventsTest, AScaleChangeDuringAMoveCarriesTheSuggestedTopLeft) {
  ASSERT_NE(window_, nullptr);
  RECT suggested{1500, 310, 1500 + 80, 310 + 60};
  ::SendMessageW(window_, WM_ENTERSIZEMOVE, 0, 0);
  ::SendMessageW(window_, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(192, 192),
                 reinterpret_cast<LPARAM>(&suggested));
  ::SendMessageW(window_, WM_EXITSIZEMOVE, 0, 0);
  EXPECT_EQ(recorder.events, (std::vector<std::string>{"move start", "dpi 192", "move end"}));
  ASSERT_TRUE(recorder.suggestion.has_value());
  EXPECT_EQ(*recorder.suggestion, (platform::Point{1500, 310}));
}

}  // namespace
