#pragma once
#include <cstdint>

#include "rotation/windows_display/display_records.h"
#include "rotation/windows_display/platform_entries.h"
#include "rotation/windows_display/record_array.h"

namespace quillet {

// The active display paths and modes, read afresh into two heap arrays that
// are freed with this object.
class ActiveConfiguration {
 public:
  explicit ActiveConfiguration(const PlatformEntries& entries)
      : entries_(entries), paths_(entries), modes_(entries) {}

  // True when the platform reported the configuration. A configuration that
  // grows between the size query and the query (a display being attached)
  // makes the query report too small a buffer; the sizes are then asked
  // afresh, up to kReadAttempts queries in all.
  bool Read();

  static constexpr int kReadAttempts = 3;

  uint32_t PathCount() const { return pathCount_; }
  DisplayPathInfo* Paths() const { return paths_.Data(); }
  uint32_t ModeCount() const { return modeCount_; }
  DisplayModeInfo* Modes() const { return modes_.Data(); }

 private:
  const PlatformEntries& entries_;
  uint32_t pathCount_ = 0;
  uint32_t modeCount_ = 0;
  // One query into arrays of the sizes the platform reports just before it;
  // the platform's result, or -1 when no query could be made.
  int32_t Query();

  RecordArray<DisplayPathInfo> paths_;
  RecordArray<DisplayModeInfo> modes_;
};

}  // namespace quillet
