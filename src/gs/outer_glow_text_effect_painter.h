#pragma once
#include <cstdint>

#include "base/geometry.h"
#include "effects/text_painter.h"

class TFont;
class TOuterGlowTextPainter;

namespace gs {

// Draws with the parts of a text effect: puts the effect's font on the target
// and leaves the glow to the effect's glow painter. Into a bitmap the caption
// is moved by the effect's offset and cut off at the unmoved rectangle; on a
// canvas and when measuring the offset does not apply. Reads the parts anew on
// every call, so it holds them by reference; they outlive it. Its Release
// does nothing: the effect owns it.
class GsOuterGlowTextEffectPainter : public TTextPainter {
 public:
  GsOuterGlowTextEffectPainter(const TFont& font, const TPoint& offset, TOuterGlowTextPainter& glow)
      : font_(font), offset_(offset), glow_(glow) {}

 protected:
  void Paint(PaintTarget target, PainterText text, const TRect& rect, int32_t format,
             int32_t asLayer, bool premultiplied) override;
  int32_t Measure(TCanvas& canvas, PainterText text, TRect& rect, int32_t format) override;

 private:
  // The glow painter's own paint of the same target and text.
  void PaintWithGlow(PaintTarget target, PainterText text, const TRect& rect, int32_t format,
                     int32_t asLayer, bool premultiplied);

  const TFont& font_;
  const TPoint& offset_;
  TOuterGlowTextPainter& glow_;
};

}  // namespace gs
