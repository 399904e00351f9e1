#pragma once
#include <map>

#include "platform/timers.h"

namespace platform::win32 {

// Thread timers: their ticks arrive as messages of the user-interface thread.
class Win32Timers : public Timers {
 public:
  ~Win32Timers() override;
  TimerId Start(uint32_t intervalMilliseconds, std::function<void()> tick) override;
  void Stop(TimerId timer) override;

  // Runs the tick of a timer, if it is still running.
  static void Tick(TimerId timer);

 private:
  static std::map<TimerId, std::function<void()>>& Running();
};

}  // namespace platform::win32
