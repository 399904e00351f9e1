#pragma once
#include <gio/gio.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "rotation/linux_desktop/desktop_outputs.h"

namespace quillet::wayland {

// One monitor of a logical monitor, at its current mode.
struct MutterMonitor {
  std::string connector;
  std::string modeId;  // Mutter's own name of the mode, as it wants it back
  int32_t width = 0;   // of the mode, in pixels, not turned
  int32_t height = 0;
  bool builtIn = false;
  bool underscanning = false;
};

// A region of Mutter's layout that one or more (mirrored) monitors show.
struct MutterLogicalMonitor {
  int32_t x = 0;
  int32_t y = 0;
  double scale = 1.0;
  uint32_t transform = 0;
  bool primary = false;
  std::vector<MutterMonitor> monitors;
};

// Mutter's display configuration as its GetCurrentState describes it.
struct MutterLayout {
  uint32_t serial = 0;
  // Layout mode 1: the layout counts logical pixels, a mode divided by its
  // scale; mode 2 counts physical pixels.
  uint32_t layoutMode = 2;
  bool layoutModeChangeable = false;
  // The built-in ones first when there are any, else the primary one: the
  // first of them is the tablet's.
  std::vector<MutterLogicalMonitor> logicalMonitors;
};

// The reply type of GetCurrentState.
inline constexpr char kCurrentStateType[] =
    "(ua((ssss)a(siiddada{sv})a{sv})a(iiduba(ssss)a{sv})a{sv})";

// The layout a GetCurrentState reply describes; nothing when it is of
// another type or a logical monitor shows a monitor without a current mode.
std::optional<MutterLayout> ParseCurrentState(GVariant* reply);

// One output per logical monitor, in the layout's order, named after its
// first monitor.
std::vector<linux_desktop::DesktopOutput> OutputsOf(const MutterLayout& layout);

// The floating arguments of ApplyMonitorsConfig, method 1 (temporary, no
// confirmation asked) that put every logical monitor of the layout at the
// place and transform its output in `outputs` gives, everything else kept.
// Null when `outputs` are not the layout's, in its order and all enabled, or
// a transform is outside 0 to 7.
GVariant* ApplyArguments(const MutterLayout& layout,
                         const std::vector<linux_desktop::DesktopOutput>& outputs);

}  // namespace quillet::wayland
