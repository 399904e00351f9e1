#pragma once
#include <cstdint>
#include <optional>

namespace quillet::linux_desktop {

// The desktop's orientation lock: while it is on, the screen does not follow
// the device's orientation sensor.
class OrientationLock {
 public:
  virtual ~OrientationLock() = default;
  // Nothing when the desktop has no such setting.
  virtual std::optional<bool> IsLocked() = 0;
  // True when the setting took the value and it was stored.
  virtual bool SetLocked(bool locked) = 0;
  // True when the stored setting could not be read, so that the next switch
  // writes a valid one even where the value stays the same.
  virtual bool NeedsRewrite() { return false; }
};

// 1 when the screen turns by itself (the lock is off); 0 when it is locked
// or the desktop has no lock.
int32_t GetAutoRotationOn(OrientationLock& lock);

// Turns automatic rotation on (non-zero) or off (0). Returns 1 when it
// already was so or the lock took the change (a damaged setting is written
// again either way); 0 when the desktop has no lock
// or refused the change.
int32_t SetAutoRotation(OrientationLock& lock, int32_t enable);

}  // namespace quillet::linux_desktop
