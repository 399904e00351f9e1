#pragma once
#include <cstdint>
#include <memory>

class RotationBinding;
class TObject;
class TTimer;

// Turns the screen as the device turns, where the platform has a sensor to
// follow for us. A reading counts once it has held for half a second, so a
// device swung past an orientation does not turn the screen there; it then
// turns the screen if the rotation library says automatic rotation is on
// (asked each time, so a switch made elsewhere counts). The sensor is claimed
// for the life of the object.
class SensorRotation {
 public:
  static constexpr uint32_t kHoldMilliseconds = 500;

  explicit SensorRotation(RotationBinding& rotation);
  ~SensorRotation();
  SensorRotation(const SensorRotation&) = delete;
  SensorRotation& operator=(const SensorRotation&) = delete;

 private:
  void OnReading(int32_t code);
  void OnHeld(TObject* sender);

  RotationBinding& rotation_;
  std::unique_ptr<TTimer> holdTimer_;
  int32_t waiting_ = 0;  // the reading that is waiting to hold, if any
  int32_t settled_ = 0;  // the last reading that held
};
