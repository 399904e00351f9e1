#include "rotation/linux_desktop/orientation_lock.h"

namespace quillet::linux_desktop {

int32_t GetAutoRotationOn(OrientationLock& lock) {
  const std::optional<bool> locked = lock.IsLocked();
  return locked.has_value() && !*locked ? 1 : 0;
}

int32_t SetAutoRotation(OrientationLock& lock, int32_t enable) {
  const std::optional<bool> locked = lock.IsLocked();
  if (!locked) return 0;
  const bool on = enable != 0;
  if (on == !*locked && !lock.NeedsRewrite()) return 1;
  return lock.SetLocked(!on) ? 1 : 0;
}

}  // namespace quillet::linux_desktop
