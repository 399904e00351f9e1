#pragma once
#include <cstdint>

#include "base/color.h"
#include "effects/radiate_text_painter.h"

// Draws a halo in Color, shifted by (RadiationX, RadiationY), and the text in
// the target's font colour on top. With Radius 0 only the text is drawn. A
// rectangle too small for the text at Radius inside it gets no text, but its
// halo, clear then, is still blended (so a straight-alpha bitmap target still
// becomes 24-bit) and in layer mode still replaces the rectangle.
//
// In layer mode (asLayer non-zero) the rectangle is replaced by a premultiplied
// layer of its size: the glow at (RadiationX, RadiationY) to its far corner,
// the text layer at Radius inside the unshifted rectangle, text over glow,
// transparent elsewhere. The layer is premultiplied whatever `premultiplied`
// says, as the text layer of TTextPainter is; the glow is made premultiplied
// so that the two compose correctly. The rectangle may lie anywhere in the target.
//
// Lives on the heap and ends through Release (see Create).
class TOuterGlowTextPainter : public TRadiateTextPainter {
 public:
  static ReleasingPtr<TOuterGlowTextPainter> Create();

  TColor Color() const { return color_; }
  void SetColor(TColor value) { color_ = value; }
  int32_t RadiationX() const { return radiationX_; }
  void SetRadiationX(int32_t value) { radiationX_ = value; }
  int32_t RadiationY() const { return radiationY_; }
  void SetRadiationY(int32_t value) { radiationY_ = value; }

 protected:
  TOuterGlowTextPainter() = default;
  ~TOuterGlowTextPainter() override = default;

  void Paint(PaintTarget target, PainterText text, const TRect& rect, int32_t format,
             int32_t asLayer, bool premultiplied) override;
  // The halo's extent grown by the shift; an empty extent stays as it is.
  int32_t Measure(TCanvas& canvas, PainterText text, TRect& rect, int32_t format) override;

 private:
  void PaintGlowing(PaintTarget target, PainterText text, const TRect& rect, int32_t format,
                    bool premultiplied);
  void PaintLayer(TCanvas& target, PainterText text, const TRect& rect, int32_t format);

  TColor color_ = 0xBFFFFF;
  int32_t radiationX_ = 0;
  int32_t radiationY_ = 0;
};
