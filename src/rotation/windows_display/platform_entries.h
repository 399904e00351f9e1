#pragma once
#include <cstdint>

#include "platform/types.h"
#include "rotation/windows_display/display_records.h"

namespace quillet {

// Everything the library needs from the operating system. The DLL fills it
// from kernel32 and user32; tests fill it with fakes. A null entry is a
// missing one.
struct PlatformEntries {
  // user32, looked up once when the library is loaded; they use the
  // platform's calling convention.
  int32_t(ZENTARA_WINAPI* setDisplayConfig)(uint32_t pathCount, DisplayPathInfo* paths,
                                            uint32_t modeCount, DisplayModeInfo* modes,
                                            uint32_t flags);
  int32_t(ZENTARA_WINAPI* getDisplayConfigBufferSizes)(uint32_t flags, uint32_t* pathCount,
                                                       uint32_t* modeCount);
  int32_t(ZENTARA_WINAPI* queryDisplayConfig)(uint32_t flags, uint32_t* pathCount,
                                              DisplayPathInfo* paths, uint32_t* modeCount,
                                              DisplayModeInfo* modes, void* topologyId);
  int32_t(ZENTARA_WINAPI* getAutoRotationState)(uint32_t* state);
  // The unnamed switch for automatic rotation (user32 ordinal 2507).
  int32_t(ZENTARA_WINAPI* switchAutoRotation)(int32_t enable);

  // kernel32. The version query leaves both numbers alone when it fails.
  void (*queryVersion)(uint32_t* major, uint32_t* minor);
  void (*pause)(uint32_t milliseconds);
  // Returns null when the block cannot be had.
  void* (*allocate)(uint32_t bytes);
  void (*release)(void* block);
};

}  // namespace quillet
