#pragma once
#include <map>
#include <memory>
#include <vector>

#include "platform/windowing.h"

namespace platform::x11 {

class ActiveWindowWatcher;
class EventLoop;
class HostWindow;
class X11Connection;

// Today's windowing interface over the X11 pieces: style bits become window
// options, a layered push becomes a frame with its opacity, the foreground
// window is the active one.
class X11Windowing : public Windowing {
 public:
  X11Windowing(X11Connection& connection, EventLoop& loop, ActiveWindowWatcher& active);
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
  // The desktop's Xft.dpi, the same for every window.
  int32_t DisplayDpi(WindowHandle window) override;
  WindowHandle ForegroundWindow() override;
  WindowHandle FindWindow(std::wstring_view className, std::wstring_view title) override;
  void BeginWindowDrag(WindowHandle window) override;

  uint32_t GetExStyle(WindowHandle window) override;
  void SetExStyle(WindowHandle window, uint32_t exStyle) override;
  void Redraw(WindowHandle window, uint32_t flags) override;
  bool LayeredUpdateAvailable() override { return true; }
  void UpdateLayered(WindowHandle window, const LayeredSource& source, uint32_t colorKey,
                     BlendBytes blend, uint32_t flags) override;

  void RunMessageLoop() override;
  void QuitMessageLoop() override;

 private:
  struct Entry {
    std::unique_ptr<HostWindow> host;
    std::wstring className;
    std::wstring title;
    uint32_t exStyle = 0;
  };
  Entry* Find(WindowHandle window);

  X11Connection& connection_;
  EventLoop& loop_;
  ActiveWindowWatcher& active_;
  std::map<WindowHandle, Entry> windows_;
  std::vector<unsigned long> icon_;
};

}  // namespace platform::x11
