#include "rotation/linux_desktop/lock/own_orientation_lock.h"

#include <glib.h>
#include <glib/gstdio.h>

#include <cstdlib>
#include <utility>

namespace quillet::lock {
namespace {

constexpr char kFileName[] = "rotation.conf";
constexpr char kGroup[] = "Rotation";
constexpr char kKey[] = "Automatic";

}  // namespace

OwnOrientationLock::OwnOrientationLock(std::string folder)
    : folder_(std::move(folder)), path_(folder_ + "/" + kFileName) {}

std::string OwnOrientationLock::DefaultFolder() {
  // Read each time rather than through GLib, which keeps the first answer.
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config != nullptr && config[0] == '/') return std::string(config) + "/zentara";
  const char* home = std::getenv("HOME");
  return std::string(home != nullptr && home[0] == '/' ? home : g_get_home_dir()) +
         "/.config/zentara";
}

std::optional<bool> OwnOrientationLock::IsLocked() {
  GKeyFile* file = g_key_file_new();
  GError* error = nullptr;
  bool automatic = true;
  damaged_ = false;
  if (g_key_file_load_from_file(file, path_.c_str(), G_KEY_FILE_NONE, &error)) {
    const gboolean value = g_key_file_get_boolean(file, kGroup, kKey, &error);
    if (error == nullptr) automatic = value != FALSE;
  }
  if (error != nullptr) {
    damaged_ = !g_error_matches(error, G_FILE_ERROR, G_FILE_ERROR_NOENT);
    g_error_free(error);
  }
  g_key_file_free(file);
  return !automatic;
}

bool OwnOrientationLock::SetLocked(bool locked) {
  if (g_mkdir_with_parents(folder_.c_str(), 0700) != 0) return false;
  const std::string text =
      std::string("[") + kGroup + "]\n" + kKey + "=" + (locked ? "false" : "true") + "\n";
  const bool written =
      g_file_set_contents_full(path_.c_str(), text.c_str(), static_cast<gssize>(text.size()),
                               G_FILE_SET_CONTENTS_CONSISTENT, 0600, nullptr) != FALSE;
  if (written) damaged_ = false;
  return written;
}

}  // namespace quillet::lock
