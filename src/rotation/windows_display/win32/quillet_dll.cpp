// The DLL itself: the module-wide entry table, the entry point that fills it,
// and the four exports. It runs without any C runtime, so nothing here may
// need static construction or runtime support.
#include <windows.h>

#include <cstdint>

#include "rotation/windows_display/auto_rotation.h"
#include "rotation/windows_display/display_rotation.h"
#include "rotation/windows_display/platform_entries.h"
#include "rotation/windows_display/win32/kernel_services.h"
#include "rotation/windows_display/win32/user32_entries.h"

namespace {

// Written only while the library is attached, before any export can run.
constinit quillet::PlatformEntries entries = {
    .setDisplayConfig = nullptr,
    .getDisplayConfigBufferSizes = nullptr,
    .queryDisplayConfig = nullptr,
    .getAutoRotationState = nullptr,
    .switchAutoRotation = nullptr,
    .queryVersion = &quillet::win32::QueryWindowsVersion,
    .pause = &quillet::win32::PauseThread,
    .allocate = &quillet::win32::AllocateFromProcessHeap,
    .release = &quillet::win32::ReleaseToProcessHeap,
};

}  // namespace

extern "C" {

BOOL WINAPI QuilletEntry(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) quillet::win32::ResolveUser32Entries(entries);
  return TRUE;
}

int32_t WINAPI RT_GetAngle() {
  return quillet::GetAngle(entries);
}

int32_t WINAPI RT_SetAngle(int32_t code) {
  return quillet::SetAngle(entries, code);
}

int32_t WINAPI RT_GetAutoRotationOn() {
  return quillet::GetAutoRotationOn(entries);
}

int32_t WINAPI RT_SetAutoRotation(int32_t enable) {
  return quillet::SetAutoRotation(entries, enable);
}

}  // extern "C"
