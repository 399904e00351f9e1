#include "platform/x11/input_watcher.h"

#include <X11/extensions/XInput2.h>

#include "platform/x11/x11_connection.h"

namespace platform::x11 {

InputWatcher::InputWatcher(X11Connection& connection, EventLoop& loop)
    : connection_(connection), loop_(loop) {
  Display* display = connection_.Get();
  int opcode = 0, event = 0, error = 0;
  if (!XQueryExtension(display, "XInputExtension", &opcode, &event, &error)) return;
  // Hierarchy events came with 2.0, touches with 2.2.
  int major = 2, minor = 2;
  if (XIQueryVersion(display, &major, &minor) != Success || major < 2) return;
  touches_ = major > 2 || minor >= 2;
  unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
  XISetMask(bits, XI_HierarchyChanged);
  // Raw events reach the root whoever the pointer's events go to.
  if (touches_) XISetMask(bits, XI_RawTouchEnd);
  XIEventMask mask{XIAllDevices, static_cast<int>(sizeof bits), bits};
  XISelectEvents(display, connection_.Root(), &mask, 1);
  opcode_ = opcode;
  loop_.WatchExtension(opcode_, this);
}

InputWatcher::~InputWatcher() {
  if (opcode_ >= 0) loop_.UnwatchExtension(opcode_);
}

void InputWatcher::HandleEvent(const XEvent& event) {
  if (event.type != GenericEvent || event.xcookie.extension != opcode_) return;
  const int type = event.xcookie.evtype;
  if (type != XI_HierarchyChanged && type != XI_RawTouchEnd) return;
  XGenericEventCookie cookie = event.xcookie;
  if (!XGetEventData(connection_.Get(), &cookie)) return;
  bool added = false;
  bool lifted = false;
  if (type == XI_HierarchyChanged) {
    const auto* hierarchy = static_cast<const XIHierarchyEvent*>(cookie.data);
    added = (hierarchy->flags & (XISlaveAdded | XIDeviceEnabled)) != 0;
  } else {
    lifted = touches_;
  }
  XFreeEventData(connection_.Get(), &cookie);
  if (added && onDevicesAdded) onDevicesAdded();
  if (lifted && onTouchLifted) onTouchLifted();
}

}  // namespace platform::x11
