#include "rotation/linux_desktop/x11/x_error_trap.h"

namespace quillet::x11 {
namespace {

XErrorTrap* innermost = nullptr;

}  // namespace

XErrorTrap::XErrorTrap() : previous_(XSetErrorHandler(&XErrorTrap::Count)), outer_(innermost) {
  innermost = this;
}

XErrorTrap::~XErrorTrap() {
  innermost = outer_;
  XSetErrorHandler(previous_);
}

bool XErrorTrap::Sync(Display* display) {
  XSync(display, False);
  const bool clean = errors_ == checked_;
  checked_ = errors_;
  return clean;
}

int XErrorTrap::Count(Display*, XErrorEvent*) {
  if (innermost != nullptr) ++innermost->errors_;
  return 0;
}

}  // namespace quillet::x11
