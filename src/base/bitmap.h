#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "base/callback.h"
#include "base/persistent.h"
#include "platform/types.h"

class TCanvas;

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
