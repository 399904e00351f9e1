#include "platform/x11/window_drag.h"

#include "platform/x11/x11_connection.h"

namespace platform::x11 {
namespace {

constexpr long kMoveResizeMove = 8;     // _NET_WM_MOVERESIZE_MOVE
constexpr long kSourceApplication = 1;  // asked for by a normal application

}  // namespace

void WindowDrag::NotePress(const XButtonEvent& press, int32_t windowLeft, int32_t windowTop) {
  pressX_ = press.x_root;
  pressY_ = press.y_root;
  windowLeft_ = windowLeft;
  windowTop_ = windowTop;
  button_ = press.button;
  pressed_ = true;
}

bool WindowDrag::Begin() {
  if (!pressed_) return false;
  pressed_ = false;
  Display* display = connection_.Get();
  const Atoms& atoms = connection_.Names();
  if (managed_ && connection_.WindowManagerSupports(atoms.netWmMoveresize)) {
    // The window manager needs the pointer, which the press gave to this window.
    XUngrabPointer(display, CurrentTime);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window_;
    event.xclient.message_type = atoms.netWmMoveresize;
    event.xclient.format = 32;
    event.xclient.data.l[0] = pressX_;
    event.xclient.data.l[1] = pressY_;
    event.xclient.data.l[2] = kMoveResizeMove;
    event.xclient.data.l[3] = static_cast<long>(button_);
    event.xclient.data.l[4] = kSourceApplication;
    XSendEvent(display, connection_.Root(), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(display);
    return true;
  }
  following_ = true;
  return false;
}

bool WindowDrag::Take(const XEvent& event) {
  if (!following_) return false;
  if (event.type == MotionNotify) {
    moveTo_(windowLeft_ + event.xmotion.x_root - pressX_,
            windowTop_ + event.xmotion.y_root - pressY_);
    return true;
  }
  if (event.type == ButtonRelease && event.xbutton.button == button_) {
    moveTo_(windowLeft_ + event.xbutton.x_root - pressX_,
            windowTop_ + event.xbutton.y_root - pressY_);
    following_ = false;
    return true;
  }
  return event.type == ButtonPress || event.type == ButtonRelease;
}

}  // namespace platform::x11
