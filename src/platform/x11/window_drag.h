#pragma once
#include <X11/Xlib.h>

#include <cstdint>
#include <functional>

namespace platform::x11 {

class X11Connection;

// Moves a window with the pointer from the last press on it until the button
// comes up. Where the window manager manages the window and offers
// _NET_WM_MOVERESIZE it does the move, from the place of the press; elsewhere
// the window follows the motion events here.
class WindowDrag {
 public:
  using MoveTo = std::function<void(int32_t left, int32_t top)>;

  WindowDrag(X11Connection& connection, ::Window window, bool managed, MoveTo moveTo)
      : connection_(connection), window_(window), managed_(managed), moveTo_(std::move(moveTo)) {}

  // Remembers a press: root coordinates, button and the window's top-left corner then.
  void NotePress(const XButtonEvent& press, int32_t windowLeft, int32_t windowTop);
  // Starts moving; returns true when the window manager took the move over.
  bool Begin();
  bool Following() const { return following_; }
  // While the window follows the pointer here, takes its motion and release
  // events; returns whether it took this one.
  bool Take(const XEvent& event);

 private:
  X11Connection& connection_;
  ::Window window_;
  bool managed_;
  MoveTo moveTo_;
  int32_t pressX_ = 0, pressY_ = 0;
  int32_t windowLeft_ = 0, windowTop_ = 0;
  unsigned button_ = Button1;
  bool pressed_ = false;
  bool following_ = false;
};

}  // namespace platform::x11
