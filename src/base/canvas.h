#pragma once
#include <cstdint>
#include <memory>

#include "base/brush.h"
#include "base/font.h"
#include "base/geometry.h"
#include "base/object.h"

class TBitmap;

enum class TBackgroundMode : uint8_t { Opaque, Transparent };

// The drawing surface of a TBitmap. Every drawing operation reports a change
// of its bitmap.
class TCanvas : public TObject {
 public:
  explicit TCanvas(TBitmap& bitmap);
  ~TCanvas() override;

  TBitmap& Bitmap() const { return bitmap_; }
  TFont& Font() { return *font_; }
  const TFont& Font() const { return *font_; }
  TBrush& Brush() { return *brush_; }
  const TBrush& Brush() const { return *brush_; }
  TBackgroundMode BackgroundMode() const { return backgroundMode_; }
  void SetBackgroundMode(TBackgroundMode mode) { backgroundMode_ = mode; }

  // Fills with the brush colour; the alpha bytes of a 32-bit bitmap become 0.
  void FillRect(const TRect& rect);
  // Copies `sourceRect` of `source` to `destRect` of this canvas, pixel for
  // pixel (areas of the same size, else the smaller one from both top-left
  // corners; clipped to both bitmaps). Between two 32-bit bitmaps the alpha
  // bytes travel with the colour; from 24 to 32 bits they become 0. It is
  // the plain copy, the only raster operation the toolkit uses.
  void CopyRect(const TRect& destRect, const TCanvas& source, const TRect& sourceRect);
  // Draws zero-terminated text with the font and its colour; with the
  // calculate-rectangle flag the rectangle receives the text's extent instead.
  int32_t DrawText(const char* text, TRect& rect, uint32_t format);
  int32_t DrawText(const wchar_t* text, TRect& rect, uint32_t format);

 private:
  platform::TextStyle Style() const;
  template <typename Char>
  int32_t DrawTextOf(const Char* text, TRect& rect, uint32_t format);

  TBitmap& bitmap_;
  std::unique_ptr<TFont> font_;
  std::unique_ptr<TBrush> brush_;
  TBackgroundMode backgroundMode_ = TBackgroundMode::Opaque;
};
