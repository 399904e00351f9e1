#pragma once
#include "platform/system.h"

namespace platform::win32 {

class Win32System : public System {
 public:
  bool ClaimSingleInstance(std::wstring_view mutexName) override;
  void Sleep(uint32_t milliseconds) override;
  void DebugOutput(std::wstring_view line) override;
  uint16_t SystemDefaultLanguage() override;
  std::wstring ExecutableName() override;
  bool FolderExists(std::wstring_view path) override;
  void ShowMessage(std::wstring_view text, std::wstring_view caption) override;
  uint32_t SystemColor(int index) override;
  [[noreturn]] void ExitProcess(int code) override;
};

}  // namespace platform::win32
