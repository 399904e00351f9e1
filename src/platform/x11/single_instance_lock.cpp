#include "platform/x11/single_instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace platform::x11 {

std::string DisplayLockName(std::string_view name, std::string_view display) {
  // The screen follows the last colon: "host:0.1" is screen 1 of display 0.
  const size_t colon = display.rfind(':');
  if (colon != std::string_view::npos) {
    const size_t dot = display.find('.', colon);
    if (dot != std::string_view::npos) display = display.substr(0, dot);
  }
  std::string lock = std::string(name) + "-" + std::string(display);
  for (char& c : lock) {
    const bool kept = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                      c == '-' || c == '.';
    if (!kept) c = '_';
  }
  return lock;
}

std::string LockFilePath(std::string_view name) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && *runtime != '\0')
    return std::string(runtime) + "/" + std::string(name) + ".lock";
  return "/tmp/" + std::string(name) + "-" + std::to_string(getuid()) + ".lock";
}

bool ClaimLockFile(const std::string& path) {
  // A link in its place is not followed. Where no lock of our own can be had
  // (an unwritable folder, another user's file under the name) the program
  // runs unguarded rather than not at all, as on Windows when the mutex
  // cannot be made.
  const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return true;
  struct stat file {};
  if (fstat(fd, &file) != 0 || file.st_uid != geteuid()) {
    close(fd);
    return true;
  }
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    close(fd);
    return false;
  }
  // Kept open on purpose: the lock marks this process until it ends.
  return true;
}

}  // namespace platform::x11
