#include "rotation/windows_display/source_places.h"

namespace quillet {
namespace {

constexpr int64_t kLowest = -2147483647 - 1;
constexpr int64_t kHighest = 2147483647;

bool IsSource(const DisplayModeInfo& mode) {
  return mode.infoType == kModeInfoTypeSource;
}

bool Fits(int64_t coordinate) {
  return coordinate >= kLowest && coordinate <= kHighest;
}

}  // namespace

bool SourcePlaces::Note(const DisplayModeInfo* modes, uint32_t modeCount) {
  count_ = 0;
  for (uint32_t i = 0; i < modeCount; ++i) count_ += IsSource(modes[i]) ? 1 : 0;
  if (!columns_.Allocate(count_) || !rows_.Allocate(count_)) return false;
  uint32_t n = 0;
  for (uint32_t i = 0; i < modeCount; ++i) {
    if (!IsSource(modes[i])) continue;
    columns_.Data()[n] = {{modes[i].x, modes[i].width}, 0, 0};
    rows_.Data()[n] = {{modes[i].y, modes[i].height}, 0, 0};
    ++n;
  }
  return true;
}

bool SourcePlaces::Rearrange(DisplayModeInfo* modes, uint32_t modeCount) {
  SpanMove* columns = columns_.Data();
  SpanMove* rows = rows_.Data();
  uint32_t origin = count_;
  uint32_t n = 0;
  for (uint32_t i = 0; i < modeCount && n < count_; ++i) {
    if (!IsSource(modes[i])) continue;
    columns[n].length = modes[i].width;
    rows[n].length = modes[i].height;
    if (origin == count_ && columns[n].before.start == 0 && rows[n].before.start == 0) origin = n;
    ++n;
  }
  ArrangeSpans(columns, count_);
  ArrangeSpans(rows, count_);
  // The platform takes the display at the origin for the primary one.
  const int64_t left = origin < count_ ? columns[origin].start : 0;
  const int64_t top = origin < count_ ? rows[origin].start : 0;
  for (n = 0; n < count_; ++n) {
    if (!Fits(columns[n].start - left) || !Fits(rows[n].start - top)) return false;
  }
  n = 0;
  for (uint32_t i = 0; i < modeCount && n < count_; ++i) {
    if (!IsSource(modes[i])) continue;
    modes[i].x = static_cast<int32_t>(columns[n].start - left);
    modes[i].y = static_cast<int32_t>(rows[n].start - top);
    ++n;
  }
  return true;
}

}  // namespace quillet
