#pragma once
#include <X11/Xlib.h>

namespace quillet::x11 {

// While it lives, X errors are counted instead of ending the process, as
// Xlib's own handler does; the handler that was there before comes back
// afterwards. Traps nest. Errors arrive on the calling thread, and the
// library is only ever called from one.
class XErrorTrap {
 public:
  XErrorTrap();
  ~XErrorTrap();
  XErrorTrap(const XErrorTrap&) = delete;
  XErrorTrap& operator=(const XErrorTrap&) = delete;

  // Waits until the server has handled every request sent so far; true when
  // none of them failed since the last check.
  bool Sync(Display* display);

 private:
  static int Count(Display* display, XErrorEvent* error);

  XErrorHandler previous_;
  XErrorTrap* outer_;
  unsigned long errors_ = 0;
  unsigned long checked_ = 0;
};

}  // namespace quillet::x11
