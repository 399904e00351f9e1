#include "effects/text_layer.h"

#include "base/bitmap.h"
#include "base/font.h"
#include "effects/scratch_area.h"

void DrawPlainText(TCanvas& canvas, PainterText text, const TRect& rect, int32_t format) {
  TRect copy = rect;
  canvas.SetBackgroundMode(TBackgroundMode::Transparent);
  DrawPainterText(canvas, text, copy, static_cast<uint32_t>(format));
}

void RenderTextLayer(TBitmap& bitmap, PainterText text, const TRect& rect, int32_t format) {
  if (bitmap.PixelFormat() != TPixelFormat::pf32bit) bitmap.SetPixelFormat(TPixelFormat::pf32bit);
  // Only the part of the rectangle inside the bitmap is rendered; the mask
  // covers just that part (reaching back to the rectangle's start where
  // affordable) and the text keeps its place relative to `rect`.
  // The brush takes the font colour even when nothing of `rect` is inside.
  TCanvas& canvas = bitmap.Canvas();
  canvas.Brush().SetColor(canvas.Font().Color());
  const TRect area = rect.Intersected(TRect::OfSize(bitmap.Width(), bitmap.Height()));
  if (area.IsEmpty()) return;
  const TRect maskArea = ReachingBack(area, rect, ScratchBudget(bitmap.Width(), bitmap.Height()));
  std::unique_ptr<TBitmap> mask = CreateLayerBitmap(canvas, maskArea);

  canvas.FillRect(area);

  TCanvas& maskCanvas = mask->Canvas();
  maskCanvas.Font().SetColor(clWhite);
  maskCanvas.Brush().SetColor(clBlack);
  maskCanvas.FillRect({0, 0, mask->Width(), mask->Height()});
  DrawPlainText(maskCanvas, text, rect.Translated(-int64_t{maskArea.Left}, -int64_t{maskArea.Top}),
                format);

  // The coverage comes from the blue channel of the white-on-black mask.
  for (int32_t y = area.Top; y < area.Bottom; ++y) {
    uint8_t* pixel = bitmap.ScanLine(y) + static_cast<ptrdiff_t>(area.Left) * 4;
    const uint8_t* cover =
        mask->ScanLine(y - maskArea.Top) + static_cast<ptrdiff_t>(area.Left - maskArea.Left) * 4;
    for (int32_t x = area.Left; x < area.Right; ++x, pixel += 4, cover += 4) {
      const uint32_t a = cover[0];
      pixel[3] = static_cast<uint8_t>(a);
      for (int c = 0; c < 3; ++c) pixel[c] = static_cast<uint8_t>(pixel[c] * a / 255);
    }
  }
  bitmap.Changed();
}

std::unique_ptr<TBitmap> CreateTextLayer(TCanvas& canvas, PainterText text, const TRect& rect,
                                         int32_t format, TRect& area) {
  const TBitmap& target = canvas.Bitmap();
  area = rect.Intersected(TRect::OfSize(target.Width(), target.Height()));
  if (area.IsEmpty()) {
    area = {};
    return nullptr;
  }
  area = ReachingBack(area, rect, ScratchBudget(target.Width(), target.Height()));
  std::unique_ptr<TBitmap> layer = CreateLayerBitmap(canvas, area);
  RenderTextLayer(*layer, text, rect.Translated(-int64_t{area.Left}, -int64_t{area.Top}), format);
  return layer;
}

std::unique_ptr<TBitmap> CreateLayerBitmap(TCanvas& canvas, const TRect& rect) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(TPixelFormat::pf32bit);
  // A negative extent gives 0; one beyond int32 saturates, and the bitmap refuses it.
  bitmap->SetSize(rect.Width(), rect.Height());
  bitmap->Canvas().Font().Assign(canvas.Font());
  return bitmap;
}

std::unique_ptr<TBitmap> CreateMaskBitmap(TCanvas& canvas, const TRect& rect) {
  std::unique_ptr<TBitmap> bitmap = CreateLayerBitmap(canvas, rect);
  TCanvas& maskCanvas = bitmap->Canvas();
  maskCanvas.Brush().SetColor(clBlack);
  maskCanvas.FillRect({0, 0, bitmap->Width(), bitmap->Height()});
  maskCanvas.Font().SetColor(clWhite);
  return bitmap;
}

std::unique_ptr<TBitmap> CreateClearBitmap(int32_t width, int32_t height) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(TPixelFormat::pf32bit);
  bitmap->Canvas().Brush().SetColor(clBlack);
  bitmap->SetSize(width, height);
  return bitmap;
}

FontColorScope::FontColorScope(TFont& font, TColor color) : font_(font), saved_(font.Color()) {
  font.SetColor(color);
}

FontColorScope::~FontColorScope() {
  font_.SetColor(saved_);
}
