#pragma once
#include <X11/Xlib.h>
#include <poll.h>

#include <cstdint>
#include <functional>
#include <map>
#include <utility>
#include <vector>

#include "platform/x11/timer_queue.h"

namespace platform::x11 {

class X11Connection;

// Whatever wants the events of one X window.
class EventSink {
 public:
  virtual ~EventSink() = default;
  virtual void HandleEvent(const XEvent& event) = 0;
  // A paint asked for with EventLoop::RequestPaint.
  virtual void HandlePaint() {}
};

// Work from elsewhere (GLib's main context) that shares the loop's wait.
class WaitPartner {
 public:
  virtual ~WaitPartner() = default;
  // Adds the descriptors it waits on and may shorten the wait (-1: no limit).
  virtual void BeforeWait(std::vector<pollfd>& fds, int& timeoutMs) = 0;
  // Runs what became ready; `fds` as the wait left them.
  virtual void AfterWait(const std::vector<pollfd>& fds) = 0;
};

// The user-interface thread's loop: X events, then coalesced paints, then due
// timers, and in between a wait on the connection until the nearest deadline.
// Loops may nest (a modal notice runs one); Quit ends every running loop.
class EventLoop {
 public:
  explicit EventLoop(X11Connection& connection) : connection_(connection) {}

  void Watch(::Window window, EventSink* sink);
  void Unwatch(::Window window);
  // The events of an extension that come as generic events, which name no
  // window (XInput 2's), by the extension's major opcode.
  void WatchExtension(int opcode, EventSink* sink);
  void UnwatchExtension(int opcode);

  TimerQueue::Id StartTimer(uint32_t intervalMilliseconds, std::function<void()> tick);
  void StopTimer(TimerQueue::Id timer);

  // `partner` (or none) waits along with the loop from now on.
  void ShareWait(WaitPartner* partner) { partner_ = partner; }
  // Calls `ready` from the loop whenever the file descriptor `fd` can be read.
  void WatchDescriptor(int fd, std::function<void()> ready);

  // Several requests before the paint is delivered give one paint.
  void RequestPaint(::Window window);

  // Runs until Quit is called.
  void Run();
  // Runs until `done` answers true or Quit is called.
  void RunUntil(const std::function<bool()>& done);
  void Quit() { quitting_ = true; }
  bool Quitting() const { return quitting_; }

 private:
  void DispatchQueuedEvents();
  void DeliverPaints();
  void WaitForWork();

  X11Connection& connection_;
  EventSink* SinkOf(const XEvent& event) const;

  std::map<::Window, EventSink*> sinks_;
  std::map<int, EventSink*> extensionSinks_;
  std::vector<::Window> paints_;
  std::vector<std::pair<int, std::function<void()>>> descriptors_;
  TimerQueue timers_;
  bool quitting_ = false;
  int depth_ = 0;
  WaitPartner* partner_ = nullptr;
};

}  // namespace platform::x11
