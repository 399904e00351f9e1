// The program entry: install the Windows platform and run the program.
#include "platform/win32/windows_api.h"

#include "app/program.h"
#include "platform/win32/win32_platform.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  platform::win32::Win32Platform platform;
  return RunProgram();
}
