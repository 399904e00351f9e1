#pragma once
#include <string_view>

namespace quillet::xdesktop {

// What a session offers to keep the orientation lock in: the desktop it names
// itself, the services it really runs on its bus, and the settings schemas
// installed for it.
struct SessionTraits {
  std::string_view currentDesktop = {};  // names separated by ':', as in XDG_CURRENT_DESKTOP
  bool mutterOnBus = false;              // GNOME's display service is running
  bool cinnamonOnBus = false;            // Cinnamon's shell is running
  bool kscreenOnBus = false;             // Plasma's screen module is running
  bool gnomeKey = false;                 // GNOME's touchscreen lock key is installed
  bool cinnamonKey = false;              // Cinnamon's touchscreen lock key is installed
};

// Where the lock lives that the running desktop honours.
enum class LockStore {
  kGnomeKey,     // GNOME's settings key (GNOME, Unity, Budgie)
  kCinnamonKey,  // Cinnamon's settings key
  kKScreen,      // Plasma's screen module over the session bus
  kOwnSetting,   // Zentara's own setting, for desktops that have none
};

// Services on the bus decide before the desktop's name, which is only a hint;
// a desktop whose key is not installed has no lock of its own.
LockStore ChooseLockStore(const SessionTraits& session);

}  // namespace quillet::xdesktop
