#include "effects/text_painter.h"

#include "base/bitmap.h"
#include "base/canvas.h"
#include "effects/blend.h"
#include "effects/text_layer.h"
#include "platform/text_rasterizer.h"

namespace {

template <typename Char>
void PaintOnCanvas(TCanvas& target, const Char* text, const TRect& rect, int32_t format, int32_t asLayer,
                   bool premultiplied) {
  if (asLayer == 0 && !premultiplied) return DrawPlainText(target, text, rect, format);
  std::unique_ptr<TBitmap> layer = CreateLayerBitmap(target, rect);
  RenderTextLayer(*layer, text, {0, 0, layer->Width(), layer->Height()}, format);
  if (asLayer != 0) {
    CopyBitmapToCanvas(target, rect, *layer, {0, 0});
  } else {
    AlphaBlendToCanvas(target, rect, *layer, {0, 0}, 255);
  }
}

template <typename Char>
void PaintIntoBitmap(TBitmap& target, const Char* text, const TRect& rect, int32_t format, int32_t asLayer,
                     bool premultiplied) {
  if (asLayer != 0) return RenderTextLayer(target, text, rect, format);
  if (!premultiplied) return DrawPlainText(target.Canvas(), text, rect, format);
  std::unique_ptr<TBitmap> layer = CreateLayerBitmap(target.Canvas(), rect);
  RenderTextLayer(*layer, text, {0, 0, layer->Width(), layer->Height()}, format);
  AlphaBlendBitmap(target, rect, *layer, {0, 0}, 255);
}

template <typename Char>
int32_t Measure(TCanvas& canvas, const Char* text, TRect& rect, int32_t format) {
  static constexpr Char kEmpty[1] = {0};
  return canvas.DrawText(text != nullptr ? text : kEmpty, rect,
                         static_cast<uint32_t>(format) | platform::kTextCalcRect);
}

}  // namespace

void TTextPainter::PaintText(TCanvas& target, const char* text, const TRect& rect, int32_t format, int32_t asLayer,
                             bool premultiplied) {
  PaintOnCanvas(target, text, rect, format, asLayer, premultiplied);
}

void TTextPainter::PaintText(TCanvas& target, const wchar_t* text, const TRect& rect, int32_t format,
                             int32_t asLayer, bool premultiplied) {
  PaintOnCanvas(target, text, rect, format, asLayer, premultiplied);
}

void TTextPainter::PaintText(TBitmap& target, const char* text, const TRect& rect, int32_t format, int32_t asLayer,
                             bool premultiplied) {
  PaintIntoBitmap(target, text, rect, format, asLayer, premultiplied);
}

void TTextPainter::PaintText(TBitmap& target, const wchar_t* text, const TRect& rect, int32_t format,
                             int32_t asLayer, bool premultiplied) {
  PaintIntoBitmap(target, text, rect, format, asLayer, premultiplied);
}

int32_t TTextPainter::MeasureText(TCanvas& canvas, const char* text, TRect& rect, int32_t format) {
  return Measure(canvas, text, rect, format);
}

int32_t TTextPainter::MeasureText(TCanvas& canvas, const wchar_t* text, TRect& rect, int32_t format) {
  return Measure(canvas, text, rect, format);
}

void TTextPainter::Release() {}

TTextPainter::~TTextPainter() = default;
