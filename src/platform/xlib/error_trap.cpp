#include "platform/xlib/error_trap.h"

namespace platform::xlib {
namespace {

ErrorTrap* innermost = nullptr;

}  // namespace

ErrorTrap::ErrorTrap() : previous_(XSetErrorHandler(&ErrorTrap::Count)), outer_(innermost) {
  innermost = this;
}

ErrorTrap::~ErrorTrap() {
  innermost = outer_;
  XSetErrorHandler(previous_);
}

unsigned long ErrorTrap::SyncAndCount(Display* display) {
  XSync(display, False);
  const unsigned long failed = errors_ - checked_;
  checked_ = errors_;
  return failed;
}

int ErrorTrap::Count(Display*, XErrorEvent*) {
  if (innermost != nullptr) ++innermost->errors_;
  return 0;
}

}  // namespace platform::xlib
