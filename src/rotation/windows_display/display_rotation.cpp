#include "rotation/windows_display/display_rotation.h"

#include "rotation/windows_display/active_configuration.h"
#include "rotation/windows_display/display_records.h"
#include "rotation/windows_display/path_turn.h"
#include "rotation/windows_display/source_places.h"
#include "rotation/windows_display/version_gate.h"

namespace quillet {
namespace {

constexpr uint32_t kApplyAndSave = kUseSuppliedDisplayConfig | kApply | kSaveToDatabase;
// Gives the platform time to turn the picture before the caller looks again.
constexpr uint32_t kSettleMilliseconds = 250;

bool IsTurned(int32_t code) {
  return code == kRotation90 || code == kRotation180 || code == kRotation270;
}

enum class Submission { kNotMade, kRefused, kAccepted };

// Reads the active configuration, turns every path to `code` and hands it to
// the platform with `flags`. Allowing the platform changes also means asking
// for desktops of the new shape, laid side by side as they were.
Submission SubmitTurn(const PlatformEntries& entries, int32_t code, uint32_t flags) {
  ActiveConfiguration configuration(entries);
  if (!configuration.Read()) return Submission::kNotMade;
  const bool reshape = (flags & kAllowChanges) != 0;
  SourcePlaces places(entries);
  if (reshape && !places.Note(configuration.Modes(), configuration.ModeCount()))
    return Submission::kNotMade;
  TurnPaths(configuration.Paths(), configuration.PathCount(), configuration.Modes(),
            configuration.ModeCount(), static_cast<uint32_t>(code), reshape);
  if (reshape && !places.Rearrange(configuration.Modes(), configuration.ModeCount()))
    return Submission::kNotMade;
  if (entries.setDisplayConfig == nullptr) return Submission::kNotMade;
  return entries.setDisplayConfig(configuration.PathCount(), configuration.Paths(),
                                  configuration.ModeCount(), configuration.Modes(),
                                  flags) == kErrorSuccess
             ? Submission::kAccepted
             : Submission::kRefused;
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
  // Many drivers refuse a turned path whose desktop keeps its old shape as
  // supplied; the platform may then adapt the modes itself.
  Submission submission = SubmitTurn(entries, wanted, kApplyAndSave);
  if (submission == Submission::kRefused) {
    submission = SubmitTurn(entries, wanted, kApplyAndSave | kAllowChanges);
  }
  if (submission != Submission::kAccepted) return 0;
  if (entries.pause != nullptr) entries.pause(kSettleMilliseconds);
  return 1;
}

}  // namespace quillet
