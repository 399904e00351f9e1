#pragma once
// The text painters' steps written out with every temporary bitmap the size of
// the caller's whole rectangle, as the steps read before any clipping to the
// target. The painters clip their temporaries; tests compare them with these
// on rectangles small enough to afford. Built from the product's building
// blocks (mask, glow procedure, blends), which have tests of their own.
// Every step runs whatever the rectangle's size: without room for the text
// the mask stays black, its glow is clear, and the blend or copy still runs.
#include <cstdint>
#include <memory>

#include "base/bitmap.h"
#include "base/geometry.h"
#include "effects/blend.h"
#include "effects/glow.h"
#include "effects/glow_filter_factory.h"
#include "effects/outer_glow_text_painter.h"
#include "effects/text_layer.h"

namespace testing_support::unclipped {

inline TCanvas& CanvasOf(TCanvas& canvas) {
  return canvas;
}
inline TCanvas& CanvasOf(TBitmap& bitmap) {
  return bitmap.Canvas();
}

template <typename Char>
std::unique_ptr<TBitmap> WholeTextLayer(TCanvas& canvas, const Char* text, const TRect& rect,
                                        int32_t format) {
  std::unique_ptr<TBitmap> layer = CreateLayerBitmap(canvas, rect);
  RenderTextLayer(*layer, text, {0, 0, layer->Width(), layer->Height()}, format);
  return layer;
}

template <typename Char>
void Text(TCanvas& target, const Char* text, const TRect& rect, int32_t format, int32_t asLayer,
          bool premultiplied) {
  if (asLayer == 0 && !premultiplied) return DrawPlainText(target, text, rect, format);
  std::unique_ptr<TBitmap> layer = WholeTextLayer(target, text, rect, format);
  if (asLayer != 0) return CopyBitmapToCanvas(target, rect, *layer, {0, 0});
  AlphaBlendToCanvas(target, rect, *layer, {0, 0}, 255);
}

template <typename Char>
void Text(TBitmap& target, const Char* text, const TRect& rect, int32_t format, int32_t asLayer,
          bool premultiplied) {
  if (asLayer != 0) return RenderTextLayer(target, text, rect, format);
  if (!premultiplied) return DrawPlainText(target.Canvas(), text, rect, format);
  std::unique_ptr<TBitmap> layer = WholeTextLayer(target.Canvas(), text, rect, format);
  AlphaBlendBitmap(target, rect, *layer, {0, 0}, 255);
}

// The halo's mask of the whole rectangle, glowed with a kernel of its own
// (the painter's cached one stays as the painter left it).
template <typename Char>
std::unique_ptr<TBitmap> WholeHalo(TRadiateTextPainter& painter, TCanvas& canvas, const Char* text,
                                   const TRect& rect, int32_t format, bool premultiplied) {
  const int32_t r = painter.EffectiveRadius();
  std::unique_ptr<TBitmap> mask = CreateMaskBitmap(canvas, rect);
  DrawPlainText(mask->Canvas(), text,
                TRect::Saturated(r, r, rect.ExactWidth() - r, rect.ExactHeight() - r), format);
  OuterGlowFilterFactory factory;
  ApplyGlow(painter.Glow(), factory, *mask, {0, 0, mask->Width(), mask->Height()}, premultiplied,
            canvas.Font().Color());
  return mask;
}

template <typename Char>
void Halo(TRadiateTextPainter& painter, TCanvas& target, const Char* text, const TRect& rect,
          int32_t format, int32_t asLayer, bool premultiplied) {
  std::unique_ptr<TBitmap> mask = WholeHalo(painter, target, text, rect, format, premultiplied);
  if (asLayer != 0) return CopyBitmapToCanvas(target, rect, *mask, {0, 0});
  if (premultiplied) return AlphaBlendToCanvas(target, rect, *mask, {0, 0}, 255);
  SoftBlendToCanvas(target, rect, *mask, {0, 0}, 255);
}

template <typename Char>
void Halo(TRadiateTextPainter& painter, TBitmap& target, const Char* text, const TRect& rect,
          int32_t format, int32_t asLayer, bool premultiplied) {
  TCanvas& canvas = target.Canvas();
  if (asLayer == 0) {
    std::unique_ptr<TBitmap> mask = WholeHalo(painter, canvas, text, rect, format, premultiplied);
    if (premultiplied) return AlphaBlendBitmap(target, rect, *mask, {0, 0}, 255);
    return SoftBlendBitmap(target, rect, *mask, {0, 0}, 255);
  }
  // In the target itself; the glow spreads over the part the target holds.
  const int64_t r = painter.EffectiveRadius();
  canvas.Brush().SetColor(clBlack);
  canvas.FillRect(rect);
  const FontColorScope white(canvas.Font(), clWhite);
  DrawPlainText(canvas, text,
                TRect::Saturated(rect.Left + r, rect.Top + r, rect.Right - r, rect.Bottom - r),
                format);
  const TRect area{std::max(rect.Left, 0), std::max(rect.Top, 0),
                   std::min(rect.Right, target.Width()), std::min(rect.Bottom, target.Height())};
  OuterGlowFilterFactory factory;
  ApplyGlow(painter.Glow(), factory, target, area, premultiplied, white.Saved());
}

// Halo in Color at the shifted rectangle, then the text over it.
template <typename Target, typename Char>
void OuterGlow(TOuterGlowTextPainter& painter, Target& target, const Char* text, const TRect& rect,
               int32_t format, bool premultiplied) {
  const int64_t r = painter.EffectiveRadius(), rx = painter.RadiationX(), ry = painter.RadiationY();
  const TRect textRect =
      TRect::Saturated(rect.Left + r, rect.Top + r, rect.Right - r - rx, rect.Bottom - r - ry);
  TCanvas& canvas = CanvasOf(target);
  {
    const FontColorScope glowColor(canvas.Font(), painter.Color());
    if (r != 0) {
      Halo(painter, target, text,
           TRect::Saturated(rect.Left + rx, rect.Top + ry, rect.Right, rect.Bottom), format, 0,
           premultiplied);
    }
  }
  Text(target, text, textRect, format, 0, premultiplied);
}

// Layer mode: a composition of the rectangle's size, glow layer at the shift
// (made in a bitmap of its own size), text layer over it, copied in place.
template <typename Char>
void OuterGlowLayer(TOuterGlowTextPainter& painter, TCanvas& target, const Char* text,
                    const TRect& rect, int32_t format) {
  const int64_t r = painter.EffectiveRadius(), rx = painter.RadiationX(), ry = painter.RadiationY();
  const int64_t width = rect.ExactWidth(), height = rect.ExactHeight();
  const TRect textRect = TRect::Saturated(r, r, width - rx - r, height - ry - r);
  std::unique_ptr<TBitmap> composition =
      CreateClearBitmap(SaturateInt32(width), SaturateInt32(height));
  if (r != 0) {
    std::unique_ptr<TBitmap> glow =
        CreateClearBitmap(SaturateInt32(width - rx), SaturateInt32(height - ry));
    glow->Canvas().Font().Assign(target.Font());
    glow->Canvas().Font().SetColor(painter.Color());
    Halo(painter, *glow, text, {0, 0, glow->Width(), glow->Height()}, format, 1, true);
    composition->Canvas().CopyRect(
        TRect::Saturated(rx, ry, rx + glow->Width(), ry + glow->Height()), glow->Canvas(),
        {0, 0, glow->Width(), glow->Height()});
  }
  std::unique_ptr<TBitmap> textLayer =
      CreateClearBitmap(composition->Width(), composition->Height());
  textLayer->Canvas().Font().Assign(target.Font());
  RenderTextLayer(*textLayer, text, textRect, format);
  AlphaBlendBitmap(*composition, {0, 0, composition->Width(), composition->Height()}, *textLayer,
                   {0, 0}, 255);
  CopyBitmapToCanvas(target, rect, *composition, {0, 0});
}

}  // namespace testing_support::unclipped
