#include "platform/x11/window_manager_kind.h"

#include <X11/Xatom.h>

#include <string>
#include <string_view>

#include "platform/x11/x11_connection.h"

namespace platform::x11 {
namespace {

constexpr std::string_view kWlrootsWindowManager = "wlroots wm";

// The window a 32-bit WINDOW property names, or 0.
::Window WindowProperty(Display* display, ::Window window, ::Atom property) {
  ::Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  ::Window named = 0;
  if (XGetWindowProperty(display, window, property, 0, 1, False, XA_WINDOW, &type, &format, &count,
                         &after, &data) == Success &&
      data != nullptr && type == XA_WINDOW && format == 32 && count == 1) {
    named = static_cast<::Window>(*reinterpret_cast<const unsigned long*>(data));
  }
  if (data != nullptr) XFree(data);
  return named;
}

// The running window manager's name from its EWMH check window, or "" where
// none runs (a check window left behind by one that ended does not name itself).
std::string WindowManagerName(X11Connection& connection) {
  Display* display = connection.Get();
  const ::Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
  const ::Window window = WindowProperty(display, connection.Root(), check);
  if (window == 0 || WindowProperty(display, window, check) != window) return {};
  ::Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  std::string name;
  if (XGetWindowProperty(display, window, connection.Names().netWmName, 0, 64, False,
                         connection.Names().utf8String, &type, &format, &count, &after,
                         &data) == Success &&
      data != nullptr && format == 8) {
    name.assign(reinterpret_cast<const char*>(data), count);
  }
  if (data != nullptr) XFree(data);
  return name;
}

}  // namespace

bool WindowManagerKeepsPlaces(X11Connection& connection) {
  return WindowManagerName(connection) != kWlrootsWindowManager;
}

}  // namespace platform::x11
