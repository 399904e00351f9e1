#include "gs/text_radiation_effect.h"

#include <array>
#include <utility>

#include "base/font.h"
#include "gs/outer_glow_text_effect_painter.h"

namespace gs {

GsTextRadiationEffect::GsTextRadiationEffect(TNotifyEvent onChange)
    : font_(std::make_unique<TFont>()),
      glowPainter_(TOuterGlowTextPainter::Create()),
      effectPainter_(
          std::make_unique<GsOuterGlowTextEffectPainter>(*font_, offset_, *glowPainter_)),
      onChange_(std::move(onChange)) {}

GsTextRadiationEffect::~GsTextRadiationEffect() {
  font_.reset();
  glowPainter_.reset();  // through the painter's Release
  effectPainter_.reset();
}

template <typename Value, typename Setter>
void GsTextRadiationEffect::Update(Value current, Value value, Setter store) {
  if (current == value) return;
  store(value);
  Change();
}

uint8_t GsTextRadiationEffect::Opacity() const {
  return glowPainter_->Opacity();
}
void GsTextRadiationEffect::SetOpacity(uint8_t value) {
  Update(Opacity(), value, [this](uint8_t v) { glowPainter_->SetOpacity(v); });
}

uint32_t GsTextRadiationEffect::Radius() const {
  return static_cast<uint32_t>(glowPainter_->Radius());
}
void GsTextRadiationEffect::SetRadius(uint32_t value) {
  Update(Radius(), value, [this](uint32_t v) { glowPainter_->SetRadius(static_cast<int32_t>(v)); });
}

uint8_t GsTextRadiationEffect::Spread() const {
  return glowPainter_->Spread();
}
void GsTextRadiationEffect::SetSpread(uint8_t value) {
  Update(Spread(), value, [this](uint8_t v) { glowPainter_->SetSpread(v); });
}

TColor GsTextRadiationEffect::Color() const {
  return glowPainter_->Color();
}
void GsTextRadiationEffect::SetColor(TColor value) {
  Update(Color(), value, [this](TColor v) { glowPainter_->SetColor(v); });
}

int32_t GsTextRadiationEffect::RadiationX() const {
  return glowPainter_->RadiationX();
}
void GsTextRadiationEffect::SetRadiationX(int32_t value) {
  Update(RadiationX(), value, [this](int32_t v) { glowPainter_->SetRadiationX(v); });
}

int32_t GsTextRadiationEffect::RadiationY() const {
  return glowPainter_->RadiationY();
}
void GsTextRadiationEffect::SetRadiationY(int32_t value) {
  Update(RadiationY(), value, [this](int32_t v) { glowPainter_->SetRadiationY(v); });
}

void GsTextRadiationEffect::SetOffsetX(int32_t value) {
  Update(offset_.X, value, [this](int32_t v) { offset_.X = v; });
}

void GsTextRadiationEffect::SetOffsetY(int32_t value) {
  Update(offset_.Y, value, [this](int32_t v) { offset_.Y = v; });
}

void GsTextRadiationEffect::SetFont(const TFont& font) {
  if (&font == font_.get()) return;
  font_->Assign(font);
  Change();
}

TTextPainter& GsTextRadiationEffect::GetPainter() {
  return *effectPainter_;
}

void GsTextRadiationEffect::Assign(const TPersistent& source) {
  const auto* other = dynamic_cast<const GsTextRadiationEffect*>(&source);
  if (other == nullptr) return TPersistent::Assign(source);
  TOuterGlowTextPainter& to = *glowPainter_;
  const TOuterGlowTextPainter& from = *other->glowPainter_;
  to.SetOpacity(from.Opacity());
  to.SetRadius(from.Radius());
  to.SetSpread(from.Spread());
  to.SetColor(from.Color());
  offset_ = other->offset_;
  to.SetRadiationX(from.RadiationX());
  to.SetRadiationY(from.RadiationY());
  font_->Assign(*other->font_);
  Change();
}

const TClassInfo& GsTextRadiationEffect::ClassInfo() const {
  static constexpr std::array<TPropertyInfo, 9> kProperties{{
      {"Opacity", "Byte"},
      {"Radius", "Cardinal"},
      {"Spread", "Byte"},
      {"Color", "TColor"},
      {"RadiationX", "int"},
      {"RadiationY", "int"},
      {"OffsetX", "int"},
      {"OffsetY", "int"},
      {"Font", "TFont"},
  }};
  static const TClassInfo info{"GsTextRadiationEffect", "GsWidget", kProperties,
                               &TPersistent::ClassInfo()};
  return info;
}

void GsTextRadiationEffect::Change() {
  onChange_(this);
}

}  // namespace gs
