#pragma once
#include <cstdint>
#include <memory>

#include "base/color.h"
#include "effects/glow_filter_factory.h"
#include "effects/glow_settings.h"
#include "effects/text_painter.h"

// Draws only the halo of a text, in the target's font colour: the text is
// rendered white on black Radius pixels inside the rectangle, the glow filter
// spreads it and the result is laid over the target. When the rectangle has
// no room for the text the halo is clear, and it is laid over all the same.
//
// Lives on the heap and ends through Release (see Create).
class TRadiateTextPainter : public TTextPainter {
 public:
  static ReleasingPtr<TRadiateTextPainter> Create();

  // Destroys the painter.
  void Release() override;

  uint8_t Opacity() const { return opacity_; }
  void SetOpacity(uint8_t value) { opacity_ = value; }
  // Any value is stored; a negative one (such as an unsigned radius above
  // 2^31 - 1 stored here) is drawn and measured as 0, see EffectiveRadius.
  int32_t Radius() const { return radius_; }
  void SetRadius(int32_t value) { radius_ = value; }
  uint8_t Spread() const { return spread_; }
  void SetSpread(uint8_t value) { spread_ = value; }
  OuterGlowFilterFactory& Factory() { return *factory_; }

  // The radius drawing and measuring use.
  int32_t EffectiveRadius() const { return radius_ < 0 ? 0 : radius_; }
  // What the glow procedure draws with.
  GlowSettings Glow() const { return {opacity_, spread_, EffectiveRadius()}; }

 protected:
  TRadiateTextPainter();
  // Protected so that a painter can only end through Release.
  ~TRadiateTextPainter() override;

  void Paint(PaintTarget target, PainterText text, const TRect& rect, int32_t format,
             int32_t asLayer, bool premultiplied) override;
  // The text's extent grown by the halo, Radius on every side; an empty extent stays as it is.
  int32_t Measure(TCanvas& canvas, PainterText text, TRect& rect, int32_t format) override;

  // A glow layer and where its top-left pixel belongs in the target.
  struct HaloLayer {
    std::unique_ptr<TBitmap> bitmap;
    TPoint origin;
  };
  // The halo of `rect` (target coordinates, text Radius inside it) in
  // `colour`, for the pixels `visible` of it: each comes out as if the whole
  // rectangle had been made into a mask and glowed. `visible` lies inside
  // `rect` and is not empty, and `budget` is the most pixels a temporary may
  // cover (ScratchBudget of the target). The layer covers `visible` at least.
  HaloLayer RenderHalo(TCanvas& source, PainterText text, const TRect& rect, const TRect& visible,
                       int64_t budget, int32_t format, bool premultiplied, TColor colour);

 private:
  void PaintHaloOnCanvas(TCanvas& target, PainterText text, const TRect& rect, int32_t format,
                         int32_t asLayer, bool premultiplied);
  void PaintHaloIntoBitmap(TBitmap& target, PainterText text, const TRect& rect, int32_t format,
                           int32_t asLayer, bool premultiplied);

  uint8_t opacity_ = 255;
  int32_t radius_ = 0;
  uint8_t spread_ = 0;
  std::unique_ptr<OuterGlowFilterFactory> factory_;
};
