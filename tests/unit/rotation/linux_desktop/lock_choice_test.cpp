#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "rotation/linux_desktop/lock_choice.h"
#include "rotation/linux_desktop/xwayland_session.h"

namespace {

using quillet::linux_desktop::ChooseLockFamily;
using quillet::linux_desktop::IsXWaylandSession;
using quillet::linux_desktop::SessionTraits;

constexpr char kMutter[] = "org.gnome.Mutter.DisplayConfig";
constexpr char kCinnamonShell[] = "org.Cinnamon";
constexpr char kKScreen[] = "org.kde.KScreen";
constexpr char kGnomeKey[] = "org.gnome.settings-daemon.peripherals.touchscreen";
constexpr char kCinnamonKey[] = "org.cinnamon.settings-daemon.peripherals.touchscreen";

TEST(LockChoice, ServicesOnTheBusDecideAndTheDesktopNameIsAHint) {
  struct Case {
    const char* what;
    SessionTraits session;
    const char* family;  // "" for Zentara's own setting
  };
  const Case cases[] = {
      {"GNOME", {"GNOME", {}, {kGnomeKey}}, "GNOME"},
      {"Ubuntu", {"ubuntu:GNOME", {}, {kGnomeKey}}, "GNOME"},
      {"GNOME Flashback", {"GNOME-Flashback:GNOME", {}, {kGnomeKey}}, "GNOME"},
      {"Unity", {"Unity", {}, {kGnomeKey}}, "GNOME"},
      {"Budgie", {"Budgie:GNOME", {}, {kGnomeKey}}, "GNOME"},
      {"Mutter, unnamed", {"", {kMutter}, {kGnomeKey}}, "GNOME"},
      {"GNOME without its key", {"GNOME", {kMutter}, {}}, ""},
      {"Cinnamon", {"X-Cinnamon", {}, {kGnomeKey, kCinnamonKey}}, "Cinnamon"},
      {"Cinnamon, unnamed", {"", {kCinnamonShell}, {kGnomeKey, kCinnamonKey}}, "Cinnamon"},
      {"Cinnamon without its key", {"X-Cinnamon", {}, {kGnomeKey}}, ""},
      {"Plasma", {"KDE", {kKScreen}, {kGnomeKey}}, "Plasma"},
      {"Plasma named GNOME", {"GNOME", {kKScreen}, {kGnomeKey}}, "Plasma"},
      {"Plasma without its module", {"KDE", {}, {kGnomeKey}}, ""},
      {"Xfce with GNOME's key", {"XFCE", {}, {kGnomeKey}}, ""},
      {"MATE", {"MATE", {}, {kGnomeKey, kCinnamonKey}}, ""},
      {"sway", {"sway", {}, {kGnomeKey}}, ""},
      {"i3, nothing named", {"", {}, {kGnomeKey}}, ""},
      {"a name that only contains GNOME", {"NotGNOME", {}, {kGnomeKey}}, ""},
  };
  for (const Case& c : cases) {
    const auto* family = ChooseLockFamily(c.session);
    EXPECT_EQ(family != nullptr ? family->name : "", std::string_view(c.family)) << c.what;
  }
}

TEST(RotationOnXWayland, AWaylandDisplayOrAnXWaylandOutputTellsIt) {
  const std::vector<std::string> x11 = {"eDP-1", "HDMI-1"};
  const std::vector<std::string> xwayland = {"XWAYLAND0", "XWAYLAND1"};
  EXPECT_FALSE(IsXWaylandSession("", x11));
  EXPECT_FALSE(IsXWaylandSession("", {}));
  EXPECT_TRUE(IsXWaylandSession("wayland-0", x11));
  EXPECT_TRUE(IsXWaylandSession("", xwayland));
  EXPECT_TRUE(IsXWaylandSession("", std::vector<std::string>{"eDP-1", "XWAYLAND2"}));
}

}  // namespace
