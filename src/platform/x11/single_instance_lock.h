#pragma once
#include <string>
#include <string_view>

namespace platform::x11 {

// The lock's name for one X display: `name`, then the display's name without
// its screen number (":0.1" and ":0" are one display), each character other
// than a letter, digit, '-' or '.' written as '_' ("/" would make a folder of
// it). A second display of the same user gets a lock, and a panel, of its own.
std::string DisplayLockName(std::string_view name, std::string_view display);

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
