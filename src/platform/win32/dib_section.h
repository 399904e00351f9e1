#pragma once
#include "platform/win32/windows_api.h"

#include "platform/types.h"

namespace platform::win32 {

// A top-down device-independent bitmap holding a copy of some pixels, for
// handing them to GDI. Deleted with the object. Not valid for an empty size,
// a depth other than 24 or 32 bits, or pixels that do not have that depth.
class DibSection {
 public:
  DibSection(const PixelBuffer& pixels, int32_t bitsPerPixel);
  ~DibSection();
  DibSection(const DibSection&) = delete;
  DibSection& operator=(const DibSection&) = delete;

  bool Valid() const { return bitmap_ != nullptr; }
  HBITMAP Handle() const { return bitmap_; }
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  // The pixels as GDI sees them; rows are 4-byte aligned.
  PixelBuffer Pixels() const;
  // Copies the pixels back into `pixels`, which must have the size and depth
  // of the construction; anything else is left alone.
  void CopyTo(const PixelBuffer& pixels) const;
  // Whether `pixels` of that depth have this bitmap's size and depth, so that
  // CopyFrom takes them and the bitmap can be used again instead of made anew.
  bool Fits(const PixelBuffer& pixels, int32_t bitsPerPixel) const;
  // Copies `pixels` in, row for row, if they fit; otherwise returns false.
  bool CopyFrom(const PixelBuffer& pixels);

 private:
  HBITMAP bitmap_ = nullptr;
  uint8_t* bits_ = nullptr;
  int32_t width_ = 0;
  int32_t height_ = 0;
  int32_t bytesPerPixel_ = 4;
  int32_t stride_ = 0;
};

}  // namespace platform::win32
