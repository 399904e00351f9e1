#pragma once
#include <span>
#include <string_view>

// What the program and the rotation library know of each desktop family, in
// one table: how a session tells which one runs, where its orientation lock
// is kept, whether it turns its screens itself, and which of its interfaces
// turns them under Wayland. Adding a desktop is adding a row here (and its
// adapter, where its lock or its outputs need one of their own).
namespace desktop_family {

// Where a family keeps the lock that stops it following the sensor.
enum class LockStore {
  kNone,           // none of its own: Zentara's own setting
  kGSettingsKey,   // a boolean key of a GSettings schema
  kKScreenModule,  // Plasma's screen module, asked on the session bus
};

// How the library reaches a family's output configuration under Wayland.
enum class OutputManagement {
  kNone,
  kMutterDisplayConfig,  // the family's display service on the session bus
  kKdeOutputManagement,  // kde_output_management_v2
  kWlrOutputManagement,  // zwlr_output_manager_v1
};

struct Family {
  std::string_view name;
  // Its names in XDG_CURRENT_DESKTOP; each also stands for its variants
  // written "Name-Variant" ("GNOME-Classic").
  std::span<const std::string_view> desktopNames;
  const char* busService;  // the session-bus name that tells it runs; null when none does
  LockStore lockStore;
  const char* lockSchema;  // the GSettings schema of a kGSettingsKey lock, else null
  const char* lockKey;     // that schema's boolean key, else null
  bool rotatesByItself;    // it follows the sensor itself, so the program does not
  OutputManagement outputManagement;
  // The name its X11 window manager (under XWayland) gives itself when that one
  // tiles or centres every window it manages and ignores a program's moves; else null.
  const char* placingWindowManager;
};

// Every family, in the order a session is matched against them.
std::span<const Family> Families();

// Whether one of `currentDesktop`'s ':'-separated names (as in
// XDG_CURRENT_DESKTOP) names `family`; letters compare without case.
bool IsNamedIn(const Family& family, std::string_view currentDesktop);

}  // namespace desktop_family
