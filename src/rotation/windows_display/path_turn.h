#pragma once
#include <cstdint>

#include "rotation/windows_display/display_records.h"

namespace quillet {

// True when a path turned from one rotation code to the other changes
// between landscape and portrait (an unknown code counts as not turned).
bool ChangesOrientation(uint32_t from, uint32_t to);

// Writes one rotation code into every path. With `reshapeDesktops`, the
// source mode of each path that changes between landscape and portrait also
// has its width and height swapped, once however many paths show it; a path
// whose mode index lies outside the array or names no source mode keeps its
// mode as it is.
void TurnPaths(DisplayPathInfo* paths, uint32_t pathCount, DisplayModeInfo* modes,
               uint32_t modeCount, uint32_t code, bool reshapeDesktops);

}  // namespace quillet
