#pragma once
#include <gio/gio.h>

#include "rotation/linux_desktop/orientation_lock.h"

namespace quillet::lock {

// The orientation lock of a desktop's settings daemon, through a boolean key
// of a GSettings schema.
// Without its schema the desktop has no lock: GSettings would end the process
// on a missing schema, so the schema is looked up first.
class GioOrientationLock : public linux_desktop::OrientationLock {
 public:
  GioOrientationLock(const char* schemaId, const char* key);
  ~GioOrientationLock() override;
  GioOrientationLock(const GioOrientationLock&) = delete;
  GioOrientationLock& operator=(const GioOrientationLock&) = delete;

  // Whether the schema and its boolean key are installed.
  static bool IsInstalled(const char* schemaId, const char* key);

  std::optional<bool> IsLocked() override;
  bool SetLocked(bool locked) override;

 private:
  const char* key_;
  GSettings* settings_ = nullptr;  // null without the schema or its key
};

}  // namespace quillet::lock
