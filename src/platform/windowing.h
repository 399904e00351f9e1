#pragma once
#include <cstdint>
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
  // a monitor of another scale; `dpi` is the new one (96 at 100 %).
  virtual void HandleDpiChange(int32_t dpi) = 0;
};

struct WindowParams {
  std::wstring className;
  std::wstring title;
  uint32_t style = 0;    // window style bits as the platform defines them
  uint32_t exStyle = 0;  // extended style bits
  int32_t left = 0;
  int32_t top = 0;
  int32_t clientWidth = 0;
  int32_t clientHeight = 0;
  uint32_t backgroundColor = 0;  // 0x00BBGGRR, shown until the first push
};

// Extended-style bits and redraw flags the toolkit works with.
inline constexpr uint32_t kExStyleTopmost = 0x8;
inline constexpr uint32_t kExStyleTransparent = 0x20;
inline constexpr uint32_t kExStyleAppWindow = 0x40000;
inline constexpr uint32_t kExStyleLayered = 0x80000;
inline constexpr uint32_t kStylePopup = 0x80000000;
inline constexpr uint32_t kStyleClipChildren = 0x02000000;
inline constexpr uint32_t kStyleClipSiblings = 0x04000000;
inline constexpr uint32_t kRedrawInvalidateEraseAllFrame = 0x485;

// The source of a layered-window push.
struct LayeredSource {
  PixelBuffer pixels;  // premultiplied when 32 bits per pixel
  int32_t bitsPerPixel = 32;
};

// The four bytes of the platform's blend record, in memory order.
struct BlendBytes {
  uint8_t blendOp = 0;
  uint8_t blendFlags = 0;
  uint8_t sourceConstantAlpha = 255;
  uint8_t alphaFormat = 1;
};

inline constexpr uint32_t kLayeredColorKey = 1;  // ULW_COLORKEY
inline constexpr uint32_t kLayeredAlpha = 2;     // ULW_ALPHA

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
  virtual WindowHandle ForegroundWindow() = 0;
  virtual WindowHandle FindWindow(std::wstring_view className, std::wstring_view title) = 0;
  // Lets the platform move the window with the pointer until the button is released.
  virtual void BeginWindowDrag(WindowHandle window) = 0;

  virtual uint32_t GetExStyle(WindowHandle window) = 0;
  virtual void SetExStyle(WindowHandle window, uint32_t exStyle) = 0;
  virtual void Redraw(WindowHandle window, uint32_t flags) = 0;
  // Whether per-pixel layered windows can be updated on this system.
  virtual bool LayeredUpdateAvailable() = 0;
  // Shows `source` as the whole window content at the window's current top-left
  // corner, sizing the window to the source.
  virtual void UpdateLayered(WindowHandle window, const LayeredSource& source, uint32_t colorKey,
                             BlendBytes blend, uint32_t flags) = 0;

  // Runs the message loop until QuitMessageLoop is called.
  virtual void RunMessageLoop() = 0;
  virtual void QuitMessageLoop() = 0;
};

}  // namespace platform
