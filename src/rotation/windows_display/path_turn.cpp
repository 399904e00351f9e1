#include "rotation/windows_display/path_turn.h"

namespace quillet {
namespace {

bool IsPortrait(uint32_t code) {
  return code == kRotation90 || code == kRotation270;
}

// The source mode a path names, or null when the index leads nowhere useful.
DisplayModeInfo* SourceModeOf(const DisplayPathInfo& path, DisplayModeInfo* modes,
                              uint32_t modeCount) {
  if (path.sourceModeIndex >= modeCount) return nullptr;
  DisplayModeInfo& mode = modes[path.sourceModeIndex];
  return mode.infoType == kModeInfoTypeSource ? &mode : nullptr;
}

// Mirrored screens share one source mode; it must be swapped once, not once
// per path.
bool ShownByAnEarlierTurnedPath(const DisplayPathInfo* paths, uint32_t index, uint32_t code) {
  for (uint32_t earlier = 0; earlier < index; ++earlier) {
    if (paths[earlier].sourceModeIndex == paths[index].sourceModeIndex &&
        ChangesOrientation(paths[earlier].rotation, code)) {
      return true;
    }
  }
  return false;
}

}  // namespace

bool ChangesOrientation(uint32_t from, uint32_t to) {
  return IsPortrait(from) != IsPortrait(to);
}

void TurnPaths(DisplayPathInfo* paths, uint32_t pathCount, DisplayModeInfo* modes,
               uint32_t modeCount, uint32_t code, bool reshapeDesktops) {
  // The modes first: which of them to swap depends on the rotations read.
  for (uint32_t i = 0; reshapeDesktops && i < pathCount; ++i) {
    if (!ChangesOrientation(paths[i].rotation, code)) continue;
    DisplayModeInfo* mode = SourceModeOf(paths[i], modes, modeCount);
    if (mode == nullptr || ShownByAnEarlierTurnedPath(paths, i, code)) continue;
    const uint32_t width = mode->width;
    mode->width = mode->height;
    mode->height = width;
  }
  for (uint32_t i = 0; i < pathCount; ++i) paths[i].rotation = code;
}

}  // namespace quillet
