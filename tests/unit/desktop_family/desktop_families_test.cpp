#include "desktop_family/desktop_families.h"

#include <string>

#include <gtest/gtest.h>

namespace {

using desktop_family::Families;
using desktop_family::Family;
using desktop_family::IsNamedIn;
using desktop_family::LockStore;
using desktop_family::OutputManagement;

std::string Text(const char* text) {
  return text != nullptr ? text : "";
}

// One row per family, in the order sessions are matched, as the desktops
// themselves spell their names.
TEST(DesktopFamilies, EachRowSaysHowItsDesktopIsToldLockedAndTurned) {
  struct Row {
    const char* name;
    const char* namedIn;  // an XDG_CURRENT_DESKTOP that names it
    const char* service;
    LockStore store;
    const char* schema;
    bool rotatesByItself;
    OutputManagement outputs;
    const char* placingWindowManager;
  };
  const Row rows[] = {
      {"GNOME", "GNOME-Classic:GNOME", "org.gnome.Mutter.DisplayConfig", LockStore::kGSettingsKey,
       "org.gnome.settings-daemon.peripherals.touchscreen", true,
       OutputManagement::kMutterDisplayConfig, ""},
      {"Cinnamon", "X-Cinnamon", "org.Cinnamon", LockStore::kGSettingsKey,
       "org.cinnamon.settings-daemon.peripherals.touchscreen", true, OutputManagement::kNone, ""},
      {"Plasma", "KDE", "org.kde.KScreen", LockStore::kKScreenModule, "", true,
       OutputManagement::kKdeOutputManagement, ""},
      {"wlroots", "sway", "", LockStore::kNone, "", false, OutputManagement::kWlrOutputManagement,
       "wlroots wm"},
  };
  ASSERT_EQ(Families().size(), std::size(rows));
  for (size_t i = 0; i < std::size(rows); ++i) {
    const Family& family = Families()[i];
    const Row& row = rows[i];
    EXPECT_EQ(family.name, row.name);
    EXPECT_TRUE(IsNamedIn(family, row.namedIn)) << row.name;
    EXPECT_EQ(Text(family.busService), row.service) << row.name;
    EXPECT_EQ(family.lockStore, row.store) << row.name;
    EXPECT_EQ(Text(family.lockSchema), row.schema) << row.name;
    EXPECT_EQ(Text(family.lockKey), *row.schema != '\0' ? "orientation-lock" : "") << row.name;
    EXPECT_EQ(family.rotatesByItself, row.rotatesByItself) << row.name;
    EXPECT_EQ(family.outputManagement, row.outputs) << row.name;
    EXPECT_EQ(Text(family.placingWindowManager), row.placingWindowManager) << row.name;
    // Only the whole name or its "-Variant" names the family.
    EXPECT_FALSE(IsNamedIn(family, std::string("Not") + row.name)) << row.name;
  }
}

}  // namespace
