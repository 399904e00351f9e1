#pragma once
#include <gio/gio.h>

#include "rotation/linux_desktop/orientation_lock.h"

namespace quillet::x11 {

// The touchscreen schemas whose "orientation-lock" key a desktop's settings
// daemon reads: GNOME's (read by Unity and Budgie too) and Cinnamon's.
inline constexpr char kGnomeTouchscreenSchema[] =
    "org.gnome.settings-daemon.peripherals.touchscreen";
inline constexpr char kCinnamonTouchscreenSchema[] =
    "org.cinnamon.settings-daemon.peripherals.touchscreen";

// The orientation lock of a desktop's settings daemon, through GSettings.
// Without its schema the desktop has no lock: GSettings would end the process
// on a missing schema, so the schema is looked up first.
class GioOrientationLock : public xdesktop::OrientationLock {
 public:
  explicit GioOrientationLock(const char* schemaId);
  ~GioOrientationLock() override;
  GioOrientationLock(const GioOrientationLock&) = delete;
  GioOrientationLock& operator=(const GioOrientationLock&) = delete;

  // Whether the schema and its boolean key are installed.
  static bool IsInstalled(const char* schemaId);

  std::optional<bool> IsLocked() override;
  bool SetLocked(bool locked) override;

 private:
  GSettings* settings_ = nullptr;  // null without the schema or its key
};

}  // namespace quillet::x11
