#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "desktop_family/desktop_families.h"

namespace quillet::linux_desktop {

// What a session offers to keep the orientation lock in: the desktop it names
// itself, the services it really runs on its bus, and the lock schemas
// installed for it.
struct SessionTraits {
  std::string_view currentDesktop = {};    // names separated by ':', as in XDG_CURRENT_DESKTOP
  std::vector<std::string> busNames = {};  // the names owned on the session bus
  std::vector<std::string> installedSchemas = {};  // lock schemas installed with their boolean key
};

// The family whose lock the running desktop honours; null for Zentara's own
// setting. Services on the bus decide before the desktop's name, which is only
// a hint; a family whose lock schema is not installed has no lock of its own.
const desktop_family::Family* ChooseLockFamily(const SessionTraits& session);

}  // namespace quillet::linux_desktop
