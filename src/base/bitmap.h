#pragma once
// TBitmap and its TCanvas share one header pair because each needs the other:
// the bitmap owns its canvas and fills new pixels with the canvas's brush, and
// the canvas draws on its bitmap's pixels and reports every drawing to it.
#include <cstdint>
#include <memory>
#include <vector>

#include "base/brush.h"
#include "base/callback.h"
#include "base/font.h"
#include "base/geometry.h"
#include "base/object.h"
#include "base/persistent.h"
#include "platform/types.h"

class TBitmap;

enum class TBackgroundMode : uint8_t { Opaque, Transparent };

// Copy modes are the platform's ternary raster operations: the byte at bits
// 16..23 is the truth table of the result over the pattern (the brush), the
// source and the destination. The plain copy is the default.
inline constexpr int32_t cmSrcCopy = 0x00CC0020;

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
  // How CopyRect combines the source with this canvas.
  int32_t CopyMode() const { return copyMode_; }
  void SetCopyMode(int32_t mode) { copyMode_ = mode; }

  // Fills with the brush colour; the alpha bytes of a 32-bit bitmap become 0.
  void FillRect(const TRect& rect);
  // Copies `sourceRect` of `source` to `destRect` of this canvas, pixel for
  // pixel (areas of the same size, else the smaller one from both top-left
  // corners; clipped to both bitmaps). Between two 32-bit bitmaps the alpha
  // bytes travel with the colour; from 24 to 32 bits they become 0. Each byte
  // is combined with the destination and the brush as CopyMode says; in the
  // default mode, the plain copy, the source arrives unchanged.
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
  int32_t copyMode_ = cmSrcCopy;
  TBackgroundMode backgroundMode_ = TBackgroundMode::Opaque;
};

enum class TPixelFormat : uint8_t { pf24bit, pf32bit };

// An in-memory picture of 24 (blue, green, red) or 32 (blue, green, red,
// alpha) bits per pixel, rows top-down. Resizing fills new pixels with the
// canvas brush colour at alpha 0 and keeps the old picture where it overlaps.
class TBitmap : public TPersistent {
 public:
  TBitmap();
  ~TBitmap() override;

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  bool Empty() const { return width_ <= 0 || height_ <= 0; }
  TPixelFormat PixelFormat() const { return format_; }
  int32_t BytesPerPixel() const { return format_ == TPixelFormat::pf32bit ? 4 : 3; }
  int32_t BitsPerPixel() const { return BytesPerPixel() * 8; }
  int32_t Stride() const { return width_ * BytesPerPixel(); }

  void SetWidth(int32_t width);
  void SetHeight(int32_t height);
  void SetSize(int32_t width, int32_t height);
  // Converting to pf24bit drops the alpha bytes; to pf32bit gives alpha 0.
  void SetPixelFormat(TPixelFormat format);

  // Row `row` of the picture, 0 being the top; std::out_of_range outside it.
  uint8_t* ScanLine(int32_t row);
  const uint8_t* ScanLine(int32_t row) const;

  // Replaces the picture with 32-bit pixels handed over by the caller.
  void TakePixels(int32_t width, int32_t height, std::vector<uint8_t> pixels);
  platform::PixelBuffer Buffer();

  TCanvas& Canvas() { return *canvas_; }

  // Full copy of another bitmap (size, format, pixels); reports one change.
  void Assign(const TPersistent& source) override;

  // Fires OnChange; the canvas calls it after it drew.
  void Changed();
  TNotifyEvent OnChange;

 private:
  void Reallocate(int32_t width, int32_t height, TPixelFormat format);

  int32_t width_ = 0;
  int32_t height_ = 0;
  TPixelFormat format_ = TPixelFormat::pf24bit;
  std::vector<uint8_t> pixels_;
  std::unique_ptr<TCanvas> canvas_;
};
