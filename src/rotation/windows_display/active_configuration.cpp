#include "rotation/windows_display/active_configuration.h"

namespace quillet {

bool ActiveConfiguration::Read() {
  for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
    const int32_t result = Query();
    if (result == kErrorSuccess) return true;
    if (result != kErrorInsufficientBuffer) return false;
  }
  return false;
}

int32_t ActiveConfiguration::Query() {
  pathCount_ = 0;
  modeCount_ = 0;
  if (entries_.getDisplayConfigBufferSizes == nullptr) return -1;
  uint32_t pathCapacity = 0;
  uint32_t modeCapacity = 0;
  if (entries_.getDisplayConfigBufferSizes(kQueryOnlyActivePaths, &pathCapacity, &modeCapacity) !=
      kErrorSuccess) {
    return -1;
  }
  if (!paths_.Allocate(pathCapacity) || !modes_.Allocate(modeCapacity)) return -1;
  if (entries_.queryDisplayConfig == nullptr) return -1;

  uint32_t pathCount = pathCapacity;
  uint32_t modeCount = modeCapacity;
  const int32_t result = entries_.queryDisplayConfig(
      kQueryOnlyActivePaths, &pathCount, paths_.Data(), &modeCount, modes_.Data(), nullptr);
  if (result != kErrorSuccess) return result;
  // The query only ever shrinks the counts; anything else would send us past
  // the end of the arrays.
  if (pathCount > pathCapacity || modeCount > modeCapacity) return -1;
  pathCount_ = pathCount;
  modeCount_ = modeCount;
  return kErrorSuccess;
}

}  // namespace quillet
