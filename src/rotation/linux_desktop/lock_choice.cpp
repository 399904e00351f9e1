#include "rotation/linux_desktop/lock_choice.h"

#include <algorithm>

namespace quillet::linux_desktop {
namespace {

using desktop_family::Family;
using desktop_family::LockStore;

bool Holds(const std::vector<std::string>& names, const char* name) {
  return name != nullptr && std::find(names.begin(), names.end(), name) != names.end();
}

bool HasSchema(const Family& family, const SessionTraits& session) {
  return family.lockStore == LockStore::kGSettingsKey &&
         Holds(session.installedSchemas, family.lockSchema);
}

}  // namespace

const Family* ChooseLockFamily(const SessionTraits& session) {
  for (const Family& family : desktop_family::Families()) {
    if (!Holds(session.busNames, family.busService)) continue;
    // A screen module is its own store; a settings key must be installed.
    if (family.lockStore == LockStore::kKScreenModule || HasSchema(family, session)) return &family;
  }
  for (const Family& family : desktop_family::Families())
    if (HasSchema(family, session) && desktop_family::IsNamedIn(family, session.currentDesktop))
      return &family;
  return nullptr;
}

}  // namespace quillet::linux_desktop
