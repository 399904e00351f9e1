#include "desktop_family/desktop_families.h"

#include <string_view>

#include <gtest/gtest.h>

namespace {

using desktop_family::Families;
using desktop_family::Family;
using desktop_family::IsNamedIn;

// The first family an XDG_CURRENT_DESKTOP names, as sessions are matched; "" for none.
std::string_view NamedFamily(std::string_view currentDesktop) {
  for (const Family& family : Families())
    if (IsNamedIn(family, currentDesktop)) return family.name;
  return "";
}

// As the desktops themselves spell their names: any of the ':'-separated
// names, a "-Variant", any letter case; never a longer word that starts alike.
TEST(DesktopFamilies, ASessionIsMatchedByItsDesktopsOwnNames) {
  const struct {
    std::string_view currentDesktop;
    std::string_view family;
  } cases[] = {
      {"GNOME", "GNOME"},
      {"ubuntu:GNOME", "GNOME"},
      {"GNOME-Classic:GNOME", "GNOME"},
      {"gnome-flashback", "GNOME"},
      {"Budgie:GNOME", "GNOME"},
      {"X-Cinnamon", "Cinnamon"},
      {"KDE", "Plasma"},
      {"sway", "wlroots"},
      {"labwc:wlroots", "wlroots"},
      {"NotGNOME", ""},
      {"GNOMEX", ""},
      {"XFCE", ""},
      {"", ""},
      {":", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(NamedFamily(c.currentDesktop), c.family) << c.currentDesktop;
}

}  // namespace
