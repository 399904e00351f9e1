#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "rotation/linux_desktop/lock_choice.h"
#include "rotation/linux_desktop/xwayland_session.h"

namespace {

using quillet::xdesktop::ChooseLockStore;
using quillet::xdesktop::IsXWaylandSession;
using quillet::xdesktop::LockStore;
using quillet::xdesktop::SessionTraits;

TEST(LockChoice, ServicesOnTheBusDecideAndTheDesktopNameIsAHint) {
  struct Case {
    const char* what;
    SessionTraits session;
    LockStore store;
  };
  const Case cases[] = {
      {"GNOME", {.currentDesktop = "GNOME", .gnomeKey = true}, LockStore::kGnomeKey},
      {"Ubuntu", {.currentDesktop = "ubuntu:GNOME", .gnomeKey = true}, LockStore::kGnomeKey},
      {"GNOME Flashback",
       {.currentDesktop = "GNOME-Flashback:GNOME", .gnomeKey = true},
       LockStore::kGnomeKey},
      {"Unity", {.currentDesktop = "Unity", .gnomeKey = true}, LockStore::kGnomeKey},
      {"Budgie", {.currentDesktop = "Budgie:GNOME", .gnomeKey = true}, LockStore::kGnomeKey},
      {"Mutter, unnamed", {.mutterOnBus = true, .gnomeKey = true}, LockStore::kGnomeKey},
      {"GNOME without its key",
       {.currentDesktop = "GNOME", .mutterOnBus = true},
       LockStore::kOwnSetting},
      {"Cinnamon",
       {.currentDesktop = "X-Cinnamon", .gnomeKey = true, .cinnamonKey = true},
       LockStore::kCinnamonKey},
      {"Cinnamon, unnamed",
       {.cinnamonOnBus = true, .gnomeKey = true, .cinnamonKey = true},
       LockStore::kCinnamonKey},
      {"Cinnamon without its key",
       {.currentDesktop = "X-Cinnamon", .gnomeKey = true},
       LockStore::kOwnSetting},
      {"Plasma",
       {.currentDesktop = "KDE", .kscreenOnBus = true, .gnomeKey = true},
       LockStore::kKScreen},
      {"Plasma named GNOME",
       {.currentDesktop = "GNOME", .kscreenOnBus = true, .gnomeKey = true},
       LockStore::kKScreen},
      {"Plasma without its module",
       {.currentDesktop = "KDE", .gnomeKey = true},
       LockStore::kOwnSetting},
      {"Xfce with GNOME's key",
       {.currentDesktop = "XFCE", .gnomeKey = true},
       LockStore::kOwnSetting},
      {"MATE",
       {.currentDesktop = "MATE", .gnomeKey = true, .cinnamonKey = true},
       LockStore::kOwnSetting},
      {"i3, nothing named", {.gnomeKey = true}, LockStore::kOwnSetting},
      {"a name that only contains GNOME",
       {.currentDesktop = "NotGNOME", .gnomeKey = true},
       LockStore::kOwnSetting},
  };
  for (const Case& c : cases) EXPECT_EQ(ChooseLockStore(c.session), c.store) << c.what;
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
