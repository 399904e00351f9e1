#include "gs/button_appearance.h"

#include <utility>

#include "base/bitmap.h"

namespace gs {

const TClassInfo& GsCtrlAppearance::ClassInfo() const {
  static const TClassInfo info{"GsCtrlAppearance", "common", {}, &TPersistent::ClassInfo()};
  return info;
}

GsButtonAppearance::GsButtonAppearance(GsAppearanceChangeEvent onChange)
    : OnChange(std::move(onChange)) {
  for (auto& slot : bitmaps_) {
    slot = std::make_unique<TBitmap>();
    slot->OnChange = TNotifyEvent(this, &GsButtonAppearance::BitmapChanged);
  }
}

GsButtonAppearance::~GsButtonAppearance() {
  for (auto& slot : bitmaps_) slot.reset();
}

const TBitmap& GsButtonAppearance::GetStateBitmap(int32_t state) const {
  auto index = static_cast<uint32_t>(state);
  if (index >= kStateCount) index = kRaised;
  const TBitmap& own = *bitmaps_[index];
  if (!own.Empty()) return own;
  switch (index) {
    case kSunken:
    case kFocused:
    case kActive:
      return GetStateBitmap(kHovered);
    case kHovered:
    case kDisabled:
      return GetStateBitmap(kRaised);
    default:
      return own;  // Raised, even when empty
  }
}

void GsButtonAppearance::SetStateBitmap(int32_t state, const TBitmap& value) {
  if (static_cast<uint32_t>(state) >= kStateCount) return;
  bitmaps_[static_cast<size_t>(state)]->Assign(value);
  OnChange(this, state);
}

void GsButtonAppearance::Assign(const TPersistent& source) {
  const auto* appearance = dynamic_cast<const GsButtonAppearance*>(&source);
  if (appearance == nullptr) return TPersistent::Assign(source);
  for (int32_t i = 0; i < kStateCount; ++i) bitmaps_[i]->Assign(*appearance->bitmaps_[i]);
}

const TClassInfo& GsButtonAppearance::ClassInfo() const {
  static constexpr std::array<TPropertyInfo, kStateCount> kProperties{{
      {"Raised", "TBitmap"},
      {"Sunken", "TBitmap"},
      {"Hovered", "TBitmap"},
      {"Disabled", "TBitmap"},
      {"Focused", "TBitmap"},
      {"Active", "TBitmap"},
  }};
  static const TClassInfo info{"GsButtonAppearance", "GsWidget", kProperties,
                               &GsCtrlAppearance::ClassInfo()};
  return info;
}

void GsButtonAppearance::BitmapChanged(TObject* sender) {
  int32_t index = 0;
  while (index < kStateCount && bitmaps_[index].get() != sender) ++index;
  OnChange(this, index);
}

}  // namespace gs
