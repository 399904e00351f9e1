#pragma once
#include <cstdint>
#include <functional>

namespace platform {

// The device's own sense of which way up it is held, where the desktop leaves
// turning the screen to programs. Readings are rotation codes: 1 upright,
// 2 turned a quarter left, 3 upside down, 4 turned a quarter right.
class OrientationSensor {
 public:
  virtual ~OrientationSensor() = default;

  // Claims the sensor and passes on each reading that differs from the one
  // before, through the message loop. Where the desktop turns the screen by
  // itself, or there is no sensor, nothing ever comes; that is no error.
  virtual void Follow(std::function<void(int32_t code)> reading) = 0;
  // Gives the sensor back; no reading comes after it.
  virtual void Release() = 0;
};

// A system that turns the screen by itself, or has no sensor: nothing to follow.
class AbsentOrientationSensor final : public OrientationSensor {
 public:
  void Follow(std::function<void(int32_t code)> /*reading*/) override {}
  void Release() override {}
};

}  // namespace platform
