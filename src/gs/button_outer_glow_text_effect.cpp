#include "gs/button_outer_glow_text_effect.h"

#include "base/font.h"

namespace gs {

GsButtonOuterGlowTextEffect::GsButtonOuterGlowTextEffect()
    : raised_(std::make_unique<GsTextRadiationEffect>(
          TNotifyEvent(this, &GsButtonOuterGlowTextEffect::ForwardChange))) {}

GsButtonOuterGlowTextEffect::~GsButtonOuterGlowTextEffect() {
  raised_.reset();
  for (auto& effect : lazy_) effect.reset();
}

GsTextRadiationEffect& GsButtonOuterGlowTextEffect::StateEffect(int32_t state) {
  if (state == kRaised) return *raised_;
  std::unique_ptr<GsTextRadiationEffect>& slot = lazy_[static_cast<size_t>(state)];
  if (slot == nullptr) {
    slot = std::make_unique<GsTextRadiationEffect>(
        TNotifyEvent(this, &GsButtonOuterGlowTextEffect::ForwardChange));
    GiveInitialContent(state, *slot);
  }
  return *slot;
}

void GsButtonOuterGlowTextEffect::GiveInitialContent(int32_t state, GsTextRadiationEffect& effect) {
  if (state == kSunken) {
    // A pressed caption keeps the glow defaults and only borrows the font.
    effect.SetFont(raised_->Font());
    effect.SetOffsetX(2);
    effect.SetOffsetY(2);
    return;
  }
  effect.Assign(*raised_);
  if (state == kDisabled) effect.Font().SetColor(clGrayText);
}

bool GsButtonOuterGlowTextEffect::HasStateEffect(int32_t state) const {
  if (state == kRaised) return true;
  return state > kRaised && state < kStateCount && lazy_[static_cast<size_t>(state)] != nullptr;
}

void GsButtonOuterGlowTextEffect::SetRaised(const GsTextRadiationEffect& effect) {
  SetStateEffect(kRaised, effect);
}

void GsButtonOuterGlowTextEffect::SetStateEffect(int32_t state,
                                                 const GsTextRadiationEffect& effect) {
  if (state != kRaised && &effect == lazy_[static_cast<size_t>(state)].get()) return;
  if (state == kRaised && &effect == raised_.get()) return;
  StateEffect(state).Assign(effect);
}

TTextPainter& GsButtonOuterGlowTextEffect::GetStatePainter(int32_t state) {
  const auto index = static_cast<uint32_t>(state);
  return StateEffect(index < kStateCount ? static_cast<int32_t>(index) : kRaised).GetPainter();
}

void GsButtonOuterGlowTextEffect::Assign(const TPersistent& source) {
  const auto* other = dynamic_cast<const GsButtonOuterGlowTextEffect*>(&source);
  if (other == nullptr) return TPersistent::Assign(source);
  raised_->Assign(*other->raised_);
  // Fetching through the getters makes the source's missing state effects too,
  // as copying every state promises.
  auto& from = const_cast<GsButtonOuterGlowTextEffect&>(*other);
  for (int32_t state = kSunken; state < kStateCount; ++state) {
    GsTextRadiationEffect& to = StateEffect(state);
    to.Assign(from.StateEffect(state));
  }
}

const TClassInfo& GsButtonOuterGlowTextEffect::ClassInfo() const {
  static constexpr std::array<TPropertyInfo, 6> kProperties{{
      {"Raised", "GsTextRadiationEffect"},
      {"Sunken", "GsTextRadiationEffect"},
      {"Hovered", "GsTextRadiationEffect"},
      {"Disabled", "GsTextRadiationEffect"},
      {"Focused", "GsTextRadiationEffect"},
      {"Active", "GsTextRadiationEffect"},
  }};
  static const TClassInfo info{"GsButtonOuterGlowTextEffect", "GsWidget", kProperties,
                               &GsCtrlTextEffect::ClassInfo()};
  return info;
}

void GsButtonOuterGlowTextEffect::ForwardChange(TObject* /*sender*/) {
  Change();
}

}  // namespace gs
