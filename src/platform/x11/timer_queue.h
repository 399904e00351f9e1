#pragma once
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace platform::x11 {

// Periodic timers kept by deadline, without any clock of their own: the event
// loop says what time it is. A tick that comes late is not made up for; the
// next one is a whole interval after the late one.
class TimerQueue {
 public:
  using Clock = std::chrono::steady_clock;
  using Id = uintptr_t;

  // Returns a non-zero id; the first tick is due one interval after `now`.
  Id Start(uint32_t intervalMilliseconds, std::function<void()> tick, Clock::time_point now);
  void Stop(Id timer);
  bool Running(Id timer) const { return timers_.count(timer) != 0; }

  // The earliest deadline of all running timers.
  std::optional<Clock::time_point> NextDeadline() const;
  // Runs every tick due at `now`, each once. A tick may start or stop timers,
  // its own included; a timer stopped by an earlier tick does not run.
  void RunDue(Clock::time_point now);

 private:
  struct Timer {
    Clock::duration interval;
    Clock::time_point deadline;
    std::function<void()> tick;
  };
  std::map<Id, Timer> timers_;
  Id nextId_ = 1;
};

}  // namespace platform::x11
