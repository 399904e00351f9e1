#pragma once
#include <memory>

class RotationBinding;
class TObject;
class TTimer;

// Keeps touch and pen devices mapped onto the screen. Devices and outputs
// change in bursts (a tablet brings a pen, an eraser and a touchscreen at
// once; a turn sends several screen events): the library is asked once, when
// a burst has been quiet for a short while.
class InputFollower {
 public:
  // `rotation` outlives the follower.
  explicit InputFollower(RotationBinding& rotation);
  ~InputFollower();
  InputFollower(const InputFollower&) = delete;
  InputFollower& operator=(const InputFollower&) = delete;

  // A form's OnInputDevicesChange.
  void OnDevicesChange(TObject* sender);

 private:
  void OnQuiet(TObject* sender);

  RotationBinding& rotation_;
  std::unique_ptr<TTimer> quiet_;
};
