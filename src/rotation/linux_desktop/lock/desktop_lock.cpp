#include "rotation/linux_desktop/lock/desktop_lock.h"

#include <cstdlib>

#include "rotation/linux_desktop/lock/gio_orientation_lock.h"
#include "rotation/linux_desktop/lock/kscreen_orientation_lock.h"
#include "rotation/linux_desktop/lock/own_orientation_lock.h"
#include "rotation/linux_desktop/lock_choice.h"

namespace quillet::lock {
namespace {

using desktop_family::LockStore;

linux_desktop::SessionTraits Probe(platform::gio::SessionBus& bus, const char* currentDesktop) {
  linux_desktop::SessionTraits session;
  session.currentDesktop = currentDesktop != nullptr ? currentDesktop : "";
  session.busNames = bus.OwnedNames();
  for (const desktop_family::Family& family : desktop_family::Families())
    if (family.lockStore == LockStore::kGSettingsKey &&
        GioOrientationLock::IsInstalled(family.lockSchema, family.lockKey))
      session.installedSchemas.emplace_back(family.lockSchema);
  return session;
}

}  // namespace

DesktopLock::DesktopLock()
    : family_(linux_desktop::ChooseLockFamily(Probe(bus_, std::getenv("XDG_CURRENT_DESKTOP")))) {
  switch (family_ != nullptr ? family_->lockStore : LockStore::kNone) {
    case LockStore::kGSettingsKey:
      lock_ = std::make_unique<GioOrientationLock>(family_->lockSchema, family_->lockKey);
      break;
    case LockStore::kKScreenModule:
      lock_ = std::make_unique<KScreenOrientationLock>(bus_, family_->busService);
      break;
    case LockStore::kNone:
      lock_ = std::make_unique<OwnOrientationLock>(OwnOrientationLock::DefaultFolder());
      break;
  }
}

}  // namespace quillet::lock
