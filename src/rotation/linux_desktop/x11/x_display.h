#pragma once
#include <X11/Xlib.h>

namespace quillet::x11 {

// A connection to the display named by $DISPLAY, for one call of the library.
class XDisplay {
 public:
  XDisplay() : display_(XOpenDisplay(nullptr)) {}
  ~XDisplay() {
    if (display_ != nullptr) XCloseDisplay(display_);
  }
  XDisplay(const XDisplay&) = delete;
  XDisplay& operator=(const XDisplay&) = delete;

  // Null when there is no display to talk to.
  Display* get() const { return display_; }

 private:
  Display* display_;
};

}  // namespace quillet::x11
