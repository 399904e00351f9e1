#pragma once
#include <cstdint>
#include <memory>

#include "gs/button_appearance.h"
#include "gs/button_outer_glow_text_effect.h"
#include "gs/wdg_custom_control.h"

namespace gs {

// An image button: it shows the picture of its visual state (raised,
// sunken, hovered or disabled) and reports a left click through OnClick.
class WdgButton : public WdgCustomControl {
 public:
  WdgButton();
  ~WdgButton() override;

  GsButtonAppearance& Appearance() { return *appearance_; }
  const GsButtonAppearance& Appearance() const { return *appearance_; }
  // The caption's look in each visual state.
  GsButtonOuterGlowTextEffect& TextEffect() { return *textEffect_; }
  // The visual state chosen at the last paint.
  int32_t State() const { return state_; }
  // The left button went down on this button and has not come up.
  bool Pressed() const { return pressed_; }

  // The painter of the text effect for `state`; it stays the text effect's.
  TTextPainter* GetTextPainter(int32_t state) override;

  // The appearance's change handler: the button takes the size of its Raised picture.
  void AppearanceChanged(TObject* sender, int32_t index);

 protected:
  void DoPaint(TBitmap& target, const TRect& rect) override;
  void DoMouseMove(TShiftState shift, int32_t x, int32_t y) override;
  void DoMouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  void DoMouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  void DoMouseLeave() override;

 private:
  int32_t ChooseState() const;

  std::unique_ptr<GsButtonAppearance> appearance_;
  std::unique_ptr<GsButtonOuterGlowTextEffect> textEffect_;
  int32_t state_ = GsCtrlAppearance::kRaised;
  bool pressed_ = false;
};

}  // namespace gs
