#include "platform/win32/win32_timers.h"

#include "platform/win32/windows_api.h"

#include "platform/win32/handler_guard.h"

namespace platform::win32 {
namespace {

void CALLBACK OnTimerMessage(HWND, UINT, UINT_PTR id, DWORD) {
  Win32Timers::Tick(id);
}

}  // namespace

std::map<TimerId, std::function<void()>>& Win32Timers::Running() {
  static std::map<TimerId, std::function<void()>> running;
  return running;
}

Win32Timers::~Win32Timers() {
  for (const auto& [id, tick] : Running()) ::KillTimer(nullptr, id);
  Running().clear();
}

TimerId Win32Timers::Start(uint32_t intervalMilliseconds, std::function<void()> tick) {
  const UINT_PTR id = ::SetTimer(nullptr, 0, intervalMilliseconds, OnTimerMessage);
  if (id != 0) Running()[id] = std::move(tick);
  return id;
}

void Win32Timers::Stop(TimerId timer) {
  ::KillTimer(nullptr, timer);
  Running().erase(timer);
}

void Win32Timers::Tick(TimerId timer) {
  const auto found = Running().find(timer);
  if (found == Running().end()) return;
  // The tick may stop its own timer, so it runs from a copy.
  const std::function<void()> tick = found->second;
  RunHandler(tick);
}

}  // namespace platform::win32
