#include "gs/wdg_button.h"

#include "base/bitmap.h"

namespace gs {

WdgButton::WdgButton()
    : appearance_(std::make_unique<GsButtonAppearance>(
          GsAppearanceChangeEvent(this, &WdgButton::AppearanceChanged))),
      textEffect_(std::make_unique<GsButtonOuterGlowTextEffect>()) {}

WdgButton::~WdgButton() = default;

TTextPainter* WdgButton::GetTextPainter(int32_t state) {
  return &textEffect_->GetStatePainter(state);
}

void WdgButton::AppearanceChanged(TObject* /*sender*/, int32_t index) {
  if (index != GsCtrlAppearance::kRaised) return;
  SetWidth(appearance_->Raised().Width());
  SetHeight(appearance_->Raised().Height());
}

int32_t WdgButton::ChooseState() const {
  if (!Enabled()) return GsCtrlAppearance::kDisabled;
  if (Hovered()) return pressed_ ? GsCtrlAppearance::kSunken : GsCtrlAppearance::kHovered;
  return GsCtrlAppearance::kRaised;
}

void WdgButton::DoPaint(TBitmap& target, const TRect& rect) {
  state_ = ChooseState();
  const TBitmap& picture = appearance_->GetStateBitmap(state_);
  if (Caption().empty()) {
    DrawBitmap(target, rect, picture);
    return;
  }
  // A copy, so that a caption never lands on the stored picture.
  TBitmap captioned;
  captioned.Assign(picture);
  DrawCaption(captioned, state_);
  DrawBitmap(target, rect, captioned);
}

void WdgButton::DoMouseMove(TShiftState /*shift*/, int32_t /*x*/, int32_t /*y*/) {
  const int32_t shown = pressed_ ? GsCtrlAppearance::kSunken : GsCtrlAppearance::kHovered;
  if (state_ != shown) Invalidate();
}

void WdgButton::DoMouseDown(TMouseButton button, TShiftState /*shift*/, int32_t /*x*/,
                            int32_t /*y*/) {
  // Only the left button presses; any other one lets go of a press.
  const bool press = button == mbLeft;
  if (pressed_ == press) return;
  pressed_ = press;
  Invalidate();
}

void WdgButton::DoMouseUp(TMouseButton /*button*/, TShiftState /*shift*/, int32_t /*x*/,
                          int32_t /*y*/) {
  if (!pressed_) return;
  pressed_ = false;
  Invalidate();
}

void WdgButton::DoMouseLeave() {
  if (state_ == GsCtrlAppearance::kRaised) return;
  state_ = GsCtrlAppearance::kRaised;
  Invalidate();
}

}  // namespace gs
