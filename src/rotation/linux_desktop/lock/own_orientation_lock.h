#pragma once
#include <string>

#include "rotation/linux_desktop/orientation_lock.h"

namespace quillet::lock {

// Zentara's own setting, for desktops without a lock of their own: a small
// key file, rotation.conf in the given folder,
//
//   [Rotation]
//   Automatic=true
//
// Without the file automatic rotation is on; a file that cannot be read or
// understood reads as on too, and the next switch replaces it. Writes go to
// a temporary file in the same folder that then takes the file's name, so a
// reader never sees half a file.
class OwnOrientationLock : public linux_desktop::OrientationLock {
 public:
  explicit OwnOrientationLock(std::string folder);

  // $XDG_CONFIG_HOME/zentara, or ~/.config/zentara.
  static std::string DefaultFolder();

  std::optional<bool> IsLocked() override;
  bool SetLocked(bool locked) override;
  bool NeedsRewrite() override { return damaged_; }

 private:
  std::string folder_;
  std::string path_;
  bool damaged_ = false;  // the file is there but says nothing usable
};

}  // namespace quillet::lock
