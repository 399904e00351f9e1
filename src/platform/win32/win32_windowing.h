#pragma once
#include "platform/win32/windows_api.h"

#include <memory>

#include "platform/win32/dib_section.h"
#include "platform/windowing.h"

namespace platform::win32 {

class Win32Windowing : public Windowing {
 public:
  Win32Windowing();
  ~Win32Windowing() override;
  Win32Windowing(const Win32Windowing&) = delete;
  Win32Windowing& operator=(const Win32Windowing&) = delete;

  WindowHandle CreateWindow(const WindowParams& params, WindowEvents* events) override;
  void DestroyWindow(WindowHandle window) override;
  void ShowWindow(WindowHandle window) override;
  void Invalidate(WindowHandle window) override;
  void MoveWindow(WindowHandle window, int32_t left, int32_t top) override;
  void SetClientSize(WindowHandle window, int32_t width, int32_t height) override;
  Rect GetWindowRect(WindowHandle window) override;

  int32_t ScreenWidth() override;
  int32_t ScreenHeight() override;
  int32_t DisplayDpi(WindowHandle window) override;
  WindowHandle ActiveWindow() override;
  WindowHandle FindWindow(std::wstring_view className, std::wstring_view title) override;
  void BeginWindowDrag(WindowHandle window) override;

  bool SetLayered(WindowHandle window, bool layered, bool clickThrough) override;
  void RedrawAll(WindowHandle window) override;
  bool LayeredUpdateAvailable() override { return updateLayeredWindow_ != nullptr; }
  void PushWithAlpha(WindowHandle window, const LayeredSource& source, uint8_t opacity) override;
  void PushColorKeyed(WindowHandle window, const LayeredSource& source, uint32_t colorKey) override;

  void RunMessageLoop() override;
  void QuitMessageLoop() override;

 private:
  // UpdateLayeredWindow with these values.
  void UpdateLayered(WindowHandle window, const LayeredSource& source, COLORREF colorKey,
                     BLENDFUNCTION blend, DWORD flags);

  // Looked up rather than linked, so the program still starts where layered windows are missing.
  decltype(&::UpdateLayeredWindow) updateLayeredWindow_ = nullptr;
  // Windows 10 and 8.1 have these; Windows 8.0 has only the system's dots per inch.
  using GetDpiForWindowEntry = UINT(WINAPI*)(HWND);
  using GetDpiForMonitorEntry = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
  GetDpiForWindowEntry getDpiForWindow_ = nullptr;
  HMODULE shcore_ = nullptr;
  GetDpiForMonitorEntry getDpiForMonitor_ = nullptr;
  // The bitmap of the last push, used again while the pushed size and depth stay.
  std::unique_ptr<DibSection> pushed_;
};

}  // namespace platform::win32
