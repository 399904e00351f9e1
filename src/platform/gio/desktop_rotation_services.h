#pragma once
#include <string>
#include <vector>

// The services through which desktops turn their screens themselves, by
// their names on the session bus.
namespace platform::gio {

inline constexpr char kMutterDisplayService[] = "org.gnome.Mutter.DisplayConfig";
inline constexpr char kCinnamonService[] = "org.Cinnamon";
inline constexpr char kKScreenService[] = "org.kde.KScreen";

// Whether `ownedNames` (a session bus's names) hold one of those services.
bool DesktopTurnsScreens(const std::vector<std::string>& ownedNames);

}  // namespace platform::gio
