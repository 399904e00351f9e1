#pragma once
#include <X11/Xlib.h>

#include <functional>

#include "platform/x11/event_loop.h"

namespace platform::x11 {

class X11Connection;

// Follows the window manager's _NET_ACTIVE_WINDOW on the root window, told of
// every change by PropertyNotify. Some window managers write None before the
// window that becomes active; Current() reports whatever is written, 0 for
// None or where no window manager keeps the property.
class ActiveWindowWatcher : public EventSink {
 public:
  ActiveWindowWatcher(X11Connection& connection, EventLoop& loop);
  ~ActiveWindowWatcher() override;
  ActiveWindowWatcher(const ActiveWindowWatcher&) = delete;
  ActiveWindowWatcher& operator=(const ActiveWindowWatcher&) = delete;

  ::Window Current() const { return current_; }
  std::function<void(::Window)> onChange;

  void HandleEvent(const XEvent& event) override;

 private:
  ::Window Read() const;

  X11Connection& connection_;
  EventLoop& loop_;
  ::Window current_ = 0;
};

}  // namespace platform::x11
