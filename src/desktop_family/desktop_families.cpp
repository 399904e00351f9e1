#include "desktop_family/desktop_families.h"

#include <cstddef>

namespace desktop_family {
namespace {

constexpr std::string_view kGnomeNames[] = {"GNOME", "Unity", "Budgie"};
constexpr std::string_view kCinnamonNames[] = {"X-Cinnamon", "Cinnamon"};
constexpr std::string_view kPlasmaNames[] = {"KDE"};
constexpr std::string_view kWlrootsNames[] = {"sway", "labwc", "Wayfire", "river", "Hyprland"};
constexpr char kTouchscreenLockKey[] = "orientation-lock";

constexpr Family kFamilies[] = {
    {"GNOME", kGnomeNames, "org.gnome.Mutter.DisplayConfig", LockStore::kGSettingsKey,
     "org.gnome.settings-daemon.peripherals.touchscreen", kTouchscreenLockKey, true,
     OutputManagement::kMutterDisplayConfig, nullptr},
    {"Cinnamon", kCinnamonNames, "org.Cinnamon", LockStore::kGSettingsKey,
     "org.cinnamon.settings-daemon.peripherals.touchscreen", kTouchscreenLockKey, true,
     OutputManagement::kNone, nullptr},
    {"Plasma", kPlasmaNames, "org.kde.KScreen", LockStore::kKScreenModule, nullptr, nullptr, true,
     OutputManagement::kKdeOutputManagement, nullptr},
    {"wlroots", kWlrootsNames, nullptr, LockStore::kNone, nullptr, nullptr, false,
     OutputManagement::kWlrOutputManagement, "wlroots wm"},
};

bool SameLetters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) {
      return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

bool Names(std::string_view name, std::string_view wanted) {
  if (SameLetters(name, wanted)) return true;
  return name.size() > wanted.size() && name[wanted.size()] == '-' &&
         SameLetters(name.substr(0, wanted.size()), wanted);
}

}  // namespace

std::span<const Family> Families() {
  return kFamilies;
}

bool IsNamedIn(const Family& family, std::string_view currentDesktop) {
  while (!currentDesktop.empty()) {
    const size_t colon = currentDesktop.find(':');
    const std::string_view name = currentDesktop.substr(0, colon);
    for (std::string_view wanted : family.desktopNames)
      if (Names(name, wanted)) return true;
    currentDesktop =
        colon == std::string_view::npos ? std::string_view() : currentDesktop.substr(colon + 1);
  }
  return false;
}

}  // namespace desktop_family
