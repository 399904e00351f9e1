#pragma once
#include <cstdint>

#include "rotation/display_records.h"
#include "rotation/platform_entries.h"
#include "rotation/record_array.h"

namespace quillet {

// The active display paths and modes, read afresh into two heap arrays that
// are freed with this object.
class ActiveConfiguration {
 public:
  explicit ActiveConfiguration(const PlatformEntries& entries)
      : entries_(entries), paths_(entries), modes_(entries) {}

  // True when the platform reported the configuration. There is no second
  // attempt: one that changes between the size query and the query (the
  // query then reports too small a buffer) is a failed reading.
  bool Read();

  uint32_t PathCount() const { return pathCount_; }
  DisplayPathInfo* Paths() const { return paths_.Data(); }
  uint32_t ModeCount() const { return modeCount_; }
  DisplayModeInfo* Modes() const { return modes_.Data(); }

 private:
  const PlatformEntries& entries_;
  uint32_t pathCount_ = 0;
  uint32_t modeCount_ = 0;
  RecordArray<DisplayPathInfo> paths_;
  RecordArray<DisplayModeInfo> modes_;
};

}  // namespace quillet
