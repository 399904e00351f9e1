#pragma once
#include <cstdint>

#include "platform/types.h"

// The rotation library, loaded at run time, and the commands built on its four
// exports. A missing library or export is never reported: each command that
// needs it does nothing.
class RotationBinding {
 public:
  RotationBinding() = default;
  ~RotationBinding();
  RotationBinding(const RotationBinding&) = delete;
  RotationBinding& operator=(const RotationBinding&) = delete;

  // Loads the library below the executable's folder and looks up its exports;
  // without a known folder, loads nothing and says so once.
  void Bind();
  void Release();

  // One quarter turn: the rotation code one step up the cycle (left) or down (right).
  void TurnLeft();
  void TurnRight();
  // Turns to the rotation code `code` (1 to 4) unless the screen is there already.
  void TurnTo(int32_t code);
  void SwitchAutoRotation(bool on);
  // False when the export is missing.
  bool IsAutoRotationOn();
  // Asks the library again for the angle the screen has, which maps touch and
  // pen devices onto the screen as it is now without turning it.
  void FollowInputs();

 private:
  using GetAngleFn = int32_t(ZENTARA_WINAPI*)();
  using SetAngleFn = int32_t(ZENTARA_WINAPI*)(int32_t);
  using GetAutoRotationOnFn = int32_t(ZENTARA_WINAPI*)();
  using SetAutoRotationFn = int32_t(ZENTARA_WINAPI*)(int32_t);

  void Turn(const int32_t (&next)[5]);

  platform::LibraryHandle library_ = 0;
  bool toldNoFolder_ = false;
  GetAngleFn RT_GetAngle = nullptr;
  SetAngleFn RT_SetAngle = nullptr;
  GetAutoRotationOnFn RT_GetAutoRotationOn = nullptr;
  SetAutoRotationFn RT_SetAutoRotation = nullptr;
};
