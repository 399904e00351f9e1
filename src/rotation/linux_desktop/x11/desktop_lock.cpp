#include "rotation/linux_desktop/x11/desktop_lock.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/gio/desktop_rotation_services.h"
#include "rotation/linux_desktop/x11/gio_orientation_lock.h"
#include "rotation/linux_desktop/x11/kscreen_orientation_lock.h"
#include "rotation/linux_desktop/x11/own_orientation_lock.h"

namespace quillet::x11 {
namespace {

xdesktop::SessionTraits Probe(platform::gio::SessionBus& bus, const char* currentDesktop) {
  const std::vector<std::string> names = bus.OwnedNames();
  const auto owned = [&names](const char* name) {
    return std::find(names.begin(), names.end(), name) != names.end();
  };
  xdesktop::SessionTraits session;
  session.currentDesktop = currentDesktop != nullptr ? currentDesktop : "";
  session.mutterOnBus = owned(platform::gio::kMutterDisplayService);
  session.cinnamonOnBus = owned(platform::gio::kCinnamonService);
  session.kscreenOnBus = owned(kKScreenService);
  session.gnomeKey = GioOrientationLock::IsInstalled(kGnomeTouchscreenSchema);
  session.cinnamonKey = GioOrientationLock::IsInstalled(kCinnamonTouchscreenSchema);
  return session;
}

}  // namespace

DesktopLock::DesktopLock()
    : store_(xdesktop::ChooseLockStore(Probe(bus_, std::getenv("XDG_CURRENT_DESKTOP")))) {
  switch (store_) {
    case xdesktop::LockStore::kGnomeKey:
      lock_ = std::make_unique<GioOrientationLock>(kGnomeTouchscreenSchema);
      break;
    case xdesktop::LockStore::kCinnamonKey:
      lock_ = std::make_unique<GioOrientationLock>(kCinnamonTouchscreenSchema);
      break;
    case xdesktop::LockStore::kKScreen:
      lock_ = std::make_unique<KScreenOrientationLock>(bus_);
      break;
    case xdesktop::LockStore::kOwnSetting:
      lock_ = std::make_unique<OwnOrientationLock>(OwnOrientationLock::DefaultFolder());
      break;
  }
}

}  // namespace quillet::x11
