#include "effects/radiate_text_painter.h"

#include <algorithm>

#include "base/bitmap.h"
#include "base/canvas.h"
#include "effects/blend.h"
#include "effects/glow.h"
#include "effects/saturated_rect.h"
#include "effects/text_layer.h"

namespace {

// Where the text sits inside a layer of rect's size: Radius in on every side.
// When that is empty the halo has no text to spread, and nothing is drawn, so
// no radius can ask for a kernel larger than the layer itself.
TRect TextRectInLayer(const TRect& rect, int32_t radius) {
  return SaturatedRect(radius, radius, WidthOf(rect) - radius, HeightOf(rect) - radius);
}

// The part of `rect` whose glow can show in a target of the given size: a
// target pixel takes its glow from at most `radius` away, so the mask needs
// no more than the target grown by the radius. The glow of every target pixel
// comes out as if the whole rectangle had been rendered.
TRect GlowReach(const TRect& rect, int32_t radius, int32_t targetWidth, int32_t targetHeight) {
  return {std::max<int32_t>(rect.Left, SaturateInt32(-int64_t{radius})),
          std::max<int32_t>(rect.Top, SaturateInt32(-int64_t{radius})),
          std::min<int32_t>(rect.Right, SaturateInt32(int64_t{targetWidth} + radius)),
          std::min<int32_t>(rect.Bottom, SaturateInt32(int64_t{targetHeight} + radius))};
}

}  // namespace

ReleasingPtr<TRadiateTextPainter> TRadiateTextPainter::Create() {
  // The one place that makes a painter which ends by deleting itself.
  return ReleasingPtr<TRadiateTextPainter>(new TRadiateTextPainter());
}

TRadiateTextPainter::TRadiateTextPainter() : factory_(std::make_unique<OuterGlowFilterFactory>()) {}

TRadiateTextPainter::~TRadiateTextPainter() = default;

void TRadiateTextPainter::Release() {
  // Owners give the painter up through Release; it was made on the heap by
  // Create (or a derived Create), and nothing touches it afterwards.
  delete this;
}

template <typename Char>
std::unique_ptr<TBitmap> TRadiateTextPainter::RenderHalo(TCanvas& source, const Char* text, const TRect& rect,
                                                         const TRect& reach, int32_t format, bool premultiplied) {
  const int64_t r = EffectiveRadius();
  std::unique_ptr<TBitmap> mask = CreateMaskBitmap(source, reach);
  const int64_t left = int64_t{rect.Left} - reach.Left, top = int64_t{rect.Top} - reach.Top;
  DrawPlainText(mask->Canvas(), text, SaturatedRect(left + r, top + r, left + WidthOf(rect) - r, top + HeightOf(rect) - r),
                format);
  ApplyGlow(*this, *mask, {0, 0, mask->Width(), mask->Height()}, premultiplied, source.Font().Color());
  return mask;
}

template <typename Char>
void TRadiateTextPainter::PaintHaloOnCanvas(TCanvas& target, const Char* text, const TRect& rect, int32_t format,
                                            int32_t asLayer, bool premultiplied) {
  const int32_t r = EffectiveRadius();
  if (rect.IsEmpty() || TextRectInLayer(rect, r).IsEmpty()) return;
  const TRect reach = GlowReach(rect, r, target.Bitmap().Width(), target.Bitmap().Height());
  if (reach.IsEmpty()) return;
  std::unique_ptr<TBitmap> mask = RenderHalo(target, text, rect, reach, format, premultiplied);
  if (asLayer != 0) {
    CopyBitmapToCanvas(target, reach, *mask, {0, 0});
  } else if (premultiplied) {
    AlphaBlendToCanvas(target, reach, *mask, {0, 0}, 255);
  } else {
    SoftBlendToCanvas(target, reach, *mask, {0, 0}, 255);
  }
}

template <typename Char>
void TRadiateTextPainter::PaintHaloIntoBitmap(TBitmap& target, const Char* text, const TRect& rect, int32_t format,
                                              int32_t asLayer, bool premultiplied) {
  const int32_t r = EffectiveRadius();
  if (rect.IsEmpty() || TextRectInLayer(rect, r).IsEmpty()) return;
  TCanvas& canvas = target.Canvas();
  if (asLayer == 0) {
    const TRect reach = GlowReach(rect, r, target.Width(), target.Height());
    if (reach.IsEmpty()) return;
    std::unique_ptr<TBitmap> mask = RenderHalo(canvas, text, rect, reach, format, premultiplied);
    if (premultiplied) {
      AlphaBlendBitmap(target, reach, *mask, {0, 0}, 255);
    } else {
      SoftBlendBitmap(target, reach, *mask, {0, 0}, 255);
    }
    return;
  }
  // The layer is made in the target itself.
  canvas.Brush().SetColor(clBlack);
  canvas.FillRect(rect);
  const FontColorScope white(canvas.Font(), clWhite);
  DrawPlainText(canvas, text,
                SaturatedRect(int64_t{rect.Left} + r, int64_t{rect.Top} + r, int64_t{rect.Right} - r,
                              int64_t{rect.Bottom} - r),
                format);
  // The glow spreads over the part of the rectangle the target holds.
  const TRect area{std::max(rect.Left, 0), std::max(rect.Top, 0), std::min(rect.Right, target.Width()),
                   std::min(rect.Bottom, target.Height())};
  ApplyGlow(*this, target, area, premultiplied, white.Saved());
}

template <typename Char>
int32_t TRadiateTextPainter::MeasureWithHalo(TCanvas& canvas, const Char* text, TRect& rect, int32_t format) {
  const int32_t height = TTextPainter::MeasureText(canvas, text, rect, format);
  if (WidthOf(rect) > 0 && HeightOf(rect) > 0) {
    const int64_t grow = 2 * int64_t{EffectiveRadius()};
    rect.Right = SaturateInt32(rect.Right + grow);
    rect.Bottom = SaturateInt32(rect.Bottom + grow);
  }
  return height;
}

void TRadiateTextPainter::PaintText(TCanvas& target, const char* text, const TRect& rect, int32_t format,
                                    int32_t asLayer, bool premultiplied) {
  PaintHaloOnCanvas(target, text, rect, format, asLayer, premultiplied);
}

void TRadiateTextPainter::PaintText(TCanvas& target, const wchar_t* text, const TRect& rect, int32_t format,
                                    int32_t asLayer, bool premultiplied) {
  PaintHaloOnCanvas(target, text, rect, format, asLayer, premultiplied);
}

void TRadiateTextPainter::PaintText(TBitmap& target, const char* text, const TRect& rect, int32_t format,
                                    int32_t asLayer, bool premultiplied) {
  PaintHaloIntoBitmap(target, text, rect, format, asLayer, premultiplied);
}

void TRadiateTextPainter::PaintText(TBitmap& target, const wchar_t* text, const TRect& rect, int32_t format,
                                    int32_t asLayer, bool premultiplied) {
  PaintHaloIntoBitmap(target, text, rect, format, asLayer, premultiplied);
}

int32_t TRadiateTextPainter::MeasureText(TCanvas& canvas, const char* text, TRect& rect, int32_t format) {
  return MeasureWithHalo(canvas, text, rect, format);
}

int32_t TRadiateTextPainter::MeasureText(TCanvas& canvas, const wchar_t* text, TRect& rect, int32_t format) {
  return MeasureWithHalo(canvas, text, rect, format);
}
