#include "platform/win32/win32_windowing.h"

#include "platform/win32/windows_api.h"

#include <windowsx.h>

#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "platform/win32/dib_section.h"
#include "platform/win32/handler_guard.h"
#include "platform/win32/window_styles.h"

namespace platform::win32 {
namespace {

// WM_DPICHANGED, which older headers lack.
constexpr UINT kDpiChangedMessage = 0x02E0;
// MDT_EFFECTIVE_DPI: the dots per inch the user's scale setting gives.
constexpr int kEffectiveDpi = 0;

uint8_t ShiftFrom(WPARAM keys) {
  uint8_t shift = 0;
  if (keys & MK_SHIFT) shift |= kShift;
  if (keys & MK_CONTROL) shift |= kCtrl;
  if (keys & MK_LBUTTON) shift |= kLeft;
  if (keys & MK_RBUTTON) shift |= kRight;
  if (keys & MK_MBUTTON) shift |= kMiddle;
  if (::GetKeyState(VK_MENU) < 0) shift |= kAlt;
  return shift;
}

void TrackLeave(HWND window) {
  TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, window, 0};
  ::TrackMouseEvent(&track);
}

LRESULT MouseButton(HWND window, WindowEvents& events, MouseButton button, bool down, WPARAM wParam,
                    LPARAM lParam) {
  const int32_t x = GET_X_LPARAM(lParam);
  const int32_t y = GET_Y_LPARAM(lParam);
  if (down) {
    // Like any control, the window keeps the pointer while a button is down.
    ::SetCapture(window);
    events.HandleMouseDown(button, ShiftFrom(wParam), x, y);
  } else {
    if ((wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0 && ::GetCapture() == window)
      ::ReleaseCapture();
    events.HandleMouseUp(button, ShiftFrom(wParam), x, y);
  }
  return 0;
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowEvents* events = WindowObject<WindowEvents>(window, message, lParam);
  if (events == nullptr) return ::DefWindowProcW(window, message, wParam, lParam);
  LRESULT result = 0;
  bool handled = true;
  RunHandler([&] {
    switch (message) {
      case WM_PAINT: {
        PAINTSTRUCT paint;
        ::BeginPaint(window, &paint);
        ::EndPaint(window, &paint);
        events->HandlePaint();
        break;
      }
      case WM_LBUTTONDOWN:
        result = MouseButton(window, *events, MouseButton::Left, true, wParam, lParam);
        break;
      case WM_RBUTTONDOWN:
        result = MouseButton(window, *events, MouseButton::Right, true, wParam, lParam);
        break;
      case WM_MBUTTONDOWN:
        result = MouseButton(window, *events, MouseButton::Middle, true, wParam, lParam);
        break;
      case WM_LBUTTONUP:
        result = MouseButton(window, *events, MouseButton::Left, false, wParam, lParam);
        break;
      case WM_RBUTTONUP:
        result = MouseButton(window, *events, MouseButton::Right, false, wParam, lParam);
        break;
      case WM_MBUTTONUP:
        result = MouseButton(window, *events, MouseButton::Middle, false, wParam, lParam);
        break;
      case WM_MOUSEMOVE:
        TrackLeave(window);
        events->HandleMouseMove(ShiftFrom(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        break;
      case WM_MOUSELEAVE:
        events->HandleMouseLeave();
        break;
      case WM_CLOSE:
        events->HandleCloseRequest();
        break;
      case kDpiChangedMessage: {
        // The window keeps its place: its owner sizes and places it for the
        // new scale, and is told where the system suggests it goes.
        std::optional<Point> suggested;
        if (const auto* rect = reinterpret_cast<const RECT*>(lParam); rect != nullptr)
          suggested = Point{rect->left, rect->top};
        events->HandleDpiChange(LOWORD(wParam), suggested);
        break;
      }
      case WM_DISPLAYCHANGE:
        // A turn, a new resolution, a monitor docked or undocked.
        events->HandleScreenChange();
        break;
      case WM_ENTERSIZEMOVE:
        events->HandleMoveStart();
        break;
      case WM_EXITSIZEMOVE:
        events->HandleMoveEnd();
        break;
      default:
        handled = false;
    }
  });
  return handled ? result : ::DefWindowProcW(window, message, wParam, lParam);
}

// The first window of a class registers it; its background brush then
// belongs to the class.
void RegisterClassOnce(const std::wstring& className, uint32_t backgroundColor) {
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  if (::GetClassInfoExW(instance, className.c_str(), &windowClass)) return;
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(1));
  windowClass.hbrBackground = ::CreateSolidBrush(backgroundColor);
  windowClass.lpszClassName = className.c_str();
  if (::RegisterClassExW(&windowClass) == 0 && windowClass.hbrBackground != nullptr)
    ::DeleteObject(windowClass.hbrBackground);
}

HWND Hwnd(WindowHandle window) {
  return reinterpret_cast<HWND>(window);
}

// A window's device context, released with the object.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(::GetDC(window)) {}
  ~WindowDc() {
    if (dc_ != nullptr) ::ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// A memory device context compatible with another, deleted with the object.
class MemoryDc {
 public:
  explicit MemoryDc(HDC compatibleWith) : dc_(::CreateCompatibleDC(compatibleWith)) {}
  ~MemoryDc() {
    if (dc_ != nullptr) ::DeleteDC(dc_);
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
};

// An object selected into a device context until the selection goes; the
// previous one comes back then, so the context can be deleted cleanly.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
  ~Selection() {
    if (previous_ != nullptr && previous_ != HGDI_ERROR) ::SelectObject(dc_, previous_);
  }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace

Win32Windowing::Win32Windowing() {
  if (HMODULE user32 = ::GetModuleHandleW(L"user32.dll")) {
    updateLayeredWindow_ =
        EntryAs<decltype(updateLayeredWindow_)>(::GetProcAddress(user32, "UpdateLayeredWindow"));
    getDpiForWindow_ = EntryAs<GetDpiForWindowEntry>(::GetProcAddress(user32, "GetDpiForWindow"));
  }
  // From the system folder only, never from beside the program.
  shcore_ = ::LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (shcore_ != nullptr) {
    getDpiForMonitor_ =
        EntryAs<GetDpiForMonitorEntry>(::GetProcAddress(shcore_, "GetDpiForMonitor"));
  }
}

Win32Windowing::~Win32Windowing() {
  if (shcore_ != nullptr) ::FreeLibrary(shcore_);
}

WindowHandle Win32Windowing::CreateWindow(const WindowParams& params, WindowEvents* events) {
  RegisterClassOnce(params.className, params.backgroundColor);
  const WindowStyles styles = StylesFor(params);
  RECT frame{0, 0, params.clientWidth, params.clientHeight};
  ::AdjustWindowRectEx(&frame, styles.style, FALSE, styles.exStyle);
  HWND window = ::CreateWindowExW(styles.exStyle, params.className.c_str(), params.title.c_str(),
                                  styles.style, params.left, params.top, frame.right - frame.left,
                                  frame.bottom - frame.top, nullptr, nullptr,
                                  ::GetModuleHandleW(nullptr), events);
  return reinterpret_cast<WindowHandle>(window);
}

void Win32Windowing::DestroyWindow(WindowHandle window) {
  // The owner is going away: no events during the destruction.
  ::SetWindowLongPtrW(Hwnd(window), GWLP_USERDATA, 0);
  ::DestroyWindow(Hwnd(window));
}

void Win32Windowing::ShowWindow(WindowHandle window) {
  ::ShowWindow(Hwnd(window), SW_SHOWNORMAL);
}

void Win32Windowing::Invalidate(WindowHandle window) {
  ::InvalidateRect(Hwnd(window), nullptr, FALSE);
}

void Win32Windowing::MoveWindow(WindowHandle window, int32_t left, int32_t top) {
  ::SetWindowPos(Hwnd(window), nullptr, left, top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Windowing::SetClientSize(WindowHandle window, int32_t width, int32_t height) {
  HWND hwnd = Hwnd(window);
  RECT frame{0, 0, width, height};
  ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongW(hwnd, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(::GetWindowLongW(hwnd, GWL_EXSTYLE)));
  ::SetWindowPos(hwnd, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

Rect Win32Windowing::GetWindowRect(WindowHandle window) {
  RECT r{};
  ::GetWindowRect(Hwnd(window), &r);
  return {r.left, r.top, r.right, r.bottom};
}

int32_t Win32Windowing::ScreenWidth() {
  return ::GetSystemMetrics(SM_CXSCREEN);
}

int32_t Win32Windowing::ScreenHeight() {
  return ::GetSystemMetrics(SM_CYSCREEN);
}

int32_t Win32Windowing::DisplayDpi(WindowHandle window) {
  HWND hwnd = Hwnd(window);
  if (hwnd != nullptr && getDpiForWindow_ != nullptr) {
    if (const UINT dpi = getDpiForWindow_(hwnd); dpi > 0) return static_cast<int32_t>(dpi);
  }
  if (getDpiForMonitor_ != nullptr) {
    HMONITOR monitor = hwnd != nullptr ? ::MonitorFromWindow(hwnd, MONITOR_DEFAULTTOPRIMARY)
                                       : ::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    UINT dpiX = 0;
    UINT dpiY = 0;
    if (SUCCEEDED(getDpiForMonitor_(monitor, kEffectiveDpi, &dpiX, &dpiY)) && dpiX > 0)
      return static_cast<int32_t>(dpiX);
  }
  const WindowDc screen(nullptr);
  const int dpi = screen.Get() != nullptr ? ::GetDeviceCaps(screen.Get(), LOGPIXELSX) : 0;
  return dpi > 0 ? dpi : 96;
}

WindowHandle Win32Windowing::ActiveWindow() {
  return reinterpret_cast<WindowHandle>(::GetForegroundWindow());
}

WindowHandle Win32Windowing::FindWindow(std::wstring_view className, std::wstring_view title) {
  return reinterpret_cast<WindowHandle>(
      ::FindWindowW(std::wstring(className).c_str(), std::wstring(title).c_str()));
}

void Win32Windowing::BeginWindowDrag(WindowHandle window) {
  ::ReleaseCapture();
  ::SendMessageW(Hwnd(window), WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

bool Win32Windowing::SetLayered(WindowHandle window, bool layered, bool clickThrough) {
  HWND hwnd = Hwnd(window);
  const auto current = static_cast<DWORD>(::GetWindowLongW(hwnd, GWL_EXSTYLE));
  const DWORD wanted = LayeredExStyle(current, layered, clickThrough);
  if (wanted == current) return false;
  ::SetWindowLongW(hwnd, GWL_EXSTYLE, static_cast<LONG>(wanted));
  return true;
}

void Win32Windowing::RedrawAll(WindowHandle window) {
  ::RedrawWindow(Hwnd(window), nullptr, nullptr, kRedrawAllFlags);
}

void Win32Windowing::PushWithAlpha(WindowHandle window, const LayeredSource& source,
                                   uint8_t opacity) {
  UpdateLayered(window, source, kNoColorKey, BlendFor(opacity), ULW_ALPHA);
}

void Win32Windowing::PushColorKeyed(WindowHandle window, const LayeredSource& source,
                                    uint32_t colorKey) {
  UpdateLayered(window, source, colorKey, BlendFor(255), ULW_COLORKEY);
}

void Win32Windowing::UpdateLayered(WindowHandle window, const LayeredSource& source,
                                   COLORREF colorKey, BLENDFUNCTION blend, DWORD flags) {
  if (updateLayeredWindow_ == nullptr) return;
  if (pushed_ != nullptr && pushed_->Fits(source.pixels, source.bitsPerPixel)) {
    pushed_->CopyFrom(source.pixels);
  } else {
    pushed_.reset();
    auto fresh = std::make_unique<DibSection>(source.pixels, source.bitsPerPixel);
    if (!fresh->Valid()) return;
    pushed_ = std::move(fresh);
  }
  const DibSection& dib = *pushed_;
  HWND hwnd = Hwnd(window);
  const WindowDc windowDc(hwnd);
  const MemoryDc memoryDc(windowDc.Get());
  if (memoryDc.Get() == nullptr) return;
  // The window keeps its top-left corner and takes the size of the picture.
  RECT r{};
  ::GetWindowRect(hwnd, &r);
  POINT destination{r.left, r.top};
  SIZE size{dib.Width(), dib.Height()};
  POINT origin{0, 0};
  const Selection selected(memoryDc.Get(), dib.Handle());
  updateLayeredWindow_(hwnd, windowDc.Get(), &destination, &size, memoryDc.Get(), &origin, colorKey,
                       &blend, flags);
}

void Win32Windowing::RunMessageLoop() {
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

void Win32Windowing::QuitMessageLoop() {
  ::PostQuitMessage(0);
}

}  // namespace platform::win32
