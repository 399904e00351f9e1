// A stand-in for Quillet.dll for the end-to-end tests: the same four exports,
// an angle and an auto-rotation switch of its own, and a log of every call.
//
// Environment: ZENTARA_QUILLET_LOG names the log file (one line per call,
// "RT_SetAngle(2) = 1"); ZENTARA_QUILLET_ANGLE and ZENTARA_QUILLET_AUTO give
// the starting angle (default 1) and auto-rotation state (default 0).
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

int angle = 1;
int autoRotation = 0;

int EnvironmentNumber(const char* name, int fallback) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? std::atoi(value) : fallback;
}

int Log(const char* call, int result) {
  if (const char* path = std::getenv("ZENTARA_QUILLET_LOG")) {
    if (FILE* log = std::fopen(path, "a")) {
      std::fprintf(log, "%s = %d\n", call, result);
      std::fclose(log);
    }
  }
  return result;
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    angle = EnvironmentNumber("ZENTARA_QUILLET_ANGLE", 1);
    autoRotation = EnvironmentNumber("ZENTARA_QUILLET_AUTO", 0);
  }
  return TRUE;
}

__declspec(dllexport) int WINAPI RT_GetAngle() {
  return Log("RT_GetAngle()", angle);
}

__declspec(dllexport) int WINAPI RT_SetAngle(int code) {
  angle = code >= 2 && code <= 4 ? code : 1;
  char call[64];
  std::snprintf(call, sizeof call, "RT_SetAngle(%d)", code);
  return Log(call, 1);
}

__declspec(dllexport) int WINAPI RT_GetAutoRotationOn() {
  return Log("RT_GetAutoRotationOn()", autoRotation);
}

__declspec(dllexport) int WINAPI RT_SetAutoRotation(int on) {
  autoRotation = on;
  char call[64];
  std::snprintf(call, sizeof call, "RT_SetAutoRotation(%d)", on);
  return Log(call, 1);
}

}  // extern "C"
