#include "base/bitmap.h"

#include <algorithm>
#include <stdexcept>

#include "base/canvas.h"
#include "base/color.h"

namespace {

// Guards against sizes whose byte count does not fit the address space.
constexpr int64_t kMaxPixels = int64_t{1} << 28;

size_t ByteCount(int32_t width, int32_t height, int32_t bytesPerPixel) {
  if (width <= 0 || height <= 0) return 0;
  if (int64_t{width} * height > kMaxPixels) throw std::length_error("bitmap too large");
  return static_cast<size_t>(width) * static_cast<size_t>(height) *
         static_cast<size_t>(bytesPerPixel);
}

}  // namespace

TBitmap::TBitmap() : canvas_(std::make_unique<TCanvas>(*this)) {}

TBitmap::~TBitmap() = default;

void TBitmap::SetWidth(int32_t width) {
  SetSize(width, height_);
}

void TBitmap::SetHeight(int32_t height) {
  SetSize(width_, height);
}

void TBitmap::SetSize(int32_t width, int32_t height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == width_ && height == height_) return;
  Reallocate(width, height, format_);
  Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
  if (format == format_) return;
  Reallocate(width_, height_, format);
  Changed();
}

void TBitmap::Reallocate(int32_t width, int32_t height, TPixelFormat format) {
  const int32_t newBpp = format == TPixelFormat::pf32bit ? 4 : 3;
  std::vector<uint8_t> fresh(ByteCount(width, height, newBpp));
  const uint32_t fill = ColorToRGB(canvas_->Brush().Color());
  for (size_t i = 0; i < fresh.size(); i += static_cast<size_t>(newBpp)) {
    fresh[i] = BlueOf(fill);
    fresh[i + 1] = GreenOf(fill);
    fresh[i + 2] = RedOf(fill);
  }
  const int32_t oldBpp = BytesPerPixel();
  const int32_t rows = std::min(height, height_);
  const int32_t cols = std::min(width, width_);
  for (int32_t y = 0; y < rows; ++y) {
    const uint8_t* from = pixels_.data() + static_cast<size_t>(y) * static_cast<size_t>(Stride());
    uint8_t* to = fresh.data() +
                  static_cast<size_t>(y) * static_cast<size_t>(width) * static_cast<size_t>(newBpp);
    for (int32_t x = 0; x < cols; ++x) {
      std::copy_n(from + x * oldBpp, 3, to + x * newBpp);
      if (newBpp == 4) to[x * 4 + 3] = oldBpp == 4 ? from[x * 4 + 3] : 0;
    }
  }
  pixels_ = std::move(fresh);
  width_ = width;
  height_ = height;
  format_ = format;
}

uint8_t* TBitmap::ScanLine(int32_t row) {
  return const_cast<uint8_t*>(static_cast<const TBitmap*>(this)->ScanLine(row));
}

const uint8_t* TBitmap::ScanLine(int32_t row) const {
  if (row < 0 || row >= height_ || width_ <= 0)
    throw std::out_of_range("scan line outside the bitmap");
  return pixels_.data() + static_cast<size_t>(row) * static_cast<size_t>(Stride());
}

void TBitmap::TakePixels(int32_t width, int32_t height, std::vector<uint8_t> pixels) {
  if (width <= 0 || height <= 0) {
    width = height = 0;
    pixels.clear();
  } else if (pixels.size() != ByteCount(width, height, 4)) {
    throw std::invalid_argument("pixel count does not match the size");
  }
  pixels_ = std::move(pixels);
  width_ = width;
  height_ = height;
  format_ = TPixelFormat::pf32bit;
  Changed();
}

platform::PixelBuffer TBitmap::Buffer() {
  return {Empty() ? nullptr : pixels_.data(), width_, height_, Stride(), BytesPerPixel()};
}

void TBitmap::Assign(const TPersistent& source) {
  const auto* bitmap = dynamic_cast<const TBitmap*>(&source);
  if (bitmap == nullptr) return TPersistent::Assign(source);
  if (bitmap != this) {
    pixels_ = bitmap->pixels_;
    width_ = bitmap->width_;
    height_ = bitmap->height_;
    format_ = bitmap->format_;
  }
  Changed();
}

void TBitmap::Changed() {
  OnChange(this);
}
