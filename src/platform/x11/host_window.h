#pragma once
#include <X11/Xlib.h>

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/windowing.h"
#include "platform/x11/argb_window.h"
#include "platform/x11/event_loop.h"
#include "platform/x11/layered_frame.h"
#include "platform/x11/pixel_pusher.h"
#include "platform/x11/placement_watch.h"
#include "platform/x11/shape_updater.h"
#include "platform/x11/window_drag.h"

namespace platform::x11 {

class X11Connection;

// One top-level window of the program: the X window with its pixels, shape
// and drag, passing X events on to the owner's WindowEvents. A managed tool
// window (the panel) that the window manager does not keep at its place (see
// PlacementWatch) leaves its hands: the window is made anew out of them
// (override-redirect) with the same place, frame and shape, and the one the
// window manager held is destroyed, which every window manager lets go of.
class HostWindow : public EventSink {
 public:
  HostWindow(X11Connection& connection, EventLoop& loop, const ArgbWindowOptions& options,
             WindowEvents* events);
  ~HostWindow() override;
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;

  // The X window; a window that left the window manager's hands is another one.
  ArgbWindow& Window() { return parts_->window; }
  ShapeUpdater& Shape() { return parts_->shape; }
  // Called once a managed tool window has left the window manager's hands.
  std::function<void()> onLeftWindowManager;
  // Called when a window out of the window manager's hands is pressed.
  std::function<void()> onPressedOutOfHands;

  // Shows the frame as the window's whole content at its top-left corner,
  // sizing the window to it.
  void ShowFrame(const LayeredFrame& frame);
  // Maps the window, shaped to the frame it was given last.
  void Show();
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
  // The X window and what draws on it and moves it.
  struct Parts {
    Parts(X11Connection& connection, const ArgbWindowOptions& options, WindowDrag::MoveTo moveTo);
    ArgbWindow window;
    PixelPusher pixels;
    ShapeUpdater shape;
    WindowDrag drag;
  };
  void MakeParts(const ArgbWindowOptions& options);
  void LeaveWindowManager();
  void OnButton(const XButtonEvent& event, bool down);
  void OnMotion(const XMotionEvent& event);

  X11Connection& connection_;
  EventLoop& loop_;
  WindowEvents* events_;
  std::unique_ptr<Parts> parts_;
  std::unique_ptr<PlacementWatch> placement_;
  bool hasFrame_ = false;
  // The frames given before the window shows are never seen: only the last
  // one's shape is taken, when it shows.
  bool shapePending_ = false;
};

// The shift-state bits of an X modifier state (Alt is Mod1).
uint8_t ShiftFromState(unsigned state);

}  // namespace platform::x11
