#pragma once
#include <string>
#include <vector>

namespace platform::gio {

// Whether `ownedNames` (a session bus's names) hold the service of a desktop
// family that turns its screens itself as the tablet turns.
bool DesktopTurnsScreens(const std::vector<std::string>& ownedNames);

}  // namespace platform::gio
