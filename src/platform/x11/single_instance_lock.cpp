#include "platform/x11/single_instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>

namespace platform::x11 {

std::string LockFilePath(std::string_view name) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && *runtime != '\0')
    return std::string(runtime) + "/" + std::string(name) + ".lock";
  return "/tmp/" + std::string(name) + "-" + std::to_string(getuid()) + ".lock";
}

bool ClaimLockFile(const std::string& path) {
  // Another user's file of that name in /tmp is not followed or taken over.
  const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return false;
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    close(fd);
    return false;
  }
  // Kept open on purpose: the lock marks this process until it ends.
  return true;
}

}  // namespace platform::x11
