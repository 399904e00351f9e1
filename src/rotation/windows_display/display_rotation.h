#pragma once
#include <cstdint>

#include "rotation/windows_display/platform_entries.h"

namespace quillet {

// The rotation code (1 to 4) of the first active display path; 1 when there
// is no active path or the platform reports an unknown code; -1 when the
// orientation cannot be read or the system is older than Windows 8.
int32_t GetAngle(const PlatformEntries& entries);

// Turns every active display path to one rotation code (anything but 2, 3
// and 4 means 1), applied at once and saved by the platform. A configuration
// the platform refuses as supplied is offered once more with the desktops
// reshaped and the platform allowed to adapt the modes. Returns 1 when the
// platform took either, 0 otherwise.
int32_t SetAngle(const PlatformEntries& entries, int32_t code);

}  // namespace quillet
