// libquillet.so: the four exports over the X server of $DISPLAY (under
// Wayland, the desktop's own output interfaces) and the desktop's settings. Each call opens its own
// connection and closes it again; nothing is kept between calls.
#include <time.h>

#include <cstdint>
#include <cstdlib>
#include <utility>

#include "platform/unthrowing.h"
#include "platform/xlib/display.h"
#include "platform/xlib/error_trap.h"
#include "rotation/linux_desktop/desktop_outputs.h"
#include "rotation/linux_desktop/lock/desktop_lock.h"
#include "rotation/linux_desktop/orientation_lock.h"
#include "rotation/linux_desktop/screen_rotation.h"
#include "rotation/linux_desktop/wayland/wayland_desktop.h"
#include "rotation/linux_desktop/x11/output_names.h"
#include "rotation/linux_desktop/x11/randr_screen.h"
#include "rotation/linux_desktop/x11/xinput_devices.h"
#include "rotation/linux_desktop/xwayland_session.h"

#define QUILLET_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

void Pause(uint32_t milliseconds) {
  timespec rest = {static_cast<time_t>(milliseconds / 1000),
                   static_cast<long>(milliseconds % 1000) * 1000000L};
  while (nanosleep(&rest, &rest) != 0) {
  }
}

// Nothing is thrown across the library boundary; running out of memory is
// one more failure.
template <typename Call>
int32_t Guarded(int32_t failure, Call call) {
  return platform::Unthrowing(std::move(call), [failure] { return failure; });
}

// XWayland's RandR only imitates turning: most turns fail, and 180° even
// reports success although nothing turned. The desktop turns the screen
// there, through its own interface; the compositor maps touch and pens.
bool OnXWayland(Display* display) {
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return quillet::linux_desktop::IsXWaylandSession(wayland != nullptr ? wayland : "",
                                                   quillet::x11::OutputNames(display));
}

}  // namespace

QUILLET_EXPORT int32_t RT_GetAngle() {
  return Guarded(-1, [] {
    // The trap outlives the connection, which may still hear of errors while closing.
    platform::xlib::ErrorTrap trap;
    platform::xlib::XDisplay display;
    if (display.get() == nullptr) return -1;
    if (OnXWayland(display.get())) {
      // XWayland's RandR reports the desktop's turns too, when no interface
      // of the desktop is offered.
      if (auto desktop = quillet::wayland::OpenDesktopOutputs())
        return quillet::linux_desktop::GetDesktopAngle(*desktop);
    }
    quillet::x11::RandrScreen screen(display.get(), trap);
    return quillet::linux_desktop::GetScreenAngle(screen);
  });
}

QUILLET_EXPORT int32_t RT_SetAngle(int32_t code) {
  return Guarded(0, [code] {
    platform::xlib::ErrorTrap trap;
    platform::xlib::XDisplay display;
    if (display.get() == nullptr) return 0;
    if (OnXWayland(display.get())) {
      auto desktop = quillet::wayland::OpenDesktopOutputs();
      return desktop ? quillet::linux_desktop::SetDesktopAngle(*desktop, &Pause, code) : 0;
    }
    quillet::x11::RandrScreen screen(display.get(), trap);
    quillet::x11::XInputDevices devices(display.get(), trap);
    return quillet::linux_desktop::SetScreenAngle(screen, devices, &Pause, code);
  });
}

QUILLET_EXPORT int32_t RT_GetAutoRotationOn() {
  return Guarded(0, [] {
    quillet::lock::DesktopLock desktop;
    return quillet::linux_desktop::GetAutoRotationOn(desktop.lock());
  });
}

QUILLET_EXPORT int32_t RT_SetAutoRotation(int32_t enable) {
  return Guarded(0, [enable] {
    quillet::lock::DesktopLock desktop;
    return quillet::linux_desktop::SetAutoRotation(desktop.lock(), enable);
  });
}
