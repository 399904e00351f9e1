#include "rotation/linux_desktop/lock_choice.h"

#include <cstddef>

namespace quillet::xdesktop {
namespace {

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

// Whether one of the ':'-separated names is one of the given ones; "GNOME"
// also stands for its variants ("GNOME-Classic", "GNOME-Flashback").
template <size_t N>
bool NamesOneOf(std::string_view desktops, const std::string_view (&names)[N]) {
  while (!desktops.empty()) {
    const size_t colon = desktops.find(':');
    std::string_view name = desktops.substr(0, colon);
    if (const size_t dash = name.find('-');
        dash != std::string_view::npos && SameLetters(name.substr(0, dash), "GNOME"))
      name = name.substr(0, dash);
    for (std::string_view wanted : names)
      if (SameLetters(name, wanted)) return true;
    desktops = colon == std::string_view::npos ? std::string_view() : desktops.substr(colon + 1);
  }
  return false;
}

constexpr std::string_view kGnomeFamily[] = {"GNOME", "Unity", "Budgie"};
constexpr std::string_view kCinnamon[] = {"X-Cinnamon", "Cinnamon"};

}  // namespace

LockStore ChooseLockStore(const SessionTraits& session) {
  if (session.mutterOnBus && session.gnomeKey) return LockStore::kGnomeKey;
  if (session.cinnamonOnBus && session.cinnamonKey) return LockStore::kCinnamonKey;
  if (session.kscreenOnBus) return LockStore::kKScreen;
  if (session.gnomeKey && NamesOneOf(session.currentDesktop, kGnomeFamily))
    return LockStore::kGnomeKey;
  if (session.cinnamonKey && NamesOneOf(session.currentDesktop, kCinnamon))
    return LockStore::kCinnamonKey;
  return LockStore::kOwnSetting;
}

}  // namespace quillet::xdesktop
