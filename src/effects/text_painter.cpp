#include "effects/text_painter.h"

#include "base/bitmap.h"
#include "base/canvas.h"
#include "effects/blend.h"
#include "effects/text_layer.h"
#include "platform/text_rasterizer.h"

namespace {

// The layer covers only the part of `rect` inside the target; the text keeps
// its place in the whole rectangle.
template <typename Char>
void PaintOnCanvas(TCanvas& target, const Char* text, const TRect& rect, int32_t format,
                   int32_t asLayer, bool premultiplied) {
  if (asLayer == 0 && !premultiplied) return DrawPlainText(target, text, rect, format);
  TRect area;
  std::unique_ptr<TBitmap> layer = CreateTextLayer(target, text, rect, format, area);
  if (layer == nullptr) return;
  if (asLayer != 0) {
    CopyBitmapToCanvas(target, area, *layer, {0, 0});
  } else {
    AlphaBlendToCanvas(target, area, *layer, {0, 0}, 255);
  }
}

template <typename Char>
void PaintIntoBitmap(TBitmap& target, const Char* text, const TRect& rect, int32_t format,
                     int32_t asLayer, bool premultiplied) {
  if (asLayer != 0) return RenderTextLayer(target, text, rect, format);
  if (!premultiplied) return DrawPlainText(target.Canvas(), text, rect, format);
  TRect area;
  std::unique_ptr<TBitmap> layer = CreateTextLayer(target.Canvas(), text, rect, format, area);
  if (layer != nullptr) AlphaBlendBitmap(target, area, *layer, {0, 0}, 255);
}

template <typename Char>
int32_t Measure(TCanvas& canvas, const Char* text, TRect& rect, int32_t format) {
  static constexpr Char kEmpty[1] = {0};
  return canvas.DrawText(text != nullptr ? text : kEmpty, rect,
                         static_cast<uint32_t>(format) | platform::kTextCalcRect);
}

}  // namespace

void TTextPainter::PaintText(TCanvas& target, const char* text, const TRect& rect, int32_t format,
                             int32_t asLayer, bool premultiplied) {
  PaintOnCanvas(target, text, rect, format, asLayer, premultiplied);
}

void TTextPainter::PaintText(TCanvas& target, const wchar_t* text, const TRect& rect,
                             int32_t format, int32_t asLayer, bool premultiplied) {
  PaintOnCanvas(target, text, rect, format, asLayer, premultiplied);
}

void TTextPainter::PaintText(TBitmap& target, const char* text, const TRect& rect, int32_t format,
                             int32_t asLayer, bool premultiplied) {
  PaintIntoBitmap(target, text, rect, format, asLayer, premultiplied);
}

void TTextPainter::PaintText(TBitmap& target, const wchar_t* text, const TRect& rect,
                             int32_t format, int32_t asLayer, bool premultiplied) {
  PaintIntoBitmap(target, text, rect, format, asLayer, premultiplied);
}

int32_t TTextPainter::MeasureText(TCanvas& canvas, const char* text, TRect& rect, int32_t format) {
  return Measure(canvas, text, rect, format);
}

int32_t TTextPainter::MeasureText(TCanvas& canvas, const wchar_t* text, TRect& rect,
                                  int32_t format) {
  return Measure(canvas, text, rect, format);
}

void TTextPainter::Release() {}

TTextPainter::~TTextPainter() = default;
