#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/types.h"

namespace platform {

// What a top-level window reports to its owner. Coordinates are client pixels.
class WindowEvents {
 public:
  virtual ~WindowEvents() = default;

  virtual void HandlePaint() = 0;
  virtual void HandleMouseDown(MouseButton button, uint8_t shift, int32_t x, int32_t y) = 0;
  virtual void HandleMouseMove(uint8_t shift, int32_t x, int32_t y) = 0;
  virtual void HandleMouseUp(MouseButton button, uint8_t shift, int32_t x, int32_t y) = 0;
  virtual void HandleMouseLeave() = 0;
  // Someone asked the window to close (the user, or another program with WM_CLOSE).
  virtual void HandleCloseRequest() = 0;
  // The display scale of the window's monitor changed, or the window moved to
  // a monitor of another scale; `dpi` is the new one (96 at 100 %). The system
  // may suggest where the window's top-left corner goes at the new scale.
  virtual void HandleDpiChange(int32_t dpi, std::optional<Point> suggestedTopLeft) = 0;
  // The system's own move of the window (a drag) starts and ends; in between
  // the system places the window.
  virtual void HandleMoveStart() = 0;
  virtual void HandleMoveEnd() = 0;
  // The primary screen changed its size or place: a turn, a new resolution,
  // a monitor docked or undocked. ScreenWidth and ScreenHeight tell the new size.
  virtual void HandleScreenChange() = 0;
  // Touch and pen devices may no longer lie where the picture is: an input
  // device came or came back (a pen that connects, a touchscreen reset after
  // a suspend), or the screen's outputs changed in any way (a turn made by
  // another program, even one that keeps the screen's size). Changes come
  // in bursts; each one of a burst is reported.
  virtual void HandleInputDevicesChange() = 0;
};

// What a new top-level window is to be.
struct WindowParams {
  std::wstring className;  // the window's identity among the system's windows
  std::wstring title;
  bool frameless = false;  // no frame and no caption: the client area is the window
  bool onTop = false;      // above the windows that are not on top
  bool inTaskBar = false;  // a button of its own in the task bar
  int32_t left = 0;
  int32_t top = 0;
  int32_t clientWidth = 0;
  int32_t clientHeight = 0;
  uint32_t backgroundColor = 0;  // 0x00BBGGRR, shown until the first push
};

// The source of a layered-window push.
struct LayeredSource {
  PixelBuffer pixels;  // premultiplied when 32 bits per pixel
  int32_t bitsPerPixel = 32;
};

class Windowing {
 public:
  virtual ~Windowing() = default;

  // Creates a hidden top-level window; `events` must outlive it.
  virtual WindowHandle CreateWindow(const WindowParams& params, WindowEvents* events) = 0;
  virtual void DestroyWindow(WindowHandle window) = 0;
  virtual void ShowWindow(WindowHandle window) = 0;
  // Asks for a paint event; several requests before it arrives give one paint.
  virtual void Invalidate(WindowHandle window) = 0;
  virtual void MoveWindow(WindowHandle window, int32_t left, int32_t top) = 0;
  virtual void SetClientSize(WindowHandle window, int32_t width, int32_t height) = 0;
  virtual Rect GetWindowRect(WindowHandle window) = 0;

  virtual int32_t ScreenWidth() = 0;
  virtual int32_t ScreenHeight() = 0;
  // Dots per inch of the monitor the window is on, 96 at 100 % display scale;
  // for window 0, the primary monitor's.
  virtual int32_t DisplayDpi(WindowHandle window) = 0;
  // The window the user works in now (the foreground window); 0 when none or unknown.
  virtual WindowHandle ActiveWindow() = 0;
  // This program's top-level window with that class name and title; 0 when none.
  virtual WindowHandle FindWindow(std::wstring_view className, std::wstring_view title) = 0;
  // Lets the platform move the window with the pointer until the button that
  // is down now is released.
  virtual void BeginWindowDrag(WindowHandle window) = 0;

  // Makes the window layered (its content comes only from the pushes below)
  // or not, and lets clicks pass through it or not. Returns whether either
  // changed; nothing is written when both are already as asked.
  virtual bool SetLayered(WindowHandle window, bool layered, bool clickThrough) = 0;
  // Redraws the whole window, frame and children included, after it left layered mode.
  virtual void RedrawAll(WindowHandle window) = 0;
  // Whether this system can show per-pixel alpha (layered) windows.
  virtual bool LayeredUpdateAvailable() = 0;
  // The pushes show `source` as the whole content of a layered window at its
  // current top-left corner, sizing the window to the source. With alpha: a
  // 32-bit source's fourth byte is its premultiplied alpha, and the whole
  // picture is shown at `opacity` (255 opaque) on top of it.
  virtual void PushWithAlpha(WindowHandle window, const LayeredSource& source, uint8_t opacity) = 0;
  // Colour-keyed: the pixels of colour `colorKey` (0x00BBGGRR) are left out.
  virtual void PushColorKeyed(WindowHandle window, const LayeredSource& source,
                              uint32_t colorKey) = 0;

  // Runs the message loop until QuitMessageLoop is called.
  virtual void RunMessageLoop() = 0;
  virtual void QuitMessageLoop() = 0;
};

}  // namespace platform
