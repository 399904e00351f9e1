#include "effects/outer_glow_text_painter.h"

#include "base/bitmap.h"
#include "base/canvas.h"
#include "effects/blend.h"
#include "effects/scratch_area.h"
#include "effects/text_layer.h"

namespace {

TCanvas& CanvasOf(TCanvas& canvas) {
  return canvas;
}
TCanvas& CanvasOf(TBitmap& bitmap) {
  return bitmap.Canvas();
}

}  // namespace

ReleasingPtr<TOuterGlowTextPainter> TOuterGlowTextPainter::Create() {
  // Ends through the inherited Release, like every glowing painter.
  return ReleasingPtr<TOuterGlowTextPainter>(new TOuterGlowTextPainter());
}

template <typename Target, typename Char>
void TOuterGlowTextPainter::PaintGlowing(Target& target, const Char* text, const TRect& rect,
                                         int32_t format, bool premultiplied) {
  const int64_t r = EffectiveRadius(), rx = radiationX_, ry = radiationY_;
  const TRect textRect = rect.Inflated(-r, -r, -r - rx, -r - ry);
  // No room for the text: neither text nor halo is drawn.
  if (textRect.IsEmpty()) return;
  TCanvas& canvas = CanvasOf(target);
  {
    const FontColorScope glowColor(canvas.Font(), color_);
    if (r != 0) {
      const TRect glowRect = rect.Inflated(-rx, -ry, 0, 0);
      TRadiateTextPainter::PaintText(target, text, glowRect, format, 0, premultiplied);
    }
  }
  TTextPainter::PaintText(target, text, textRect, format, 0, premultiplied);
}

// Only the part of the rectangle inside the target is composed; each of its
// pixels comes out as in a composition of the whole rectangle.
template <typename Char>
void TOuterGlowTextPainter::PaintLayer(TCanvas& target, const Char* text, const TRect& rect,
                                       int32_t format) {
  const int64_t r = EffectiveRadius(), rx = radiationX_, ry = radiationY_;
  // In the target's coordinates: the text Radius inside the rectangle less
  // the shift, the glow from the shift to the rectangle's far corner.
  const TRect textRect = rect.Inflated(-r, -r, -rx - r, -ry - r);
  if (rect.IsEmpty() || textRect.IsEmpty()) return;
  const TBitmap& bitmap = target.Bitmap();
  const TRect visible = rect.Intersected(TRect::OfSize(bitmap.Width(), bitmap.Height()));
  if (visible.IsEmpty()) return;
  const int64_t budget = ScratchBudget(bitmap.Width(), bitmap.Height());
  std::unique_ptr<TBitmap> composition = CreateClearBitmap(visible.Width(), visible.Height());
  const TRect glowRect = rect.Inflated(-rx, -ry, 0, 0);
  const TRect glowShown = glowRect.Intersected(visible);
  if (r != 0 && !glowShown.IsEmpty() && !glowRect.Inflated(-r).IsEmpty()) {
    const HaloLayer glow =
        RenderHalo(target, text, glowRect, glowShown, budget, format, true, color_);
    composition->Canvas().CopyRect(
        glowShown.Translated(-int64_t{visible.Left}, -int64_t{visible.Top}), glow.bitmap->Canvas(),
        glowShown.Translated(-int64_t{glow.origin.X}, -int64_t{glow.origin.Y}));
  }
  std::unique_ptr<TBitmap> textLayer =
      CreateClearBitmap(composition->Width(), composition->Height());
  textLayer->Canvas().Font().Assign(target.Font());
  RenderTextLayer(*textLayer, text,
                  textRect.Translated(-int64_t{visible.Left}, -int64_t{visible.Top}), format);
  AlphaBlendBitmap(*composition, {0, 0, composition->Width(), composition->Height()}, *textLayer,
                   {0, 0}, 255);
  CopyBitmapToCanvas(target, visible, *composition, {0, 0});
}

template <typename Char>
int32_t TOuterGlowTextPainter::MeasureWithShift(TCanvas& canvas, const Char* text, TRect& rect,
                                                int32_t format) {
  const int32_t height = TRadiateTextPainter::MeasureText(canvas, text, rect, format);
  if (rect.ExactWidth() != 0 && rect.ExactHeight() != 0)
    rect = rect.Inflated(0, 0, radiationX_, radiationY_);
  return height;
}

void TOuterGlowTextPainter::PaintText(TCanvas& target, const char* text, const TRect& rect,
                                      int32_t format, int32_t asLayer, bool premultiplied) {
  if (asLayer != 0) return PaintLayer(target, text, rect, format);
  PaintGlowing(target, text, rect, format, premultiplied);
}

void TOuterGlowTextPainter::PaintText(TCanvas& target, const wchar_t* text, const TRect& rect,
                                      int32_t format, int32_t asLayer, bool premultiplied) {
  if (asLayer != 0) return PaintLayer(target, text, rect, format);
  PaintGlowing(target, text, rect, format, premultiplied);
}

void TOuterGlowTextPainter::PaintText(TBitmap& target, const char* text, const TRect& rect,
                                      int32_t format, int32_t asLayer, bool premultiplied) {
  if (asLayer != 0) return PaintLayer(target.Canvas(), text, rect, format);
  PaintGlowing(target, text, rect, format, premultiplied);
}

void TOuterGlowTextPainter::PaintText(TBitmap& target, const wchar_t* text, const TRect& rect,
                                      int32_t format, int32_t asLayer, bool premultiplied) {
  if (asLayer != 0) return PaintLayer(target.Canvas(), text, rect, format);
  PaintGlowing(target, text, rect, format, premultiplied);
}

int32_t TOuterGlowTextPainter::MeasureText(TCanvas& canvas, const char* text, TRect& rect,
                                           int32_t format) {
  return MeasureWithShift(canvas, text, rect, format);
}

int32_t TOuterGlowTextPainter::MeasureText(TCanvas& canvas, const wchar_t* text, TRect& rect,
                                           int32_t format) {
  return MeasureWithShift(canvas, text, rect, format);
}
