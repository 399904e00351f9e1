#include "rotation/active_configuration.h"

namespace quillet {

bool ActiveConfiguration::Read() {
  if (entries_.getDisplayConfigBufferSizes == nullptr) return false;
  uint32_t pathCapacity = 0;
  uint32_t modeCapacity = 0;
  if (entries_.getDisplayConfigBufferSizes(kQueryOnlyActivePaths, &pathCapacity, &modeCapacity) !=
      kErrorSuccess) {
    return false;
  }
  if (!paths_.Allocate(pathCapacity) || !modes_.Allocate(modeCapacity)) return false;
  if (entries_.queryDisplayConfig == nullptr) return false;

  pathCount_ = pathCapacity;
  modeCount_ = modeCapacity;
  if (entries_.queryDisplayConfig(kQueryOnlyActivePaths, &pathCount_, paths_.Data(), &modeCount_,
                                  modes_.Data(), nullptr) != kErrorSuccess) {
    return false;
  }
  // The query only ever shrinks the counts; anything else would send us past
  // the end of the arrays.
  return pathCount_ <= pathCapacity && modeCount_ <= modeCapacity;
}

}  // namespace quillet
