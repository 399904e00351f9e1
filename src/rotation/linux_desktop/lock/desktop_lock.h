#pragma once
#include <memory>

#include "desktop_family/desktop_families.h"
#include "platform/gio/session_bus.h"
#include "rotation/linux_desktop/orientation_lock.h"

namespace quillet::lock {

// The orientation lock that the running desktop honours, chosen from what
// the session really has: the services on its bus, the settings schemas
// installed, and the desktop's name as a hint.
class DesktopLock {
 public:
  DesktopLock();

  // The family whose lock this is; null for Zentara's own setting.
  const desktop_family::Family* family() const { return family_; }
  linux_desktop::OrientationLock& lock() { return *lock_; }

 private:
  platform::gio::SessionBus bus_;
  const desktop_family::Family* family_ = nullptr;
  std::unique_ptr<linux_desktop::OrientationLock> lock_;
};

}  // namespace quillet::lock
