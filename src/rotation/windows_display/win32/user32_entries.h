#pragma once
#include "rotation/windows_display/platform_entries.h"

namespace quillet::win32 {

// Looks the five user32 entries up in the user32 the process has already
// loaded (the library never loads it itself). A failed lookup leaves its
// entry null.
void ResolveUser32Entries(PlatformEntries& entries);

}  // namespace quillet::win32
