#include "platform/x11/desktop_watcher.h"

#include <X11/Xatom.h>

#include "platform/x11/x11_connection.h"
#include "platform/x11/xft_dpi.h"
#include "platform/x11/xsettings.h"

namespace platform::x11 {

DesktopWatcher::DesktopWatcher(X11Connection& connection, EventLoop& loop)
    : connection_(connection),
      loop_(loop),
      screen_(connection),
      compositor_(connection, ScreenSelection("_NET_WM_CM_S", connection.Screen())),
      settingsManager_(connection, ScreenSelection("_XSETTINGS_S", connection.Screen())),
      settingsProperty_(XInternAtom(connection.Get(), "_XSETTINGS_SETTINGS", False)) {
  screen_.onChange = [this](const Rect& before, const Rect& now) {
    if (onScreenChange) onScreenChange(before, now);
  };
  screen_.onOutputsChange = [this] {
    if (onOutputsChange) onOutputsChange();
  };
  XWindowAttributes attributes{};
  XGetWindowAttributes(connection_.Get(), connection_.Root(), &attributes);
  XSelectInput(connection_.Get(), connection_.Root(),
               attributes.your_event_mask | PropertyChangeMask);
  loop_.Watch(connection_.Root(), this);
  active_ = ReadActiveWindow();
  FollowSettingsManager();
  dpi_ = ReadDpi();
}

DesktopWatcher::~DesktopWatcher() {
  if (settingsWindow_ != 0) loop_.Unwatch(settingsWindow_);
  loop_.Unwatch(connection_.Root());
}

void DesktopWatcher::HandleEvent(const XEvent& event) {
  if (screen_.Take(event)) return;
  if (compositor_.Take(event)) {
    if (onCompositorChange) onCompositorChange(Composited());
    return;
  }
  if (settingsManager_.Take(event)) {
    FollowSettingsManager();
    UpdateDpi();
    return;
  }
  if (event.type != PropertyNotify) return;
  if (event.xproperty.window == settingsWindow_) {
    if (event.xproperty.atom == settingsProperty_) UpdateDpi();
  } else if (event.xproperty.atom == connection_.Names().netActiveWindow) {
    const ::Window before = active_;
    active_ = event.xproperty.state == PropertyDelete ? 0 : ReadActiveWindow();
    if (active_ != before && onActiveWindowChange) onActiveWindowChange();
  } else if (event.xproperty.atom == XA_RESOURCE_MANAGER) {
    UpdateDpi();
  }
}

void DesktopWatcher::FollowSettingsManager() {
  const ::Window owner = settingsManager_.Owner();
  if (owner == settingsWindow_) return;
  // The old window may be gone already; it is only forgotten.
  if (settingsWindow_ != 0) loop_.Unwatch(settingsWindow_);
  settingsWindow_ = owner;
  if (owner == 0) return;
  XSelectInput(connection_.Get(), owner, PropertyChangeMask);
  loop_.Watch(owner, this);
}

int32_t DesktopWatcher::ReadDpi() {
  if (settingsWindow_ != 0) {
    if (const auto dpi = XsettingsDpi(connection_, settingsWindow_)) return *dpi;
  }
  return XftDpi(connection_);
}

void DesktopWatcher::UpdateDpi() {
  const int32_t dpi = ReadDpi();
  if (dpi == dpi_) return;
  dpi_ = dpi;
  if (onDpiChange) onDpiChange(dpi);
}

::Window DesktopWatcher::ReadActiveWindow() const {
  return connection_.WindowProperty(connection_.Root(), connection_.Names().netActiveWindow);
}

}  // namespace platform::x11
