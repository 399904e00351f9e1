#include "gs/outer_glow_text_effect_painter.h"

#include "base/bitmap.h"
#include "base/canvas.h"
#include "base/font.h"
#include "effects/blend.h"
#include "effects/outer_glow_text_painter.h"

namespace gs {

template <typename Char>
void GsOuterGlowTextEffectPainter::PaintIntoBitmap(TBitmap& target, const Char* text,
                                                   const TRect& rect, int32_t format,
                                                   int32_t asLayer, bool premultiplied) {
  const int64_t dx = offset_.X, dy = offset_.Y;
  if (dx == 0 && dy == 0) {
    target.Canvas().Font().Assign(font_);
    glow_.PaintText(target, text, rect, format, asLayer, premultiplied);
    return;
  }
  // Drawn moved into a copy of the whole target, then only the unmoved
  // rectangle is copied back, so the caption is cut off at its edges.
  const TRect moved = rect.Translated(dx, dy);
  TBitmap scratch;
  scratch.Assign(target);
  scratch.Canvas().Font().Assign(font_);
  glow_.PaintText(scratch, text, moved, format, asLayer, premultiplied);
  CopyBitmapToCanvas(target.Canvas(), rect, scratch, {rect.Left, rect.Top});
}

void GsOuterGlowTextEffectPainter::PaintText(TCanvas& target, const char* text, const TRect& rect,
                                             int32_t format, int32_t asLayer, bool premultiplied) {
  target.Font().Assign(font_);
  glow_.PaintText(target, text, rect, format, asLayer, premultiplied);
}

void GsOuterGlowTextEffectPainter::PaintText(TCanvas& target, const wchar_t* text,
                                             const TRect& rect, int32_t format, int32_t asLayer,
                                             bool premultiplied) {
  target.Font().Assign(font_);
  glow_.PaintText(target, text, rect, format, asLayer, premultiplied);
}

void GsOuterGlowTextEffectPainter::PaintText(TBitmap& target, const char* text, const TRect& rect,
                                             int32_t format, int32_t asLayer, bool premultiplied) {
  PaintIntoBitmap(target, text, rect, format, asLayer, premultiplied);
}

void GsOuterGlowTextEffectPainter::PaintText(TBitmap& target, const wchar_t* text,
                                             const TRect& rect, int32_t format, int32_t asLayer,
                                             bool premultiplied) {
  PaintIntoBitmap(target, text, rect, format, asLayer, premultiplied);
}

int32_t GsOuterGlowTextEffectPainter::MeasureText(TCanvas& canvas, const char* text, TRect& rect,
                                                  int32_t format) {
  canvas.Font().Assign(font_);
  return glow_.MeasureText(canvas, text, rect, format);
}

int32_t GsOuterGlowTextEffectPainter::MeasureText(TCanvas& canvas, const wchar_t* text, TRect& rect,
                                                  int32_t format) {
  canvas.Font().Assign(font_);
  return glow_.MeasureText(canvas, text, rect, format);
}

}  // namespace gs
