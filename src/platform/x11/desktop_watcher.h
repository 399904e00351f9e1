#pragma once
#include <X11/Xlib.h>

#include <cstdint>
#include <functional>

#include "platform/x11/event_loop.h"
#include "platform/x11/screen_watcher.h"
#include "platform/x11/selection_owner.h"

namespace platform::x11 {

class X11Connection;

// Follows two properties of the root window, told of every change by
// PropertyNotify: the window manager's _NET_ACTIVE_WINDOW and the desktop's
// Xft.dpi in RESOURCE_MANAGER, which desktops rewrite when the user changes
// the scale. Where a settings manager publishes XSETTINGS, its scale counts
// before Xft.dpi, followed through its window's _XSETTINGS_SETTINGS. Some
// window managers write None before the window that becomes active;
// ActiveWindow() reports whatever is written, 0 for None or where no window
// manager keeps the property. The root's screen events go to a ScreenWatcher;
// whether a compositing manager runs is followed too.
class DesktopWatcher : public EventSink {
 public:
  DesktopWatcher(X11Connection& connection, EventLoop& loop);
  ~DesktopWatcher() override;
  DesktopWatcher(const DesktopWatcher&) = delete;
  DesktopWatcher& operator=(const DesktopWatcher&) = delete;

  ::Window ActiveWindow() const { return active_; }
  // Called when the window manager names another active window.
  std::function<void()> onActiveWindowChange;
  int32_t Dpi() const { return dpi_; }
  // Called when the desktop's scale changes, with the new value.
  std::function<void(int32_t dpi)> onDpiChange;
  // Whether a compositing manager blends windows over what is below.
  bool Composited() const { return compositor_.Owner() != 0; }
  // Called when a compositing manager starts or ends.
  std::function<void(bool composited)> onCompositorChange;
  // Called when the screen's size or the primary monitor's area changes (see
  // ScreenWatcher).
  std::function<void(const Rect& before, const Rect& now)> onScreenChange;
  // Called when the screen, a CRTC or an output changed in any way.
  std::function<void()> onOutputsChange;

  void HandleEvent(const XEvent& event) override;

 private:
  ::Window ReadActiveWindow() const;
  // Watches the settings manager's window, if any, as the one to read.
  void FollowSettingsManager();
  int32_t ReadDpi();
  void UpdateDpi();

  X11Connection& connection_;
  EventLoop& loop_;
  ScreenWatcher screen_;
  SelectionOwner compositor_;
  SelectionOwner settingsManager_;
  ::Window settingsWindow_ = 0;
  ::Atom settingsProperty_;
  ::Window active_ = 0;
  int32_t dpi_;
};

}  // namespace platform::x11
