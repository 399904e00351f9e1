#include "app/sensor_rotation.h"

#include "app/rotation_binding.h"
#include "base/timer.h"
#include "platform/orientation_sensor.h"
#include "platform/services.h"

SensorRotation::SensorRotation(RotationBinding& rotation)
    : rotation_(rotation), holdTimer_(std::make_unique<TTimer>()) {
  holdTimer_->SetEnabled(false);
  holdTimer_->SetInterval(kHoldMilliseconds);
  holdTimer_->SetOnTimer(Callback<TObject*>(this, &SensorRotation::OnHeld));
  platform::GetOrientationSensor().Follow([this](int32_t code) { OnReading(code); });
}

SensorRotation::~SensorRotation() {
  platform::GetOrientationSensor().Release();
}

void SensorRotation::OnReading(int32_t code) {
  if (code == waiting_) return;
  // Each new reading starts the wait afresh; one back where the device has
  // rested waits for nothing.
  holdTimer_->SetEnabled(false);
  waiting_ = code == settled_ ? 0 : code;
  holdTimer_->SetEnabled(waiting_ != 0);
}

void SensorRotation::OnHeld(TObject* /*sender*/) {
  holdTimer_->SetEnabled(false);
  settled_ = waiting_;
  waiting_ = 0;
  if (rotation_.IsAutoRotationOn()) rotation_.TurnTo(settled_);
}
