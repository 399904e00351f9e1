#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/types.h"

namespace testing_support {

// The rotation library's exports, standing in for the real ones.
struct FakeRotation {
  static inline int32_t angle = 1;
  static inline int32_t autoOn = 0;
  static inline std::vector<std::string> calls;

  static int32_t ZENTARA_WINAPI GetAngle() {
    calls.push_back("RT_GetAngle");
    return angle;
  }
  static int32_t ZENTARA_WINAPI SetAngle(int32_t code) {
    calls.push_back("RT_SetAngle(" + std::to_string(code) + ")");
    angle = code;
    return 1;
  }
  static int32_t ZENTARA_WINAPI GetAutoRotationOn() {
    calls.push_back("RT_GetAutoRotationOn");
    return autoOn;
  }
  static int32_t ZENTARA_WINAPI SetAutoRotation(int32_t on) {
    calls.push_back("RT_SetAutoRotation(" + std::to_string(on) + ")");
    autoOn = on;
    return 1;
  }
  static void Reset() {
    angle = 1;
    autoOn = 0;
    calls.clear();
  }
};

}  // namespace testing_support
