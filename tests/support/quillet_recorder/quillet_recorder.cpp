// A stand-in for the rotation library (Quillet.dll, libquillet.so) for the
// end-to-end tests: the same four exports, an angle and an auto-rotation
// switch of its own, and a log of every call.
//
// Environment: ZENTARA_QUILLET_LOG names the log file (one line per call,
// "RT_SetAngle(2) = 1"); ZENTARA_QUILLET_ANGLE and ZENTARA_QUILLET_AUTO give
// the starting angle (default 1) and auto-rotation state (default 0). While
// the file that ZENTARA_QUILLET_TURN_HOLD names exists, RT_SetAngle logs
// "RT_SetAngle(2) is held" and waits (at most a minute) before it turns, as a
// slow display would.
#ifdef _WIN32
#include <windows.h>
#define QUILLET_EXPORT extern "C" __declspec(dllexport)
#define QUILLET_CALL WINAPI
#else
#define QUILLET_EXPORT extern "C" __attribute__((visibility("default")))
#define QUILLET_CALL
#endif

#include <cstdio>
#include <cstdlib>

#ifndef _WIN32
#include <time.h>
#endif

namespace {

int angle = 1;
int autoRotation = 0;

int EnvironmentNumber(const char* name, int fallback) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? std::atoi(value) : fallback;
}

void Load() {
  angle = EnvironmentNumber("ZENTARA_QUILLET_ANGLE", 1);
  autoRotation = EnvironmentNumber("ZENTARA_QUILLET_AUTO", 0);
}

void Append(const char* line) {
  if (const char* path = std::getenv("ZENTARA_QUILLET_LOG")) {
    if (FILE* log = std::fopen(path, "a")) {
      std::fprintf(log, "%s\n", line);
      std::fclose(log);
    }
  }
}

int Log(const char* call, int result) {
  char line[96];
  std::snprintf(line, sizeof line, "%s = %d", call, result);
  Append(line);
  return result;
}

bool Exists(const char* path) {
  FILE* file = std::fopen(path, "r");
  if (file != nullptr) std::fclose(file);
  return file != nullptr;
}

void PauseBriefly() {
#ifdef _WIN32
  Sleep(10);
#else
  const timespec pause{0, 10'000'000};
  nanosleep(&pause, nullptr);
#endif
}

void WaitWhileHeld(const char* call) {
  const char* hold = std::getenv("ZENTARA_QUILLET_TURN_HOLD");
  if (hold == nullptr || !Exists(hold)) return;
  char held[96];
  std::snprintf(held, sizeof held, "%s is held", call);
  Append(held);
  for (int i = 0; i < 6000 && Exists(hold); ++i) PauseBriefly();
}

#ifndef _WIN32
__attribute__((constructor)) void LoadOnOpen() {
  Load();
}
#endif

}  // namespace

#ifdef _WIN32
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) Load();
  return TRUE;
}
#endif

QUILLET_EXPORT int QUILLET_CALL RT_GetAngle() {
  return Log("RT_GetAngle()", angle);
}

QUILLET_EXPORT int QUILLET_CALL RT_SetAngle(int code) {
  char call[64];
  std::snprintf(call, sizeof call, "RT_SetAngle(%d)", code);
  WaitWhileHeld(call);
  angle = code >= 2 && code <= 4 ? code : 1;
  return Log(call, 1);
}

QUILLET_EXPORT int QUILLET_CALL RT_GetAutoRotationOn() {
  return Log("RT_GetAutoRotationOn()", autoRotation);
}

QUILLET_EXPORT int QUILLET_CALL RT_SetAutoRotation(int on) {
  autoRotation = on;
  char call[64];
  std::snprintf(call, sizeof call, "RT_SetAutoRotation(%d)", on);
  return Log(call, 1);
}
