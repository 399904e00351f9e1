#pragma once
#include <X11/Xlib.h>

#include <functional>

#include "platform/x11/event_loop.h"

namespace platform::x11 {

class X11Connection;

// Follows XInput's device hierarchy on the root window: a device added or
// enabled (a pen that connects, a touchscreen back after a suspend) is told
// through onDevicesAdded; devices that go away are not. A finger that lifts
// from a touchscreen is told through onTouchLifted. Nothing is told on a
// server without XInput 2, and no lift before XInput 2.2.
class InputWatcher : public EventSink {
 public:
  InputWatcher(X11Connection& connection, EventLoop& loop);
  ~InputWatcher() override;
  InputWatcher(const InputWatcher&) = delete;
  InputWatcher& operator=(const InputWatcher&) = delete;

  std::function<void()> onDevicesAdded;
  std::function<void()> onTouchLifted;

  void HandleEvent(const XEvent& event) override;

 private:
  X11Connection& connection_;
  EventLoop& loop_;
  int opcode_ = -1;       // XInput's major opcode, -1 without XInput 2
  bool touches_ = false;  // the server has touch events (XInput 2.2)
};

}  // namespace platform::x11
