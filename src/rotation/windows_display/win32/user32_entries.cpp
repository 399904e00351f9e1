#include "rotation/windows_display/win32/user32_entries.h"

#include <windows.h>

#include <cstddef>

#include "rotation/windows_display/display_records.h"

namespace quillet::win32 {

// The library's record twins must lay out exactly like the platform's own.
static_assert(sizeof(DisplayPathInfo) == sizeof(DISPLAYCONFIG_PATH_INFO));
static_assert(offsetof(DisplayPathInfo, rotation) ==
              offsetof(DISPLAYCONFIG_PATH_INFO, targetInfo) +
                  offsetof(DISPLAYCONFIG_PATH_TARGET_INFO, rotation));
static_assert(sizeof(DisplayPathInfo::rotation) == sizeof(DISPLAYCONFIG_ROTATION));
static_assert(offsetof(DisplayPathInfo, sourceModeIndex) ==
              offsetof(DISPLAYCONFIG_PATH_INFO, sourceInfo) +
                  offsetof(DISPLAYCONFIG_PATH_SOURCE_INFO, modeInfoIdx));
static_assert(sizeof(DisplayModeInfo) == sizeof(DISPLAYCONFIG_MODE_INFO));
static_assert(offsetof(DisplayModeInfo, width) == offsetof(DISPLAYCONFIG_MODE_INFO, sourceMode) +
                                                      offsetof(DISPLAYCONFIG_SOURCE_MODE, width));
static_assert(offsetof(DisplayModeInfo, height) == offsetof(DISPLAYCONFIG_MODE_INFO, sourceMode) +
                                                       offsetof(DISPLAYCONFIG_SOURCE_MODE, height));
static_assert(offsetof(DisplayModeInfo, x) == offsetof(DISPLAYCONFIG_MODE_INFO, sourceMode) +
                                                  offsetof(DISPLAYCONFIG_SOURCE_MODE, position) +
                                                  offsetof(POINTL, x));
static_assert(offsetof(DisplayModeInfo, y) == offsetof(DISPLAYCONFIG_MODE_INFO, sourceMode) +
                                                  offsetof(DISPLAYCONFIG_SOURCE_MODE, position) +
                                                  offsetof(POINTL, y));
static_assert(kModeInfoTypeSource == DISPLAYCONFIG_MODE_INFO_TYPE_SOURCE);
static_assert(kAllowChanges == SDC_ALLOW_CHANGES);
static_assert(kErrorInsufficientBuffer == ERROR_INSUFFICIENT_BUFFER);
static_assert(alignof(DisplayModeInfo) == alignof(DISPLAYCONFIG_MODE_INFO));
static_assert(kQueryOnlyActivePaths == QDC_ONLY_ACTIVE_PATHS);
static_assert((kUseSuppliedDisplayConfig | kApply | kSaveToDatabase) ==
              (SDC_USE_SUPPLIED_DISPLAY_CONFIG | SDC_APPLY | SDC_SAVE_TO_DATABASE));
static_assert(kAutoRotationEnabled == AR_ENABLED);
static_assert(sizeof(AR_STATE) == sizeof(uint32_t));

namespace {

constexpr WORD kAutoRotationSwitchOrdinal = 2507;

// Fills a slot of the table with an entry of user32, or with null.
template <typename Function>
void Resolve(Function& slot, HMODULE user32, const char* entry) {
  const FARPROC found = user32 != nullptr ? GetProcAddress(user32, entry) : nullptr;
  slot = reinterpret_cast<Function>(reinterpret_cast<void*>(found));
}

}  // namespace

void ResolveUser32Entries(PlatformEntries& entries) {
  const HMODULE user32 = GetModuleHandleW(L"user32.dll");
  Resolve(entries.setDisplayConfig, user32, "SetDisplayConfig");
  Resolve(entries.getDisplayConfigBufferSizes, user32, "GetDisplayConfigBufferSizes");
  Resolve(entries.queryDisplayConfig, user32, "QueryDisplayConfig");
  Resolve(entries.getAutoRotationState, user32, "GetAutoRotationState");
  Resolve(entries.switchAutoRotation, user32, MAKEINTRESOURCEA(kAutoRotationSwitchOrdinal));
}

}  // namespace quillet::win32
