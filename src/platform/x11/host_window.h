#pragma once
#include <X11/Xlib.h>

#include <cstdint>

#include "platform/windowing.h"
#include "platform/x11/argb_window.h"
#include "platform/x11/event_loop.h"
#include "platform/x11/layered_frame.h"
#include "platform/x11/pixel_pusher.h"
#include "platform/x11/shape_updater.h"
#include "platform/x11/window_drag.h"

namespace platform::x11 {

class X11Connection;

// One top-level window of the program: the X window with its pixels, shape
// and drag, passing X events on to the owner's WindowEvents.
class HostWindow : public EventSink {
 public:
  HostWindow(X11Connection& connection, EventLoop& loop, const ArgbWindowOptions& options,
             WindowEvents* events);
  ~HostWindow() override;
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;

  ArgbWindow& Window() { return window_; }
  ShapeUpdater& Shape() { return shape_; }

  // Shows the frame as the window's whole content at its top-left corner,
  // sizing the window to it.
  void ShowFrame(const LayeredFrame& frame);
  void BeginDrag();
  // The desktop's scale changed to `dpi`.
  void ChangeDpi(int32_t dpi);
  // The primary screen changed its size or place.
  void ChangeScreen();
  // A compositing manager started or ended: the shape follows.
  void ChangeCompositing(bool composited);
  // Touch and pen devices may need to be mapped anew.
  void ChangeInputs();
  // A finger lifted from a touchscreen: where it left the pointer over the
  // window, the pointer has left it all the same, as on a touch system.
  void LiftTouch();

  void HandleEvent(const XEvent& event) override;
  void HandlePaint() override;

 private:
  void OnButton(const XButtonEvent& event, bool down);
  void OnMotion(const XMotionEvent& event);

  X11Connection& connection_;
  EventLoop& loop_;
  WindowEvents* events_;
  ArgbWindow window_;
  PixelPusher pixels_;
  ShapeUpdater shape_;
  WindowDrag drag_;
  bool hasFrame_ = false;
};

// The shift-state bits of an X modifier state (Alt is Mod1).
uint8_t ShiftFromState(unsigned state);

}  // namespace platform::x11
