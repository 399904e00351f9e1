#include "platform/win32/dib_section.h"

#include <cstring>

namespace platform::win32 {

DibSection::DibSection(const PixelBuffer& pixels, int32_t bitsPerPixel)
    : width_(pixels.width), height_(pixels.height), bytesPerPixel_(bitsPerPixel / 8) {
  if (width_ <= 0 || height_ <= 0 || (bitsPerPixel != 24 && bitsPerPixel != 32)) return;
  // Pixels of another depth, or rows shorter than their pixels, cannot be copied row for row.
  if (pixels.bits != nullptr && (pixels.bytesPerPixel != bytesPerPixel_ ||
                                 int64_t{pixels.stride} < int64_t{width_} * bytesPerPixel_)) {
    return;
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width_;
  info.bmiHeader.biHeight = -height_;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = static_cast<WORD>(bitsPerPixel);
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_ = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap_ == nullptr) return;
  bits_ = static_cast<uint8_t*>(bits);
  stride_ = (width_ * bytesPerPixel_ + 3) & ~3;
  if (pixels.bits != nullptr) CopyFrom(pixels);
}

DibSection::~DibSection() {
  if (bitmap_ != nullptr) ::DeleteObject(bitmap_);
}

PixelBuffer DibSection::Pixels() const {
  return {bits_, width_, height_, stride_, bytesPerPixel_};
}

void DibSection::CopyTo(const PixelBuffer& pixels) const {
  if (bits_ == nullptr || pixels.bits == nullptr) return;
  if (pixels.width != width_ || pixels.height != height_ || pixels.bytesPerPixel != bytesPerPixel_)
    return;
  ::GdiFlush();
  const size_t rowBytes = static_cast<size_t>(width_) * static_cast<size_t>(bytesPerPixel_);
  for (int32_t y = 0; y < height_; ++y) {
    std::memcpy(pixels.bits + static_cast<ptrdiff_t>(y) * pixels.stride,
                bits_ + static_cast<size_t>(y) * stride_, rowBytes);
  }
}

bool DibSection::Fits(const PixelBuffer& pixels, int32_t bitsPerPixel) const {
  return bits_ != nullptr && pixels.bits != nullptr && bitsPerPixel == bytesPerPixel_ * 8 &&
         pixels.bytesPerPixel == bytesPerPixel_ && pixels.width == width_ &&
         pixels.height == height_ && int64_t{pixels.stride} >= int64_t{width_} * bytesPerPixel_;
}

bool DibSection::CopyFrom(const PixelBuffer& pixels) {
  if (!Fits(pixels, bytesPerPixel_ * 8)) return false;
  // GDI may still be working on the bitmap's pixels.
  ::GdiFlush();
  const size_t rowBytes = static_cast<size_t>(width_) * static_cast<size_t>(bytesPerPixel_);
  for (int32_t y = 0; y < height_; ++y) {
    std::memcpy(bits_ + static_cast<size_t>(y) * stride_,
                pixels.bits + static_cast<ptrdiff_t>(y) * pixels.stride, rowBytes);
  }
  return true;
}

}  // namespace platform::win32
