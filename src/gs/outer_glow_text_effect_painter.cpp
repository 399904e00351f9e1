#include "gs/outer_glow_text_effect_painter.h"

#include "base/bitmap.h"
#include "base/font.h"
#include "effects/blend.h"
#include "effects/outer_glow_text_painter.h"

namespace gs {

void GsOuterGlowTextEffectPainter::PaintWithGlow(PaintTarget target, PainterText text,
                                                 const TRect& rect, int32_t format, int32_t asLayer,
                                                 bool premultiplied) {
  std::visit(
      [&](auto* on, auto* chars) {
        glow_.PaintText(*on, chars, rect, format, asLayer, premultiplied);
      },
      target, text);
}

void GsOuterGlowTextEffectPainter::Paint(PaintTarget target, PainterText text, const TRect& rect,
                                         int32_t format, int32_t asLayer, bool premultiplied) {
  TBitmap* const* bitmap = std::get_if<TBitmap*>(&target);
  if (bitmap == nullptr || (offset_.X == 0 && offset_.Y == 0)) {
    CanvasOf(target).Font().Assign(font_);
    return PaintWithGlow(target, text, rect, format, asLayer, premultiplied);
  }
  // Drawn moved into a copy of the whole target, then only the unmoved
  // rectangle is copied back, so the caption is cut off at its edges.
  TBitmap scratch;
  scratch.Assign(**bitmap);
  scratch.Canvas().Font().Assign(font_);
  PaintWithGlow(&scratch, text, rect.Translated(offset_.X, offset_.Y), format, asLayer,
                premultiplied);
  CopyBitmapToCanvas((*bitmap)->Canvas(), rect, scratch, {rect.Left, rect.Top});
}

int32_t GsOuterGlowTextEffectPainter::Measure(TCanvas& canvas, PainterText text, TRect& rect,
                                              int32_t format) {
  canvas.Font().Assign(font_);
  return std::visit([&](auto* chars) { return glow_.MeasureText(canvas, chars, rect, format); },
                    text);
}

}  // namespace gs
