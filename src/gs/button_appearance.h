#pragma once
#include <array>
#include <cstdint>
#include <memory>

#include "base/callback.h"
#include "base/persistent.h"

class TBitmap;

namespace gs {

// The pictures a control shows in its visual states.
class GsCtrlAppearance : public TPersistent {
 public:
  // The visual states; they index the state pictures.
  enum StateIndex : int32_t {
    kRaised = 0,
    kSunken = 1,
    kHovered = 2,
    kDisabled = 3,
    kFocused = 4,
    kActive = 5,
  };

  const TClassInfo& ClassInfo() const override;
  // The picture for `state`; it stays owned by the appearance.
  virtual const TBitmap& GetStateBitmap(int32_t state) const = 0;
};

// Reports which state picture changed: (sender, state index).
using GsAppearanceChangeEvent = Callback<TObject*, int32_t>;

// A button's six state pictures. A state without a picture shows another
// one: Sunken, Focused and Active fall back to Hovered, Hovered and Disabled
// to Raised.
class GsButtonAppearance : public GsCtrlAppearance {
 public:
  static constexpr int32_t kStateCount = 6;

  explicit GsButtonAppearance(GsAppearanceChangeEvent onChange);
  ~GsButtonAppearance() override;

  // The slot's own picture; changing it in place is reported like a set.
  TBitmap& Raised() { return *bitmaps_[kRaised]; }
  TBitmap& Sunken() { return *bitmaps_[kSunken]; }
  TBitmap& Hovered() { return *bitmaps_[kHovered]; }
  TBitmap& Disabled() { return *bitmaps_[kDisabled]; }
  TBitmap& Focused() { return *bitmaps_[kFocused]; }
  TBitmap& Active() { return *bitmaps_[kActive]; }
  // Each copies the picture into its slot; the given bitmap stays the caller's.
  void SetRaised(const TBitmap& value) { SetStateBitmap(kRaised, value); }
  void SetSunken(const TBitmap& value) { SetStateBitmap(kSunken, value); }
  void SetHovered(const TBitmap& value) { SetStateBitmap(kHovered, value); }
  void SetDisabled(const TBitmap& value) { SetStateBitmap(kDisabled, value); }
  void SetFocused(const TBitmap& value) { SetStateBitmap(kFocused, value); }
  void SetActive(const TBitmap& value) { SetStateBitmap(kActive, value); }

  // States outside 0..5 are taken as Raised. Never none, but maybe empty.
  const TBitmap& GetStateBitmap(int32_t state) const override;
  // Copies `value` into slot `state`; the owner hears of it twice. Other states are ignored.
  void SetStateBitmap(int32_t state, const TBitmap& value);
  // Copies every slot; the owner hears once per slot.
  void Assign(const TPersistent& source) override;
  const TClassInfo& ClassInfo() const override;

  // The change handler of every slot picture; an unknown sender is reported as index 6.
  void BitmapChanged(TObject* sender);

  GsAppearanceChangeEvent OnChange;

 private:
  std::array<std::unique_ptr<TBitmap>, kStateCount> bitmaps_;
};

}  // namespace gs
