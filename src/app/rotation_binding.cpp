#include "app/rotation_binding.h"

#include <string>

#include "base/application.h"
#include "platform/libraries.h"
#include "platform/services.h"
#include "platform/system.h"

namespace {

template <typename Function>
Function Lookup(platform::LibraryHandle library, const char* name) {
  return reinterpret_cast<Function>(platform::GetLibraries().Symbol(library, name));
}

// "Images\Quillet.dll" below the executable's folder, or the file the system
// gives the library called Quillet ("Images\libquillet.so").
std::wstring LibraryPath() {
  return ExtractFilePath(platform::GetSystem().ExecutableName()) + L"Images\\" +
         platform::GetLibraries().FileName(L"Quillet");
}

// The next rotation code after codes 1 to 4 (index 0 is unused).
constexpr int32_t kOneStepLeft[5] = {0, 2, 3, 4, 1};
constexpr int32_t kOneStepRight[5] = {0, 4, 1, 2, 3};

}  // namespace

RotationBinding::~RotationBinding() {
  Release();
}

void RotationBinding::Bind() {
  // Without its own folder the program would look for the library relative
  // to wherever it was started, and might load a stranger's.
  if (platform::GetSystem().ExecutableName().empty()) {
    if (!toldNoFolder_) {
      platform::GetSystem().DebugOutput(
          L"the program's own folder is unknown, so the rotation library is not loaded");
    }
    toldNoFolder_ = true;
    return;
  }
  library_ = platform::GetLibraries().Load(LibraryPath());
  if (library_ == 0) return;
  RT_GetAngle = Lookup<GetAngleFn>(library_, "RT_GetAngle");
  RT_SetAngle = Lookup<SetAngleFn>(library_, "RT_SetAngle");
  RT_GetAutoRotationOn = Lookup<GetAutoRotationOnFn>(library_, "RT_GetAutoRotationOn");
  RT_SetAutoRotation = Lookup<SetAutoRotationFn>(library_, "RT_SetAutoRotation");
}

void RotationBinding::Release() {
  if (library_ == 0) return;
  platform::GetLibraries().Free(library_);
  library_ = 0;
  RT_GetAngle = nullptr;
  RT_SetAngle = nullptr;
  RT_GetAutoRotationOn = nullptr;
  RT_SetAutoRotation = nullptr;
}

void RotationBinding::Turn(const int32_t (&next)[5]) {
  if (RT_GetAngle == nullptr || RT_SetAngle == nullptr) return;
  const int32_t code = RT_GetAngle();
  // -1 (the orientation could not be read) and any other odd answer stop the command.
  if (code < 1 || code > 4) return;
  RT_SetAngle(next[code]);
}

void RotationBinding::TurnLeft() {
  Turn(kOneStepLeft);
}

void RotationBinding::TurnRight() {
  Turn(kOneStepRight);
}

void RotationBinding::TurnTo(int32_t code) {
  if (RT_GetAngle == nullptr || RT_SetAngle == nullptr || code < 1 || code > 4) return;
  if (RT_GetAngle() != code) RT_SetAngle(code);
}

void RotationBinding::SwitchAutoRotation(bool on) {
  if (RT_SetAutoRotation != nullptr) RT_SetAutoRotation(on ? 1 : 0);
}

void RotationBinding::FollowInputs() {
  if (RT_GetAngle == nullptr || RT_SetAngle == nullptr) return;
  const int32_t code = RT_GetAngle();
  if (code >= 1 && code <= 4) RT_SetAngle(code);
}

bool RotationBinding::IsAutoRotationOn() {
  return RT_GetAutoRotationOn != nullptr && RT_GetAutoRotationOn() != 0;
}
