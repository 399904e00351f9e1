#pragma once
#include "platform/win32/windows_api.h"

#include <functional>
#include <map>

#include "platform/timers.h"

namespace platform::win32 {

// Timers of a message-only window that belongs to the object: their ticks
// arrive as its WM_TIMER messages through the user-interface thread's message
// loop, and they end with the object.
class Win32Timers : public Timers {
 public:
  Win32Timers() = default;
  ~Win32Timers() override;
  Win32Timers(const Win32Timers&) = delete;
  Win32Timers& operator=(const Win32Timers&) = delete;

  TimerId Start(uint32_t intervalMilliseconds, std::function<void()> tick) override;
  void Stop(TimerId timer) override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  bool HasWindow();
  void Tick(TimerId timer);

  HWND window_ = nullptr;
  TimerId lastTimer_ = 0;
  std::map<TimerId, std::function<void()>> ticks_;
};

}  // namespace platform::win32
