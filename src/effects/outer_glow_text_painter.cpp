#include "effects/outer_glow_text_painter.h"

#include "base/bitmap.h"
#include "effects/blend.h"
#include "effects/scratch_area.h"
#include "effects/text_layer.h"

ReleasingPtr<TOuterGlowTextPainter> TOuterGlowTextPainter::Create() {
  // Ends through the inherited Release, like every glowing painter.
  return ReleasingPtr<TOuterGlowTextPainter>(new TOuterGlowTextPainter());
}

void TOuterGlowTextPainter::PaintGlowing(PaintTarget target, PainterText text, const TRect& rect,
                                         int32_t format, bool premultiplied) {
  const int64_t r = EffectiveRadius(), rx = radiationX_, ry = radiationY_;
  const TRect textRect = rect.Inflated(-r, -r, -r - rx, -r - ry);
  TCanvas& canvas = CanvasOf(target);
  {
    const FontColorScope glowColor(canvas.Font(), color_);
    if (r != 0) {
      const TRect glowRect = rect.Inflated(-rx, -ry, 0, 0);
      TRadiateTextPainter::Paint(target, text, glowRect, format, 0, premultiplied);
    }
  }
  // Without room for the text the halo is clear, but its blend still runs,
  // and the target is left as the text's own step leaves it.
  if (textRect.IsEmpty()) return SettleTextTarget(target, premultiplied);
  TTextPainter::Paint(target, text, textRect, format, 0, premultiplied);
}

// Only the part of the rectangle inside the target is composed; each of its
// pixels comes out as in a composition of the whole rectangle.
void TOuterGlowTextPainter::PaintLayer(TCanvas& target, PainterText text, const TRect& rect,
                                       int32_t format) {
  const int64_t r = EffectiveRadius(), rx = radiationX_, ry = radiationY_;
  // In the target's coordinates: the text Radius inside the rectangle less
  // the shift, the glow from the shift to the rectangle's far corner.
  const TRect textRect = rect.Inflated(-r, -r, -rx - r, -ry - r);
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

void TOuterGlowTextPainter::Paint(PaintTarget target, PainterText text, const TRect& rect,
                                  int32_t format, int32_t asLayer, bool premultiplied) {
  if (asLayer != 0) return PaintLayer(CanvasOf(target), text, rect, format);
  PaintGlowing(target, text, rect, format, premultiplied);
}

int32_t TOuterGlowTextPainter::Measure(TCanvas& canvas, PainterText text, TRect& rect,
                                       int32_t format) {
  const int32_t height = TRadiateTextPainter::Measure(canvas, text, rect, format);
  if (rect.ExactWidth() != 0 && rect.ExactHeight() != 0)
    rect = rect.Inflated(0, 0, radiationX_, radiationY_);
  return height;
}
