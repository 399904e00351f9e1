#pragma once
#include <cstdint>

#include "rotation/layout/span_arrangement.h"
#include "rotation/windows_display/display_records.h"
#include "rotation/windows_display/platform_entries.h"
#include "rotation/windows_display/record_array.h"

namespace quillet {

// Where the source modes (the displays' desktops) lay before a turn
// reshaped some of them, so that they can be laid side by side again: left
// as they are, displays that were beside each other would overlap or part,
// and the platform would pick a layout of its own and save it.
class SourcePlaces {
 public:
  explicit SourcePlaces(const PlatformEntries& entries) : columns_(entries), rows_(entries) {}

  // Notes every source mode's place and size; false when the heap refuses
  // the records.
  bool Note(const DisplayModeInfo* modes, uint32_t modeCount);

  // Moves the same source modes, at their new sizes, so that they keep their
  // order and gaps along each axis (ArrangeSpans), and the one at the origin
  // (the primary display's) stays there. False, with nothing moved, when a
  // place would not fit the platform's coordinates.
  bool Rearrange(DisplayModeInfo* modes, uint32_t modeCount);

 private:
  RecordArray<SpanMove> columns_;
  RecordArray<SpanMove> rows_;
  uint32_t count_ = 0;
};

}  // namespace quillet
