#pragma once
#include "rotation/windows_display/platform_entries.h"

namespace quillet {

// True on Windows 6.2 (Windows 8) and later. A failed version query reads as
// 0.0 and fails.
bool PassesVersionGate(const PlatformEntries& entries);

}  // namespace quillet
