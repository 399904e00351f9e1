#include "rotation/linux_desktop/xwayland_session.h"

namespace quillet::linux_desktop {

bool IsXWaylandSession(std::string_view waylandDisplay, std::span<const std::string> outputNames) {
  if (!waylandDisplay.empty()) return true;
  for (const std::string& name : outputNames)
    if (name.starts_with("XWAYLAND")) return true;
  return false;
}

}  // namespace quillet::linux_desktop
