#pragma once
#include "platform/timers.h"

namespace platform::x11 {

class EventLoop;

// Timers of the event loop; their ticks come only while a loop runs.
class X11Timers : public Timers {
 public:
  explicit X11Timers(EventLoop& loop) : loop_(loop) {}
  TimerId Start(uint32_t intervalMilliseconds, std::function<void()> tick) override;
  void Stop(TimerId timer) override;

 private:
  EventLoop& loop_;
};

}  // namespace platform::x11
