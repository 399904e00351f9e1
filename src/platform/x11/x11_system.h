#pragma once
#include "platform/system.h"

namespace platform::x11 {

class EventLoop;
class PangoTextRasterizer;
class X11Connection;

class X11System : public System {
 public:
  X11System(X11Connection& connection, EventLoop& loop, PangoTextRasterizer& text)
      : connection_(connection), loop_(loop), text_(text) {}

  // A lock file per login session and X display stands for the named mutex.
  bool ClaimSingleInstance(std::wstring_view mutexName) override;
  // Blocks; what was drawn so far is sent to the server first.
  void Sleep(uint32_t milliseconds) override;
  void DebugOutput(std::wstring_view line) override;
  uint16_t SystemDefaultLanguage() override;
  std::wstring ExecutableName() override;
  bool FolderExists(std::wstring_view path) override;
  void ShowMessage(std::wstring_view text, std::wstring_view caption) override;
  uint32_t SystemColor(int index) override;
  [[noreturn]] void ExitProcess(int code) override;

 private:
  X11Connection& connection_;
  EventLoop& loop_;
  PangoTextRasterizer& text_;
};

// The classic colour scheme's colour for a system colour index, 0x00BBGGRR;
// black for an index it does not have.
uint32_t ClassicSystemColor(int index);

}  // namespace platform::x11
