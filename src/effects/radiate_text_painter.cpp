#include "effects/radiate_text_painter.h"

#include <algorithm>
#include <utility>

#include "base/bitmap.h"
#include "effects/blend.h"
#include "effects/glow.h"
#include "effects/scratch_area.h"
#include "effects/sparse_glow.h"
#include "effects/text_box.h"
#include "effects/text_layer.h"

namespace {

// The most pixels the mask of a text far from the target may cover; a text
// larger than this gets no halo.
constexpr int64_t kMaxTextArea = int64_t{1} << 22;

// Whether the (2r + 1) x (2r + 1) glow kernel fits the budget.
bool KernelFits(int64_t radius, int64_t budget) {
  return radius < (int64_t{1} << 20) && (2 * radius + 1) * (2 * radius + 1) <= budget;
}

TPoint Offset(const TRect& area, TPoint origin) {
  return {SaturateInt32(int64_t{area.Left} - origin.X),
          SaturateInt32(int64_t{area.Top} - origin.Y)};
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

// A visible pixel takes its glow from mask cells at most Radius away, and a
// cell outside the text rectangle is black. So the mask needs only the visible
// part and the text within Radius of it; the window of the filter, clipped to
// that smaller mask, loses only black cells and every visible value stays.
// Where affordable the mask starts at the layer's corner, as the whole mask
// does, so that DrawText rounds the place of a too-wide line the same way.
// Without room for the text the halo is clear, and nothing is drawn or glowed.
TRadiateTextPainter::HaloLayer TRadiateTextPainter::RenderHalo(TCanvas& source, PainterText text,
                                                               const TRect& rect,
                                                               const TRect& visible, int64_t budget,
                                                               int32_t format, bool premultiplied,
                                                               TColor colour) {
  const int64_t r = EffectiveRadius();
  const TRect textRect = rect.Inflated(-r);
  TRect lit = textRect.Intersected(visible.Inflated(r));
  const TRect whole = visible.United(lit);
  if (!textRect.IsEmpty() && whole.Area() <= budget && KernelFits(r, budget)) {
    const TRect area = ReachingBack(whole, rect, budget);
    std::unique_ptr<TBitmap> mask = CreateMaskBitmap(source, area);
    DrawPlainText(mask->Canvas(), text,
                  textRect.Translated(-int64_t{area.Left}, -int64_t{area.Top}), format);
    ApplyGlow(Glow(), *factory_, *mask, {0, 0, mask->Width(), mask->Height()}, premultiplied,
              colour);
    return {std::move(mask), {area.Left, area.Top}};
  }
  // The text reaches far, or the kernel would dwarf the areas: the mask covers
  // only where glyphs can be, and the glow is worked out from its lit cells.
  if (lit.Area() > budget) lit = lit.Intersected(TextBox(source, text, textRect, format));
  if (lit.Area() > kMaxTextArea) lit = {};
  lit = ReachingBack(lit, rect, budget);
  ValueMap luminance;
  if (!lit.IsEmpty()) {
    std::unique_ptr<TBitmap> mask = CreateMaskBitmap(source, lit);
    DrawPlainText(mask->Canvas(), text, textRect.Translated(-int64_t{lit.Left}, -int64_t{lit.Top}),
                  format);
    luminance = BuildLuminanceMap(*mask, {0, 0, mask->Width(), mask->Height()});
  }
  ValueMap glow = ComputeSparseGlowMap(Glow(), *factory_, luminance, {lit.Left, lit.Top}, visible);
  std::unique_ptr<TBitmap> layer = CreateClearBitmap(visible.Width(), visible.Height());
  WriteGlowLayer(*layer, {0, 0, layer->Width(), layer->Height()}, glow, premultiplied, colour);
  return {std::move(layer), {visible.Left, visible.Top}};
}

void TRadiateTextPainter::PaintHaloOnCanvas(TCanvas& target, PainterText text, const TRect& rect,
                                            int32_t format, int32_t asLayer, bool premultiplied) {
  const TBitmap& bitmap = target.Bitmap();
  const TRect visible = rect.Intersected(TRect::OfSize(bitmap.Width(), bitmap.Height()));
  if (visible.IsEmpty()) return;
  const HaloLayer halo =
      RenderHalo(target, text, rect, visible, ScratchBudget(bitmap.Width(), bitmap.Height()),
                 format, premultiplied, target.Font().Color());
  const TPoint from = Offset(visible, halo.origin);
  if (asLayer != 0) {
    CopyBitmapToCanvas(target, visible, *halo.bitmap, from);
  } else if (premultiplied) {
    AlphaBlendToCanvas(target, visible, *halo.bitmap, from, 255);
  } else {
    SoftBlendToCanvas(target, visible, *halo.bitmap, from, 255);
  }
}

void TRadiateTextPainter::PaintHaloIntoBitmap(TBitmap& target, PainterText text, const TRect& rect,
                                              int32_t format, int32_t asLayer, bool premultiplied) {
  const int64_t r = EffectiveRadius();
  TCanvas& canvas = target.Canvas();
  const TRect bounds = TRect::OfSize(target.Width(), target.Height());
  const int64_t budget = ScratchBudget(target.Width(), target.Height());
  const TRect visible = rect.Intersected(bounds);
  if (asLayer == 0) {
    if (visible.IsEmpty()) {
      // The software blend leaves the target 24-bit even when none of the
      // halo shows.
      if (!premultiplied) target.SetPixelFormat(TPixelFormat::pf24bit);
      return;
    }
    const HaloLayer halo = RenderHalo(canvas, text, rect, visible, budget, format, premultiplied,
                                      canvas.Font().Color());
    const TPoint from = Offset(visible, halo.origin);
    if (premultiplied) {
      AlphaBlendBitmap(target, visible, *halo.bitmap, from, 255);
    } else {
      SoftBlendBitmap(target, visible, *halo.bitmap, from, 255);
    }
    return;
  }
  // The layer is made in the target itself, and the glow spreads over the
  // part of the rectangle the target holds. Whether or not there is room for
  // the text, the canvas is left as the text and the glow's fill leave it:
  // background transparent, brush in the glow colour.
  canvas.SetBackgroundMode(TBackgroundMode::Transparent);
  if (rect.IsEmpty()) return canvas.Brush().SetColor(canvas.Font().Color());
  const TRect textRect = rect.Inflated(-r);
  canvas.Brush().SetColor(clBlack);
  canvas.FillRect(rect);
  const FontColorScope white(canvas.Font(), clWhite);
  if (!textRect.IsEmpty()) DrawPlainText(canvas, text, textRect, format);
  if (visible.IsEmpty()) return canvas.Brush().SetColor(white.Saved());
  if (!textRect.IsEmpty() && KernelFits(r, budget))
    return ApplyGlow(Glow(), *factory_, target, visible, premultiplied, white.Saved());
  // A kernel larger than the area adds only weights that never meet it, and
  // without text there is nothing to spread.
  target.SetPixelFormat(TPixelFormat::pf32bit);
  const ValueMap luminance = BuildLuminanceMap(target, visible);
  ValueMap glow =
      ComputeSparseGlowMap(Glow(), *factory_, luminance, {visible.Left, visible.Top}, visible);
  WriteGlowLayer(target, visible, glow, premultiplied, white.Saved());
}

void TRadiateTextPainter::Paint(PaintTarget target, PainterText text, const TRect& rect,
                                int32_t format, int32_t asLayer, bool premultiplied) {
  if (TBitmap* const* bitmap = std::get_if<TBitmap*>(&target)) {
    return PaintHaloIntoBitmap(**bitmap, text, rect, format, asLayer, premultiplied);
  }
  PaintHaloOnCanvas(*std::get<TCanvas*>(target), text, rect, format, asLayer, premultiplied);
}

int32_t TRadiateTextPainter::Measure(TCanvas& canvas, PainterText text, TRect& rect,
                                     int32_t format) {
  const int32_t height = TTextPainter::Measure(canvas, text, rect, format);
  if (rect.ExactWidth() > 0 && rect.ExactHeight() > 0) {
    const int64_t grow = 2 * int64_t{EffectiveRadius()};
    rect = rect.Inflated(0, 0, grow, grow);
  }
  return height;
}
