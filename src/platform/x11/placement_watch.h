#pragma once
#include <X11/Xlib.h>

#include <cstdint>
#include <functional>

#include "platform/x11/timer_queue.h"

namespace platform::x11 {

class ArgbWindow;
class EventLoop;
class X11Connection;

// Finds out from what the window manager does whether it keeps a managed
// window where the program puts it. After each map, move or resize the window
// asks for, the window manager answers (the window mapped, a report made after
// the request) and then falls quiet; the window must then be where it asked,
// of its own size, with no frame around it. Where the server has the window
// counts, not what a report claims: some window managers report the place
// asked for while the window stays elsewhere, and some keep every frame in a
// corner of the X screen and place it only on their own. A window manager that
// does not answer in time counts as refusing too.
class PlacementWatch {
 public:
  // `onRefused` is called once, from the event loop, when the window manager
  // did not keep the window at its place; the watch may be destroyed in it.
  PlacementWatch(X11Connection& connection, EventLoop& loop, const ArgbWindow& window,
                 std::function<void()> onRefused);
  ~PlacementWatch();
  PlacementWatch(const PlacementWatch&) = delete;
  PlacementWatch& operator=(const PlacementWatch&) = delete;

  // The window asked for its map, a place or a size with the request `serial`.
  void Asked(unsigned long serial);
  // Each event of the window.
  void Take(const XEvent& event);
  // The window manager moves the window for the user now: it is where it should be.
  void Stop();
  // Waiting for the window manager's answer or for it to fall quiet.
  bool Judging() const { return phase_ == Phase::kAnswer || phase_ == Phase::kQuiet; }

 private:
  enum class Phase { kIdle, kAnswer, kQuiet, kRefused };
  void Wait(Phase phase, uint32_t milliseconds);
  void StopTimer();
  void Judge();
  bool AtItsPlace() const;

  X11Connection& connection_;
  EventLoop& loop_;
  const ArgbWindow& window_;
  std::function<void()> onRefused_;
  Phase phase_ = Phase::kIdle;
  unsigned long serial_ = 0;
  bool mapped_ = false;
  TimerQueue::Id timer_ = 0;
};

}  // namespace platform::x11
