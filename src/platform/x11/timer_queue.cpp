#include "platform/x11/timer_queue.h"

#include <algorithm>

namespace platform::x11 {

TimerQueue::Id TimerQueue::Start(uint32_t intervalMilliseconds, std::function<void()> tick,
                                 Clock::time_point now) {
  // As on other systems, an interval of 0 still waits a little between ticks.
  const Clock::duration interval =
      std::chrono::milliseconds(std::max<uint32_t>(intervalMilliseconds, 1));
  const Id id = nextId_++;
  timers_[id] = {interval, now + interval, std::move(tick)};
  return id;
}

void TimerQueue::Stop(Id timer) {
  timers_.erase(timer);
}

std::optional<TimerQueue::Clock::time_point> TimerQueue::NextDeadline() const {
  std::optional<Clock::time_point> next;
  for (const auto& [id, timer] : timers_) {
    if (!next || timer.deadline < *next) next = timer.deadline;
  }
  return next;
}

void TimerQueue::RunDue(Clock::time_point now) {
  std::vector<Id> due;
  for (const auto& [id, timer] : timers_) {
    if (timer.deadline <= now) due.push_back(id);
  }
  for (const Id id : due) {
    const auto found = timers_.find(id);
    if (found == timers_.end()) continue;  // stopped by an earlier tick
    found->second.deadline = now + found->second.interval;
    // The tick may stop its own timer, so it runs from a copy.
    const std::function<void()> tick = found->second.tick;
    tick();
  }
}

}  // namespace platform::x11
