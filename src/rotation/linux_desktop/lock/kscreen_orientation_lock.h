#pragma once
#include "platform/gio/session_bus.h"
#include "rotation/linux_desktop/orientation_lock.h"

namespace quillet::lock {

// Plasma's automatic rotation, switched by its screen module, which the
// service `service` on the session bus offers. The lock is on while the module's automatic rotation
// is off. A module without a sensor to follow, or one that does not answer, has no lock.
class KScreenOrientationLock : public linux_desktop::OrientationLock {
 public:
  KScreenOrientationLock(platform::gio::SessionBus& bus, const char* service)
      : bus_(bus), service_(service) {}

  std::optional<bool> IsLocked() override;
  bool SetLocked(bool locked) override;

 private:
  std::optional<bool> AskBoolean(const char* method);

  platform::gio::SessionBus& bus_;
  const char* service_;
};

}  // namespace quillet::lock
