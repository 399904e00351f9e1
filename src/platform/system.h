#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// Process-wide services of the operating system.
class System {
 public:
  virtual ~System() = default;

  // Creates (or opens) a named mutex owned by the calling thread and keeps it
  // for the life of the process. Returns false when another process created it first.
  virtual bool ClaimSingleInstance(std::wstring_view mutexName) = 0;
  virtual void Sleep(uint32_t milliseconds) = 0;
  virtual void DebugOutput(std::wstring_view line) = 0;
  virtual uint16_t SystemDefaultLanguage() = 0;
  // Full file name of the running executable.
  virtual std::wstring ExecutableName() = 0;
  // Whether `path` names an existing folder.
  virtual bool FolderExists(std::wstring_view path) = 0;
  // A modal message with only an OK button and no owner window.
  virtual void ShowMessage(std::wstring_view text, std::wstring_view caption) = 0;
  // Colour of a system colour index, laid out 0x00BBGGRR.
  virtual uint32_t SystemColor(int index) = 0;
  // Ends the process at once with the given exit code; does not return.
  [[noreturn]] virtual void ExitProcess(int code) = 0;
};

}  // namespace platform
