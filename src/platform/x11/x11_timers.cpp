#include "platform/x11/x11_timers.h"

#include "platform/x11/event_loop.h"

namespace platform::x11 {

TimerId X11Timers::Start(uint32_t intervalMilliseconds, std::function<void()> tick) {
  return loop_.StartTimer(intervalMilliseconds, std::move(tick));
}

void X11Timers::Stop(TimerId timer) {
  loop_.StopTimer(timer);
}

}  // namespace platform::x11
