#include "rotation/win32/user32_entries.h"

#include <cstddef>

#include "platform/win32/windows_api.h"
#include "rotation/display_records.h"

namespace quillet::win32 {

// The library's record twins must lay out exactly like the platform's own.
static_assert(sizeof(DisplayPathInfo) == sizeof(DISPLAYCONFIG_PATH_INFO));
static_assert(offsetof(DisplayPathInfo, rotation) ==
              offsetof(DISPLAYCONFIG_PATH_INFO, targetInfo) +
                  offsetof(DISPLAYCONFIG_PATH_TARGET_INFO, rotation));
static_assert(sizeof(DisplayPathInfo::rotation) == sizeof(DISPLAYCONFIG_ROTATION));
static_assert(sizeof(DisplayModeInfo) == sizeof(DISPLAYCONFIG_MODE_INFO));
static_assert(alignof(DisplayModeInfo) == alignof(DISPLAYCONFIG_MODE_INFO));
static_assert(kQueryOnlyActivePaths == QDC_ONLY_ACTIVE_PATHS);
static_assert((kUseSuppliedDisplayConfig | kApply | kSaveToDatabase) ==
              (SDC_USE_SUPPLIED_DISPLAY_CONFIG | SDC_APPLY | SDC_SAVE_TO_DATABASE));
static_assert(kAutoRotationEnabled == AR_ENABLED);
static_assert(sizeof(AR_STATE) == sizeof(uint32_t));

namespace {

constexpr WORD kAutoRotationSwitchOrdinal = 2507;

FARPROC Lookup(const wchar_t* module, const char* entry) {
  HMODULE handle = GetModuleHandleW(module);
  return handle != nullptr ? GetProcAddress(handle, entry) : nullptr;
}

}  // namespace

void ResolveUser32Entries(PlatformEntries& entries) {
  using platform::win32::EntryAs;
  using Table = PlatformEntries;
  entries.setDisplayConfig =
      EntryAs<decltype(Table::setDisplayConfig)>(Lookup(L"user32", "SetDisplayConfig"));
  entries.getDisplayConfigBufferSizes = EntryAs<decltype(Table::getDisplayConfigBufferSizes)>(
      Lookup(L"user32", "GetDisplayConfigBufferSizes"));
  entries.queryDisplayConfig =
      EntryAs<decltype(Table::queryDisplayConfig)>(Lookup(L"user32", "QueryDisplayConfig"));
  entries.getAutoRotationState =
      EntryAs<decltype(Table::getAutoRotationState)>(Lookup(L"user32.dll", "GetAutoRotationState"));
  entries.switchAutoRotation = EntryAs<decltype(Table::switchAutoRotation)>(
      Lookup(L"user32.dll", MAKEINTRESOURCEA(kAutoRotationSwitchOrdinal)));
}

}  // namespace quillet::win32
