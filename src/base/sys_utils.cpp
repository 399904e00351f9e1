#include "base/sys_utils.h"

#include "platform/services.h"
#include "platform/system.h"

void SleepMilliseconds(uint32_t milliseconds) {
  platform::GetSystem().Sleep(milliseconds);
}

bool DirectoryExists(const std::wstring& path) {
  return platform::GetSystem().FolderExists(path);
}

uint16_t SysDefaultLanguage() {
  return platform::GetSystem().SystemDefaultLanguage();
}

void OutputDebugLine(const std::wstring& line) {
  platform::GetSystem().DebugOutput(line);
}
