#pragma once
#include <cstdint>
#include <memory>

#include "base/callback.h"
#include "base/color.h"
#include "base/geometry.h"
#include "base/persistent.h"
#include "effects/outer_glow_text_painter.h"

class TFont;
class TTextPainter;

namespace gs {

class GsOuterGlowTextEffectPainter;

// The look of a caption in one state: glow settings, font and offset. The six
// glow settings live in the glow painter itself; the painter handed out by
// GetPainter applies the font and the offset and leaves the glow to it.
class GsTextRadiationEffect : public TPersistent {
 public:
  explicit GsTextRadiationEffect(TNotifyEvent onChange = {});
  ~GsTextRadiationEffect() override;

  // Each setter reports a change only when the value differs; none clamps.
  uint8_t Opacity() const;
  void SetOpacity(uint8_t value);
  // Stored in the painter's signed radius; above 2^31 - 1 it draws as 0.
  uint32_t Radius() const;
  void SetRadius(uint32_t value);
  uint8_t Spread() const;
  void SetSpread(uint8_t value);
  TColor Color() const;
  void SetColor(TColor value);
  int32_t RadiationX() const;
  void SetRadiationX(int32_t value);
  int32_t RadiationY() const;
  void SetRadiationY(int32_t value);
  // Shift of the caption when drawn into a bitmap.
  int32_t OffsetX() const { return offset_.X; }
  void SetOffsetX(int32_t value);
  int32_t OffsetY() const { return offset_.Y; }
  void SetOffsetY(int32_t value);
  // Changes made directly on the returned font are not reported.
  TFont& Font() const { return *font_; }
  // Copies the attributes of another font and reports, even when they are equal;
  // the effect's own font changes nothing.
  void SetFont(const TFont& font);

  // The painter to draw with; it stays the effect's.
  TTextPainter& GetPainter();
  TOuterGlowTextPainter& GlowPainter() const { return *glowPainter_; }

  // Copies every setting and the font's attributes from another
  // GsTextRadiationEffect and reports once; OnChange and the painters stay.
  void Assign(const TPersistent& source) override;
  const TClassInfo& ClassInfo() const override;

  const TNotifyEvent& OnChange() const { return onChange_; }

 protected:
  void Change();

 private:
  template <typename Value, typename Setter>
  void Update(Value current, Value value, Setter store);

  TPoint offset_;
  std::unique_ptr<TFont> font_;
  ReleasingPtr<TOuterGlowTextPainter> glowPainter_;
  std::unique_ptr<GsOuterGlowTextEffectPainter> effectPainter_;
  const TNotifyEvent onChange_;
};

}  // namespace gs
