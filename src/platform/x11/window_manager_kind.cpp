#include "platform/x11/window_manager_kind.h"

#include <algorithm>
#include <string>

#include "desktop_family/desktop_families.h"
#include "platform/x11/x11_connection.h"

namespace platform::x11 {
namespace {

// The running window manager's name from its EWMH check window, or "" where
// none runs (a check window left behind by one that ended does not name itself).
std::string WindowManagerName(X11Connection& connection) {
  Display* display = connection.Get();
  const ::Atom check = connection.Names().netSupportingWmCheck;
  const ::Window window = connection.WindowProperty(connection.Root(), check);
  if (window == 0 || connection.WindowProperty(window, check) != window) return {};
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
  const std::string name = WindowManagerName(connection);
  const auto families = desktop_family::Families();
  return std::none_of(families.begin(), families.end(), [&name](const desktop_family::Family& f) {
    return f.placingWindowManager != nullptr && name == f.placingWindowManager;
  });
}

}  // namespace platform::x11
