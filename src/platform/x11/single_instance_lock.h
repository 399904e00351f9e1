#pragma once
#include <string>
#include <string_view>

namespace platform::x11 {

// Where the lock of a name lives: in $XDG_RUNTIME_DIR, which belongs to one
// login session of one user, or else in /tmp under a name that carries the
// user's number.
std::string LockFilePath(std::string_view name);

// Takes an exclusive flock on the named lock file and holds it until the
// process ends; the descriptor is not inherited by programs started from here.
// Returns false only when another process holds it; true also when no lock
// of this user's can be had there, so that the program still runs.
bool ClaimLockFile(const std::string& path);

}  // namespace platform::x11
