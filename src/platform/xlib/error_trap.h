#pragma once
#include <X11/Xlib.h>

namespace platform::xlib {

// While it lives, X errors are counted instead of ending the process, as
// Xlib's own handler does; the handler that was there before comes back
// afterwards. Traps nest. Errors arrive on the calling thread, and Xlib is
// only ever called from one.
class ErrorTrap {
 public:
  ErrorTrap();
  ~ErrorTrap();
  ErrorTrap(const ErrorTrap&) = delete;
  ErrorTrap& operator=(const ErrorTrap&) = delete;

  // Waits until the server has handled every request sent so far and returns
  // how many of them failed since the last check.
  unsigned long SyncAndCount(Display* display);
  // The same, true when none failed.
  bool Sync(Display* display) { return SyncAndCount(display) == 0; }

 private:
  static int Count(Display* display, XErrorEvent* error);

  XErrorHandler previous_;
  ErrorTrap* outer_;
  unsigned long errors_ = 0;
  unsigned long checked_ = 0;
};

}  // namespace platform::xlib
