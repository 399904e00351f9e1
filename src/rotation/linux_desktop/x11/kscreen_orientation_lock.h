#pragma once
#include "platform/gio/desktop_rotation_services.h"
#include "platform/gio/session_bus.h"
#include "rotation/linux_desktop/orientation_lock.h"

namespace quillet::x11 {

using platform::gio::kKScreenService;

// Plasma's automatic rotation, switched by its screen module on the session
// bus. The lock is on while the module's automatic rotation is off. A module
// without a sensor to follow, or one that does not answer, has no lock.
class KScreenOrientationLock : public xdesktop::OrientationLock {
 public:
  explicit KScreenOrientationLock(platform::gio::SessionBus& bus) : bus_(bus) {}

  std::optional<bool> IsLocked() override;
  bool SetLocked(bool locked) override;

 private:
  std::optional<bool> AskBoolean(const char* method);

  platform::gio::SessionBus& bus_;
};

}  // namespace quillet::x11
