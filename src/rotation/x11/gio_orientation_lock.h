#pragma once
#include <gio/gio.h>

#include "rotation/orientation_lock.h"

namespace quillet::x11 {

// The orientation lock of GNOME's settings daemon, which other desktops'
// rotation services read too, through GSettings. Without its schema the
// desktop has no lock: GSettings would end the process on a missing schema,
// so the schema is looked up first.
class GioOrientationLock : public xdesktop::OrientationLock {
 public:
  GioOrientationLock();
  ~GioOrientationLock() override;
  GioOrientationLock(const GioOrientationLock&) = delete;
  GioOrientationLock& operator=(const GioOrientationLock&) = delete;

  std::optional<bool> IsLocked() override;
  bool SetLocked(bool locked) override;

 private:
  GSettings* settings_ = nullptr;  // null without the schema or its key
};

}  // namespace quillet::x11
