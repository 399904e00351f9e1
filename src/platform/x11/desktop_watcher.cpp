#include "platform/x11/desktop_watcher.h"

#include <X11/Xatom.h>

#include "platform/x11/x11_connection.h"
#include "platform/x11/xft_dpi.h"

namespace platform::x11 {

DesktopWatcher::DesktopWatcher(X11Connection& connection, EventLoop& loop)
    : connection_(connection), loop_(loop), screen_(connection) {
  screen_.onChange = [this](const ScreenArea& before, const ScreenArea& now) {
    if (onScreenChange) onScreenChange(before, now);
  };
  XWindowAttributes attributes{};
  XGetWindowAttributes(connection_.Get(), connection_.Root(), &attributes);
  XSelectInput(connection_.Get(), connection_.Root(),
               attributes.your_event_mask | PropertyChangeMask);
  loop_.Watch(connection_.Root(), this);
  active_ = ReadActiveWindow();
  dpi_ = XftDpi(connection_);
}

DesktopWatcher::~DesktopWatcher() {
  loop_.Unwatch(connection_.Root());
}

void DesktopWatcher::HandleEvent(const XEvent& event) {
  if (screen_.Take(event) || event.type != PropertyNotify) return;
  if (event.xproperty.atom == connection_.Names().netActiveWindow) {
    active_ = event.xproperty.state == PropertyDelete ? 0 : ReadActiveWindow();
  } else if (event.xproperty.atom == XA_RESOURCE_MANAGER) {
    const int32_t dpi = XftDpi(connection_);
    if (dpi == dpi_) return;
    dpi_ = dpi;
    if (onDpiChange) onDpiChange(dpi);
  }
}

::Window DesktopWatcher::ReadActiveWindow() const {
  ::Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  ::Window active = 0;
  if (XGetWindowProperty(connection_.Get(), connection_.Root(), connection_.Names().netActiveWindow,
                         0, 1, False, XA_WINDOW, &type, &format, &count, &after,
                         &data) == Success &&
      data != nullptr && type == XA_WINDOW && format == 32 && count == 1) {
    active = static_cast<::Window>(*reinterpret_cast<const unsigned long*>(data));
  }
  if (data != nullptr) XFree(data);
  return active;
}

}  // namespace platform::x11
