#pragma once
#include <cstdint>

#include "rotation/windows_display/platform_entries.h"

namespace quillet {

// 1 when automatic rotation is enabled; 0 when it is not, when its state
// cannot be read, or before Windows 8.
int32_t GetAutoRotationOn(const PlatformEntries& entries);

// Switches automatic rotation on (1) or off (0). Returns 1 when it already
// was in that state or the platform's switch reported success, 0 otherwise.
int32_t SetAutoRotation(const PlatformEntries& entries, int32_t enable);

}  // namespace quillet
