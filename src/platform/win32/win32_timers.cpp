#include "platform/win32/win32_timers.h"

#include "platform/win32/handler_guard.h"

namespace platform::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"ZentaraTimers";

}  // namespace

// The window comes with the first timer, so that a program that never starts
// one (a second instance that ends at once) never waits for the window system.
bool Win32Timers::HasWindow() {
  if (window_ != nullptr) return true;
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  if (!::GetClassInfoExW(instance, kWindowClass, &windowClass)) {
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kWindowClass;
    ::RegisterClassExW(&windowClass);
  }
  window_ =
      ::CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, this);
  return window_ != nullptr;
}

Win32Timers::~Win32Timers() {
  // Destroying the window ends its timers.
  if (window_ != nullptr) ::DestroyWindow(window_);
}

TimerId Win32Timers::Start(uint32_t intervalMilliseconds, std::function<void()> tick) {
  if (!HasWindow()) return 0;
  const TimerId timer = ++lastTimer_;
  if (::SetTimer(window_, timer, intervalMilliseconds, nullptr) == 0) return 0;
  ticks_[timer] = std::move(tick);
  return timer;
}

void Win32Timers::Stop(TimerId timer) {
  if (window_ != nullptr) ::KillTimer(window_, timer);
  ticks_.erase(timer);
}

void Win32Timers::Tick(TimerId timer) {
  // A tick of a timer stopped after the system queued it finds nothing.
  const auto found = ticks_.find(timer);
  if (found == ticks_.end()) return;
  // The tick may stop its own timer, so it runs from a copy.
  const std::function<void()> tick = found->second;
  RunHandler(tick);
}

LRESULT CALLBACK Win32Timers::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Win32Timers* timers = WindowObject<Win32Timers>(window, message, lParam);
  if (message == WM_TIMER && timers != nullptr) {
    timers->Tick(wParam);
    return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace platform::win32
