#include "base/bitmap.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "base/color.h"
#include "base/text_format.h"
#include "platform/services.h"

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

// --- the canvas ---------------------------------------------------------------

namespace {

// One byte of a ternary raster operation: bit (4p + 2s + d) of `table` is the
// result for pattern bit p, source bit s and destination bit d.
uint8_t RasterByte(uint8_t table, uint8_t pattern, uint8_t source, uint8_t dest) {
  uint32_t result = 0;
  for (uint32_t i = 0; i < 8; ++i) {
    if (((table >> i) & 1U) == 0) continue;
    result |= ((i & 4U) != 0 ? pattern : ~pattern) & ((i & 2U) != 0 ? source : ~source) &
              ((i & 1U) != 0 ? dest : ~dest);
  }
  return static_cast<uint8_t>(result);
}

}  // namespace

TCanvas::TCanvas(TBitmap& bitmap)
    : bitmap_(bitmap), font_(std::make_unique<TFont>()), brush_(std::make_unique<TBrush>()) {}

TCanvas::~TCanvas() = default;

void TCanvas::FillRect(const TRect& rect) {
  const TRect area = rect.Intersected(TRect::OfSize(bitmap_.Width(), bitmap_.Height()));
  if (area.IsEmpty()) return;
  const uint32_t rgb = ColorToRGB(brush_->Color());
  const int32_t bpp = bitmap_.BytesPerPixel();
  if (bpp == 4) {
    // Whole pixels at a time: the fill of every frame.
    const uint8_t pattern[4] = {BlueOf(rgb), GreenOf(rgb), RedOf(rgb), 0};
    uint32_t word = 0;
    std::memcpy(&word, pattern, sizeof word);
    for (int32_t y = area.Top; y < area.Bottom; ++y) {
      uint8_t* row = bitmap_.ScanLine(y) + area.Left * 4;
      for (int32_t x = 0; x < area.Width(); ++x) std::memcpy(row + x * 4, &word, sizeof word);
    }
    bitmap_.Changed();
    return;
  }
  for (int32_t y = area.Top; y < area.Bottom; ++y) {
    uint8_t* pixel = bitmap_.ScanLine(y) + area.Left * bpp;
    for (int32_t x = area.Left; x < area.Right; ++x, pixel += bpp) {
      pixel[0] = BlueOf(rgb);
      pixel[1] = GreenOf(rgb);
      pixel[2] = RedOf(rgb);
      if (bpp == 4) pixel[3] = 0;
    }
  }
  bitmap_.Changed();
}

void TCanvas::CopyRect(const TRect& destRect, const TCanvas& source, const TRect& sourceRect) {
  const TBitmap& from = source.bitmap_;
  // The smaller of the two areas, from both top-left corners, seen in this
  // bitmap's coordinates and clipped to both bitmaps.
  const int64_t shiftX = int64_t{destRect.Left} - sourceRect.Left;
  const int64_t shiftY = int64_t{destRect.Top} - sourceRect.Top;
  const TRect wanted =
      TRect::Saturated(destRect.Left, destRect.Top,
                       destRect.Left + std::min(destRect.ExactWidth(), sourceRect.ExactWidth()),
                       destRect.Top + std::min(destRect.ExactHeight(), sourceRect.ExactHeight()));
  const TRect area =
      wanted.Intersected(TRect::OfSize(bitmap_.Width(), bitmap_.Height()))
          .Intersected(TRect::OfSize(from.Width(), from.Height()).Translated(shiftX, shiftY));
  if (area.IsEmpty()) return;
  const int64_t dx = area.Left, dy = area.Top, sx = dx - shiftX, sy = dy - shiftY;
  const int64_t width = area.ExactWidth(), height = area.ExactHeight();

  const int32_t toBpp = bitmap_.BytesPerPixel();
  const int32_t fromBpp = from.BytesPerPixel();
  const bool plain = copyMode_ == cmSrcCopy;
  const auto table = static_cast<uint8_t>(static_cast<uint32_t>(copyMode_) >> 16);
  const uint32_t rgb = ColorToRGB(brush_->Color());
  const uint8_t pattern[4] = {BlueOf(rgb), GreenOf(rgb), RedOf(rgb), 0};
  // The source row in this bitmap's format, taken before the destination
  // row changes (a canvas may copy onto itself).
  std::vector<uint8_t> converted(plain ? 0 : static_cast<size_t>(width * toBpp));
  // A canvas may copy onto itself: rows go bottom-up when the area moves down.
  const bool bottomUp = &from == &bitmap_ && dy > sy;
  for (int64_t step = 0; step < height; ++step) {
    const int64_t row = bottomUp ? height - 1 - step : step;
    const uint8_t* in = from.ScanLine(static_cast<int32_t>(sy + row)) + sx * fromBpp;
    uint8_t* out = bitmap_.ScanLine(static_cast<int32_t>(dy + row)) + dx * toBpp;
    uint8_t* into = plain ? out : converted.data();
    if (toBpp == fromBpp) {
      std::memmove(into, in, static_cast<size_t>(width * toBpp));
    } else {
      for (int64_t x = 0; x < width; ++x) {
        std::copy_n(in + x * fromBpp, 3, into + x * toBpp);
        if (toBpp == 4) into[x * toBpp + 3] = 0;
      }
    }
    if (plain) continue;
    for (int64_t i = 0; i < width * toBpp; ++i)
      out[i] = RasterByte(table, pattern[i % toBpp], converted[static_cast<size_t>(i)], out[i]);
  }
  bitmap_.Changed();
}

platform::TextStyle TCanvas::Style() const {
  platform::TextStyle style;
  style.font = font_->Description();
  style.color = ColorToRGB(font_->Color());
  style.transparent = backgroundMode_ == TBackgroundMode::Transparent;
  style.backgroundColor = ColorToRGB(brush_->Color());
  return style;
}

template <typename Char>
int32_t TCanvas::DrawTextOf(const Char* text, TRect& rect, uint32_t format) {
  platform::PixelBuffer target = bitmap_.Buffer();
  platform::Rect r = rect.ToPlatform();
  const platform::TextLayout layout = TextLayoutOf(format);
  const int32_t height = platform::GetTextRasterizer().Draw(target, Style(), text, r, layout);
  rect = TRect::FromPlatform(r);
  if (!layout.measureOnly) bitmap_.Changed();
  return height;
}

int32_t TCanvas::DrawText(const char* text, TRect& rect, uint32_t format) {
  return DrawTextOf(text, rect, format);
}

int32_t TCanvas::DrawText(const wchar_t* text, TRect& rect, uint32_t format) {
  return DrawTextOf(text, rect, format);
}
