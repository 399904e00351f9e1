#include "rotation/windows_display/win32/kernel_services.h"

#include <windows.h>

namespace quillet::win32 {

void QueryWindowsVersion(uint32_t* major, uint32_t* minor) {
  OSVERSIONINFOW version = {};
  version.dwOSVersionInfoSize = sizeof(version);
  // A failed call leaves the record zero-filled, which the version gate refuses.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  GetVersionExW(&version);
#pragma GCC diagnostic pop
  *major = version.dwMajorVersion;
  *minor = version.dwMinorVersion;
}

void PauseThread(uint32_t milliseconds) {
  Sleep(milliseconds);
}

void* AllocateFromProcessHeap(uint32_t bytes) {
  return HeapAlloc(GetProcessHeap(), 0, bytes);
}

void ReleaseToProcessHeap(void* block) {
  HeapFree(GetProcessHeap(), 0, block);
}

}  // namespace quillet::win32
