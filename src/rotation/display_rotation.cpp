#include "rotation/display_rotation.h"

#include "rotation/active_configuration.h"
#include "rotation/display_records.h"
#include "rotation/version_gate.h"

namespace quillet {
namespace {

constexpr uint32_t kApplyAndSave = kUseSuppliedDisplayConfig | kApply | kSaveToDatabase;
// Gives the platform time to turn the picture before the caller looks again.
constexpr uint32_t kSettleMilliseconds = 250;

bool IsTurned(int32_t code) {
  return code == kRotation90 || code == kRotation180 || code == kRotation270;
}

}  // namespace

int32_t GetAngle(const PlatformEntries& entries) {
  if (!PassesVersionGate(entries)) return -1;
  ActiveConfiguration configuration(entries);
  if (!configuration.Read()) return -1;
  if (configuration.PathCount() == 0) return kRotationIdentity;
  const auto code = static_cast<int32_t>(configuration.Paths()[0].rotation);
  return IsTurned(code) ? code : kRotationIdentity;
}

int32_t SetAngle(const PlatformEntries& entries, int32_t code) {
  const int32_t wanted = IsTurned(code) ? code : kRotationIdentity;
  if (!PassesVersionGate(entries)) return 0;
  ActiveConfiguration configuration(entries);
  if (!configuration.Read()) return 0;

  DisplayPathInfo* paths = configuration.Paths();
  for (uint32_t i = 0; i < configuration.PathCount(); ++i) {
    paths[i].rotation = static_cast<uint32_t>(wanted);
  }
  if (entries.setDisplayConfig == nullptr) return 0;
  if (entries.setDisplayConfig(configuration.PathCount(), paths, configuration.ModeCount(),
                               configuration.Modes(), kApplyAndSave) != kErrorSuccess) {
    return 0;
  }
  if (entries.pause != nullptr) entries.pause(kSettleMilliseconds);
  return 1;
}

}  // namespace quillet
