#include "platform/x11/active_window_watcher.h"

#include <X11/Xatom.h>

#include "platform/x11/x11_connection.h"

namespace platform::x11 {

ActiveWindowWatcher::ActiveWindowWatcher(X11Connection& connection, EventLoop& loop)
    : connection_(connection), loop_(loop) {
  XWindowAttributes attributes{};
  XGetWindowAttributes(connection_.Get(), connection_.Root(), &attributes);
  XSelectInput(connection_.Get(), connection_.Root(),
               attributes.your_event_mask | PropertyChangeMask);
  loop_.Watch(connection_.Root(), this);
  current_ = Read();
}

ActiveWindowWatcher::~ActiveWindowWatcher() {
  loop_.Unwatch(connection_.Root());
}

void ActiveWindowWatcher::HandleEvent(const XEvent& event) {
  if (event.type != PropertyNotify || event.xproperty.atom != connection_.Names().netActiveWindow)
    return;
  const ::Window active = event.xproperty.state == PropertyDelete ? 0 : Read();
  if (active == current_) return;
  current_ = active;
  if (onChange) onChange(active);
}

::Window ActiveWindowWatcher::Read() const {
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
