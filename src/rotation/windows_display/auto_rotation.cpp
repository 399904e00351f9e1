#include "rotation/windows_display/auto_rotation.h"

#include "rotation/windows_display/display_records.h"
#include "rotation/windows_display/version_gate.h"

namespace quillet {
namespace {

// Not a state the platform reports: a call that claims success without
// writing the state does not read as enabled.
constexpr uint32_t kStateNotWritten = 0xFFFFFFFFu;

}  // namespace

int32_t GetAutoRotationOn(const PlatformEntries& entries) {
  if (!PassesVersionGate(entries)) return 0;
  if (entries.getAutoRotationState == nullptr) return 0;
  uint32_t state = kStateNotWritten;
  if (entries.getAutoRotationState(&state) != 1) return 0;
  return state == kAutoRotationEnabled ? 1 : 0;
}

int32_t SetAutoRotation(const PlatformEntries& entries, int32_t enable) {
  if (!PassesVersionGate(entries)) return 0;
  // Whole-value comparison: any argument other than 0 or 1 always reaches
  // the switch, unchanged.
  if (enable == GetAutoRotationOn(entries)) return 1;
  if (entries.switchAutoRotation == nullptr) return 0;
  return entries.switchAutoRotation(enable) == 1 ? 1 : 0;
}

}  // namespace quillet
