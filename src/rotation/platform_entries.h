#pragma once
#include <cstdint>

#include "rotation/display_records.h"

// The user32 entries use the platform's calling convention, which differs
// from the default only on 32-bit x86.
#if defined(__i386__)
#define QUILLET_PLATFORM_CALL __attribute__((stdcall))
#else
#define QUILLET_PLATFORM_CALL
#endif

namespace quillet {

// Everything the library needs from the operating system. The DLL fills it
// from kernel32 and user32; tests fill it with fakes. A null entry is a
// missing one.
struct PlatformEntries {
  // user32, looked up once when the library is loaded.
  int32_t(QUILLET_PLATFORM_CALL* setDisplayConfig)(uint32_t pathCount, DisplayPathInfo* paths,
                                                   uint32_t modeCount, DisplayModeInfo* modes,
                                                   uint32_t flags);
  int32_t(QUILLET_PLATFORM_CALL* getDisplayConfigBufferSizes)(uint32_t flags, uint32_t* pathCount,
                                                              uint32_t* modeCount);
  int32_t(QUILLET_PLATFORM_CALL* queryDisplayConfig)(uint32_t flags, uint32_t* pathCount,
                                                     DisplayPathInfo* paths, uint32_t* modeCount,
                                                     DisplayModeInfo* modes, void* topologyId);
  int32_t(QUILLET_PLATFORM_CALL* getAutoRotationState)(uint32_t* state);
  // The unnamed switch for automatic rotation (user32 ordinal 2507).
  int32_t(QUILLET_PLATFORM_CALL* switchAutoRotation)(int32_t enable);

  // kernel32. The version query leaves both numbers alone when it fails.
  void (*queryVersion)(uint32_t* major, uint32_t* minor);
  void (*pause)(uint32_t milliseconds);
  // Returns null when the block cannot be had.
  void* (*allocate)(uint32_t bytes);
  void (*release)(void* block);
};

}  // namespace quillet
