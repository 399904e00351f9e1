#pragma once
#include "platform/gio/desktop_rotation_services.h"
#include "rotation/linux_desktop/orientation_lock.h"
#include "rotation/linux_desktop/x11/session_bus.h"

namespace quillet::x11 {

using platform::gio::kKScreenService;

// Plasma's automatic rotation, switched by its screen module on the session
// bus. The lock is on while the module's automatic rotation is off. A module
// without a sensor to follow, or one that does not answer, has no lock.
class KScreenOrientationLock : public xdesktop::OrientationLock {
 public:
  explicit KScreenOrientationLock(SessionBus& bus) : bus_(bus) {}

  std::optional<bool> IsLocked() override;
  bool SetLocked(bool locked) override;

 private:
  std::optional<bool> AskBoolean(const char* method);

  SessionBus& bus_;
};

}  // namespace quillet::x11
