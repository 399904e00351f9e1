#pragma once
#include <array>
#include <cstdint>
#include <memory>

#include "gs/ctrl_text_effect.h"
#include "gs/text_radiation_effect.h"

namespace gs {

// One text effect per button state. Raised exists from the start; the others
// are made on first request from Raised's settings at that moment (Sunken: only
// its font, shifted by 2 and 2; Disabled: in the grey-text colour) and do not
// follow later changes of Raised. Every change of a state effect is reported
// as a change of this object.
class GsButtonOuterGlowTextEffect : public GsCtrlTextEffect {
 public:
  GsButtonOuterGlowTextEffect();
  ~GsButtonOuterGlowTextEffect() override;

  GsTextRadiationEffect& Raised() const { return *raised_; }
  GsTextRadiationEffect& Sunken() { return StateEffect(kSunken); }
  GsTextRadiationEffect& Hovered() { return StateEffect(kHovered); }
  GsTextRadiationEffect& Disabled() { return StateEffect(kDisabled); }
  GsTextRadiationEffect& Focused() { return StateEffect(kFocused); }
  GsTextRadiationEffect& Active() { return StateEffect(kActive); }
  // Copy the given effect into the state's own (creating it first if needed);
  // the given effect stays the caller's, and the own one changes nothing.
  void SetRaised(const GsTextRadiationEffect& effect);
  void SetSunken(const GsTextRadiationEffect& effect) { SetStateEffect(kSunken, effect); }
  void SetHovered(const GsTextRadiationEffect& effect) { SetStateEffect(kHovered, effect); }
  void SetDisabled(const GsTextRadiationEffect& effect) { SetStateEffect(kDisabled, effect); }
  void SetFocused(const GsTextRadiationEffect& effect) { SetStateEffect(kFocused, effect); }
  void SetActive(const GsTextRadiationEffect& effect) { SetStateEffect(kActive, effect); }
  // Whether the effect of a state (0 to 5) has been made yet.
  bool HasStateEffect(int32_t state) const;

  // States 1 to 5 select their own effect; 0 and anything else select Raised.
  TTextPainter& GetStatePainter(int32_t state) override;

  // Copies Raised, then every other state, making each on both sides.
  void Assign(const TPersistent& source) override;
  const TClassInfo& ClassInfo() const override;

  void ForwardChange(TObject* sender);

 private:
  enum State : int32_t {
    kRaised = 0,
    kSunken,
    kHovered,
    kDisabled,
    kFocused,
    kActive,
    kStateCount
  };

  GsTextRadiationEffect& StateEffect(int32_t state);
  void SetStateEffect(int32_t state, const GsTextRadiationEffect& effect);
  void GiveInitialContent(int32_t state, GsTextRadiationEffect& effect);

  std::unique_ptr<GsTextRadiationEffect> raised_;
  // Sunken, Hovered, Disabled, Focused and Active, by state index (slot 0 stays empty).
  std::array<std::unique_ptr<GsTextRadiationEffect>, kStateCount> lazy_;
};

}  // namespace gs
