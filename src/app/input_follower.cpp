#include "app/input_follower.h"

#include "app/rotation_binding.h"
#include "base/timer.h"

namespace {

// Long enough for a device's parts and a turn's events to arrive together.
constexpr uint32_t kQuietMilliseconds = 400;

}  // namespace

InputFollower::InputFollower(RotationBinding& rotation)
    : rotation_(rotation), quiet_(std::make_unique<TTimer>()) {
  quiet_->SetEnabled(false);
  quiet_->SetInterval(kQuietMilliseconds);
  quiet_->SetOnTimer(Callback<TObject*>(this, &InputFollower::OnQuiet));
}

InputFollower::~InputFollower() = default;

void InputFollower::OnDevicesChange(TObject* /*sender*/) {
  // Every change of a burst starts the wait again.
  quiet_->SetEnabled(false);
  quiet_->SetEnabled(true);
}

void InputFollower::OnQuiet(TObject* /*sender*/) {
  quiet_->SetEnabled(false);
  rotation_.FollowInputs();
}
