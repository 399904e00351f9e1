#include "platform/gio/desktop_rotation_services.h"

#include <algorithm>

namespace platform::gio {

bool DesktopTurnsScreens(const std::vector<std::string>& ownedNames) {
  return std::any_of(ownedNames.begin(), ownedNames.end(), [](const std::string& name) {
    return name == kMutterDisplayService || name == kCinnamonService || name == kKScreenService;
  });
}

}  // namespace platform::gio
