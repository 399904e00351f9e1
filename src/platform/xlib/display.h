#pragma once
#include <X11/Xlib.h>

namespace platform::xlib {

// A connection to the display named by $DISPLAY, closed with its owner.
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

}  // namespace platform::xlib
