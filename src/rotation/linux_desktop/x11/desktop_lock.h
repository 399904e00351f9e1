#pragma once
#include <memory>

#include "platform/gio/session_bus.h"
#include "rotation/linux_desktop/lock_choice.h"
#include "rotation/linux_desktop/orientation_lock.h"

namespace quillet::x11 {

// The orientation lock that the running desktop honours, chosen from what
// the session really has: the services on its bus, the settings schemas
// installed, and the desktop's name as a hint.
class DesktopLock {
 public:
  DesktopLock();

  xdesktop::LockStore store() const { return store_; }
  xdesktop::OrientationLock& lock() { return *lock_; }

 private:
  platform::gio::SessionBus bus_;
  xdesktop::LockStore store_ = xdesktop::LockStore::kOwnSetting;
  std::unique_ptr<xdesktop::OrientationLock> lock_;
};

}  // namespace quillet::x11
