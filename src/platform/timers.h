#pragma once
#include <cstdint>
#include <functional>

#include "platform/types.h"

namespace platform {

// Periodic timers whose ticks arrive through the user-interface thread's message loop.
class Timers {
 public:
  virtual ~Timers() = default;

  virtual TimerId Start(uint32_t intervalMilliseconds, std::function<void()> tick) = 0;
  virtual void Stop(TimerId timer) = 0;
};

}  // namespace platform
