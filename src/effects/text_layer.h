#pragma once
#include <cstdint>
#include <memory>

#include "base/color.h"
#include "base/geometry.h"
#include "effects/painter_text.h"

class TBitmap;
class TCanvas;
class TFont;

// Building blocks of the text painters. Bitmaps made here are 32-bit.

// Draws text with the canvas's font and font colour at a copy of `rect`,
// without filling its background (the background mode becomes transparent).
void DrawPlainText(TCanvas& canvas, PainterText text, const TRect& rect, int32_t format);

// A bitmap of rect's size whose font is a copy of the canvas's font.
std::unique_ptr<TBitmap> CreateLayerBitmap(TCanvas& canvas, const TRect& rect);
// CreateLayerBitmap filled black, with white as its font colour.
std::unique_ptr<TBitmap> CreateMaskBitmap(TCanvas& canvas, const TRect& rect);
// A bitmap whose every pixel is black with alpha 0.
std::unique_ptr<TBitmap> CreateClearBitmap(int32_t width, int32_t height);

// Makes `rect` of the bitmap a premultiplied text layer: the bitmap's font
// colour with the glyph coverage as alpha, the text placed in `rect` by
// `format`. Pixels outside `rect` are left alone, and the part of `rect`
// outside the bitmap is ignored. A bitmap that is not 32-bit is made 32-bit.
void RenderTextLayer(TBitmap& bitmap, PainterText text, const TRect& rect, int32_t format);

// The text layer of `rect` for the part of it inside the canvas's bitmap only:
// a layer bitmap (CreateLayerBitmap) of that part, with the text placed as
// RenderTextLayer places it in the whole of `rect`. `area` receives where the
// layer belongs; it may reach back past the bitmap's left and top edges to
// rect's own (see ReachingBack). Nothing inside the bitmap: nullptr and an
// empty area.
std::unique_ptr<TBitmap> CreateTextLayer(TCanvas& canvas, PainterText text, const TRect& rect,
                                         int32_t format, TRect& area);

// Sets a font's colour for the life of the object and restores it afterwards.
class FontColorScope {
 public:
  FontColorScope(TFont& font, TColor color);
  ~FontColorScope();
  FontColorScope(const FontColorScope&) = delete;
  FontColorScope& operator=(const FontColorScope&) = delete;

  TColor Saved() const { return saved_; }

 private:
  TFont& font_;
  TColor saved_;
};
