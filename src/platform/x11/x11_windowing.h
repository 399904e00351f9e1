#pragma once
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/windowing.h"

namespace platform::x11 {

class DesktopWatcher;
class EventLoop;
class HostWindow;
class InputWatcher;
class X11Connection;

// The windowing interface over the X11 pieces: a window's description becomes
// window options, a layered push becomes a frame with its opacity, click-through
// becomes the window's shape. Places are in screen coordinates, which start at
// the primary monitor's top-left corner (see PrimaryScreenArea).
class X11Windowing : public Windowing {
 public:
  X11Windowing(X11Connection& connection, EventLoop& loop, DesktopWatcher& desktop);
  ~X11Windowing() override;

  // _NET_WM_ICON of every window, existing and to come.
  void SetIcon(std::vector<unsigned long> icon);

  WindowHandle CreateWindow(const WindowParams& params, WindowEvents* events) override;
  void DestroyWindow(WindowHandle window) override;
  void ShowWindow(WindowHandle window) override;
  void Invalidate(WindowHandle window) override;
  void MoveWindow(WindowHandle window, int32_t left, int32_t top) override;
  void SetClientSize(WindowHandle window, int32_t width, int32_t height) override;
  Rect GetWindowRect(WindowHandle window) override;

  int32_t ScreenWidth() override;
  int32_t ScreenHeight() override;
  // The desktop's scale (XSETTINGS, else Xft.dpi), the same for every window; every window is told
  // when it changes.
  int32_t DisplayDpi(WindowHandle window) override;
  WindowHandle ActiveWindow() override;
  WindowHandle FindWindow(std::wstring_view className, std::wstring_view title) override;
  void BeginWindowDrag(WindowHandle window) override;

  bool SetLayered(WindowHandle window, bool layered, bool clickThrough) override;
  void RedrawAll(WindowHandle window) override;
  bool LayeredUpdateAvailable() override { return true; }
  void PushWithAlpha(WindowHandle window, const LayeredSource& source, uint8_t opacity) override;
  void PushColorKeyed(WindowHandle window, const LayeredSource& source, uint32_t colorKey) override;

  void RunMessageLoop() override;
  void QuitMessageLoop() override;

 private:
  struct Entry {
    std::unique_ptr<HostWindow> host;
    std::wstring className;
    std::wstring title;
    bool layered = false;
    bool clickThrough = false;
  };
  Entry* Find(WindowHandle window);
  // Tells every window; a window told may create or destroy windows.
  void TellEveryWindow(const std::function<void(HostWindow& host)>& tell);
  // The entry of `window` when `source` can be shown; null otherwise.
  Entry* PushTarget(WindowHandle window, const LayeredSource& source);

  X11Connection& connection_;
  EventLoop& loop_;
  DesktopWatcher& desktop_;
  std::unique_ptr<InputWatcher> inputs_;
  std::map<WindowHandle, Entry> windows_;
  std::vector<unsigned long> icon_;
  // The window out of the window manager's hands pressed last, and the window
  // manager's active window then.
  WindowHandle pressedOutOfHands_ = 0;
  WindowHandle activeAtPress_ = 0;
};

}  // namespace platform::x11
