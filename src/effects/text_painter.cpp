#include "effects/text_painter.h"

#include "base/bitmap.h"
#include "base/text_format.h"
#include "effects/blend.h"
#include "effects/text_layer.h"

namespace {

// The layer covers only the part of `rect` inside the target; the text keeps
// its place in the whole rectangle.
void PaintOnCanvas(TCanvas& target, PainterText text, const TRect& rect, int32_t format,
                   int32_t asLayer, bool premultiplied) {
  if (asLayer == 0 && !premultiplied) return DrawPlainText(target, text, rect, format);
  TRect area;
  std::unique_ptr<TBitmap> layer = CreateTextLayer(target, text, rect, format, area);
  if (layer == nullptr) return target.SetCopyMode(cmSrcCopy);
  if (asLayer != 0) {
    CopyBitmapToCanvas(target, area, *layer, {0, 0});
  } else {
    AlphaBlendToCanvas(target, area, *layer, {0, 0}, 255);
  }
}

void PaintIntoBitmap(TBitmap& target, PainterText text, const TRect& rect, int32_t format,
                     int32_t asLayer, bool premultiplied) {
  if (asLayer != 0) return RenderTextLayer(target, text, rect, format);
  if (!premultiplied) return DrawPlainText(target.Canvas(), text, rect, format);
  TRect area;
  std::unique_ptr<TBitmap> layer = CreateTextLayer(target.Canvas(), text, rect, format, area);
  if (layer != nullptr) AlphaBlendBitmap(target, area, *layer, {0, 0}, 255);
}

}  // namespace

TCanvas& CanvasOf(PaintTarget target) {
  if (TBitmap* const* bitmap = std::get_if<TBitmap*>(&target)) return (*bitmap)->Canvas();
  return *std::get<TCanvas*>(target);
}

void SettleTextTarget(PaintTarget target, bool premultiplied) {
  if (!premultiplied) return CanvasOf(target).SetBackgroundMode(TBackgroundMode::Transparent);
  if (TCanvas* const* canvas = std::get_if<TCanvas*>(&target)) (*canvas)->SetCopyMode(cmSrcCopy);
}

void TTextPainter::Paint(PaintTarget target, PainterText text, const TRect& rect, int32_t format,
                         int32_t asLayer, bool premultiplied) {
  if (TBitmap* const* bitmap = std::get_if<TBitmap*>(&target)) {
    return PaintIntoBitmap(**bitmap, text, rect, format, asLayer, premultiplied);
  }
  PaintOnCanvas(*std::get<TCanvas*>(target), text, rect, format, asLayer, premultiplied);
}

int32_t TTextPainter::Measure(TCanvas& canvas, PainterText text, TRect& rect, int32_t format) {
  return DrawPainterText(canvas, text, rect, static_cast<uint32_t>(format) | kTextCalcRect);
}

void TTextPainter::Release() {}

TTextPainter::~TTextPainter() = default;
