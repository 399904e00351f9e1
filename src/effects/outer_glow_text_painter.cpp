#include "effects/outer_glow_text_painter.h"

#include "base/bitmap.h"
#include "base/canvas.h"
#include "effects/blend.h"
#include "effects/saturated_rect.h"
#include "effects/text_layer.h"

namespace {

TCanvas& CanvasOf(TCanvas& canvas) { return canvas; }
TCanvas& CanvasOf(TBitmap& bitmap) { return bitmap.Canvas(); }

}  // namespace

ReleasingPtr<TOuterGlowTextPainter> TOuterGlowTextPainter::Create() {
  // Ends through the inherited Release, like every glowing painter.
  return ReleasingPtr<TOuterGlowTextPainter>(new TOuterGlowTextPainter());
}

template <typename Target, typename Char>
void TOuterGlowTextPainter::PaintGlowing(Target& target, const Char* text, const TRect& rect, int32_t format,
                                         bool premultiplied) {
  const int64_t r = EffectiveRadius(), rx = radiationX_, ry = radiationY_;
  const TRect textRect = SaturatedRect(rect.Left + r, rect.Top + r, rect.Right - r - rx, rect.Bottom - r - ry);
  // No room for the text: neither text nor halo is drawn.
  if (textRect.IsEmpty()) return;
  TCanvas& canvas = CanvasOf(target);
  {
    const FontColorScope glowColor(canvas.Font(), color_);
    if (r != 0) {
      const TRect glowRect = SaturatedRect(rect.Left + rx, rect.Top + ry, rect.Right, rect.Bottom);
      TRadiateTextPainter::PaintText(target, text, glowRect, format, 0, premultiplied);
    }
  }
  TTextPainter::PaintText(target, text, textRect, format, 0, premultiplied);
}

template <typename Char>
void TOuterGlowTextPainter::PaintLayer(TCanvas& target, const Char* text, const TRect& rect, int32_t format) {
  const int64_t r = EffectiveRadius(), rx = radiationX_, ry = radiationY_;
  const int64_t width = WidthOf(rect), height = HeightOf(rect);
  const TRect textRect = SaturatedRect(r, r, width - rx - r, height - ry - r);
  if (rect.IsEmpty() || textRect.IsEmpty()) return;
  std::unique_ptr<TBitmap> composition = CreateClearBitmap(BitmapExtent(width), BitmapExtent(height));
  if (r != 0) {
    // The glow layer covers (rx, ry) to the far corner; it is made at its own
    // size, so a negative shift keeps the halo's geometry, and then placed.
    std::unique_ptr<TBitmap> glow = CreateClearBitmap(BitmapExtent(width - rx), BitmapExtent(height - ry));
    glow->Canvas().Font().Assign(target.Font());
    glow->Canvas().Font().SetColor(color_);
    TRadiateTextPainter::PaintText(*glow, text, {0, 0, glow->Width(), glow->Height()}, format, 1, true);
    composition->Canvas().CopyRect(SaturatedRect(rx, ry, rx + glow->Width(), ry + glow->Height()), glow->Canvas(),
                                   {0, 0, glow->Width(), glow->Height()});
  }
  std::unique_ptr<TBitmap> textLayer = CreateClearBitmap(composition->Width(), composition->Height());
  textLayer->Canvas().Font().Assign(target.Font());
  RenderTextLayer(*textLayer, text, textRect, format);
  AlphaBlendBitmap(*composition, {0, 0, composition->Width(), composition->Height()}, *textLayer, {0, 0}, 255);
  CopyBitmapToCanvas(target, rect, *composition, {0, 0});
}

template <typename Char>
int32_t TOuterGlowTextPainter::MeasureWithShift(TCanvas& canvas, const Char* text, TRect& rect, int32_t format) {
  const int32_t height = TRadiateTextPainter::MeasureText(canvas, text, rect, format);
  if (WidthOf(rect) != 0 && HeightOf(rect) != 0) {
    rect.Right = SaturateInt32(int64_t{rect.Right} + radiationX_);
    rect.Bottom = SaturateInt32(int64_t{rect.Bottom} + radiationY_);
  }
  return height;
}

void TOuterGlowTextPainter::PaintText(TCanvas& target, const char* text, const TRect& rect, int32_t format,
                                      int32_t asLayer, bool premultiplied) {
  if (asLayer != 0) return PaintLayer(target, text, rect, format);
  PaintGlowing(target, text, rect, format, premultiplied);
}

void TOuterGlowTextPainter::PaintText(TCanvas& target, const wchar_t* text, const TRect& rect, int32_t format,
                                      int32_t asLayer, bool premultiplied) {
  if (asLayer != 0) return PaintLayer(target, text, rect, format);
  PaintGlowing(target, text, rect, format, premultiplied);
}

void TOuterGlowTextPainter::PaintText(TBitmap& target, const char* text, const TRect& rect, int32_t format,
                                      int32_t asLayer, bool premultiplied) {
  if (asLayer != 0) return PaintLayer(target.Canvas(), text, rect, format);
  PaintGlowing(target, text, rect, format, premultiplied);
}

void TOuterGlowTextPainter::PaintText(TBitmap& target, const wchar_t* text, const TRect& rect, int32_t format,
                                      int32_t asLayer, bool premultiplied) {
  if (asLayer != 0) return PaintLayer(target.Canvas(), text, rect, format);
  PaintGlowing(target, text, rect, format, premultiplied);
}

int32_t TOuterGlowTextPainter::MeasureText(TCanvas& canvas, const char* text, TRect& rect, int32_t format) {
  return MeasureWithShift(canvas, text, rect, format);
}

int32_t TOuterGlowTextPainter::MeasureText(TCanvas& canvas, const wchar_t* text, TRect& rect, int32_t format) {
  return MeasureWithShift(canvas, text, rect, format);
}
