#include "platform/x11/screen_watcher.h"

#include <X11/extensions/Xrandr.h>

#include "platform/x11/x11_connection.h"
#include "platform/xlib/randr_resources.h"

namespace platform::x11 {

bool IsScreenEvent(const XEvent& event, ::Window root, int randrEventBase) {
  if (event.type == ConfigureNotify) return event.xconfigure.window == root;
  if (randrEventBase < 0 || event.xany.window != root) return false;
  return event.type == randrEventBase + RRScreenChangeNotify ||
         event.type == randrEventBase + RRNotify;
}

ScreenWatcher::ScreenWatcher(X11Connection& connection) : connection_(connection) {
  Display* display = connection_.Get();
  XWindowAttributes attributes{};
  XGetWindowAttributes(display, connection_.Root(), &attributes);
  XSelectInput(display, connection_.Root(), attributes.your_event_mask | StructureNotifyMask);
  if (connection_.HasRandr()) {
    int mask = RRScreenChangeNotifyMask;
    // CRTCs and outputs came with version 1.2; older servers refuse their masks.
    if (xlib::HasRandr(display, 1, 2)) mask |= RRCrtcChangeNotifyMask | RROutputChangeNotifyMask;
    XRRSelectInput(display, connection_.Root(), mask);
  }
  shape_ = Read();
}

bool ScreenWatcher::Take(const XEvent& event) {
  if (!IsScreenEvent(event, connection_.Root(), connection_.RandrEventBase())) return false;
  UpdateXlib(event);
  bool outputsChanged = ChangesOutputs(event);
  XEvent queued;
  while (XCheckIfEvent(connection_.Get(), &queued, &ScreenWatcher::IsQueuedScreenEvent,
                       reinterpret_cast<XPointer>(this))) {
    UpdateXlib(queued);
    outputsChanged = ChangesOutputs(queued) || outputsChanged;
  }
  if (outputsChanged && onOutputsChange) onOutputsChange();
  const Shape now = Read();
  if (now == shape_) return true;
  const Rect before = shape_.primary;
  shape_ = now;
  if (onChange) onChange(before, now.primary);
  return true;
}

ScreenWatcher::Shape ScreenWatcher::Read() const {
  Display* display = connection_.Get();
  return {DisplayWidth(display, connection_.Screen()), DisplayHeight(display, connection_.Screen()),
          PrimaryScreenArea(connection_)};
}

bool ScreenWatcher::ChangesOutputs(const XEvent& event) const {
  const int base = connection_.RandrEventBase();
  if (base < 0) return false;
  if (event.type == base + RRScreenChangeNotify) return true;
  // Not output properties: a backlight's brightness is one.
  if (event.type != base + RRNotify) return false;
  const int subtype = reinterpret_cast<const XRRNotifyEvent&>(event).subtype;
  return subtype == RRNotify_CrtcChange || subtype == RRNotify_OutputChange;
}

void ScreenWatcher::UpdateXlib(const XEvent& event) {
  // It reads only ConfigureNotify of a root window and RRScreenChangeNotify.
  XEvent copy = event;
  XRRUpdateConfiguration(&copy);
}

Bool ScreenWatcher::IsQueuedScreenEvent(Display* /*display*/, XEvent* event, XPointer watcher) {
  const auto* self = reinterpret_cast<const ScreenWatcher*>(watcher);
  return IsScreenEvent(*event, self->connection_.Root(), self->connection_.RandrEventBase())
             ? True
             : False;
}

}  // namespace platform::x11
