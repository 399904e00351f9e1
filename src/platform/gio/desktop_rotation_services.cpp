#include "platform/gio/desktop_rotation_services.h"

#include <algorithm>

#include "desktop_family/desktop_families.h"

namespace platform::gio {

bool DesktopTurnsScreens(const std::vector<std::string>& ownedNames) {
  const auto families = desktop_family::Families();
  return std::any_of(families.begin(), families.end(), [&](const desktop_family::Family& family) {
    return family.rotatesByItself && family.busService != nullptr &&
           std::find(ownedNames.begin(), ownedNames.end(), family.busService) != ownedNames.end();
  });
}

}  // namespace platform::gio
