#pragma once
// Helpers for tests of text drawing: reading and writing 32-bit pixels and
// standing in another text rasteriser for a while.
#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "base/bitmap.h"
#include "base/font.h"
#include "platform/services.h"
#include "platform/text_rasterizer.h"

namespace testing_support {

using Pixel = std::array<uint8_t, 4>;  // blue, green, red, alpha

// A 24-bit pixel reads with alpha 0.
inline Pixel At(const TBitmap& bitmap, int32_t x, int32_t y) {
  const uint8_t* p = bitmap.ScanLine(y) + x * bitmap.BytesPerPixel();
  return {p[0], p[1], p[2], bitmap.BytesPerPixel() == 4 ? p[3] : uint8_t{0}};
}

inline void Set(TBitmap& bitmap, int32_t x, int32_t y, Pixel value) {
  uint8_t* p = bitmap.ScanLine(y) + x * bitmap.BytesPerPixel();
  for (int c = 0; c < bitmap.BytesPerPixel(); ++c) p[c] = value[static_cast<size_t>(c)];
}

// A 32-bit bitmap of the given size, every pixel `value`.
inline void Fill(TBitmap& bitmap, int32_t width, int32_t height, Pixel value) {
  bitmap.SetPixelFormat(TPixelFormat::pf32bit);
  bitmap.SetSize(width, height);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) Set(bitmap, x, y, value);
  }
}

// Every pixel of a bitmap, for comparing two bitmaps at once.
inline std::vector<uint8_t> Bytes(const TBitmap& bitmap) {
  std::vector<uint8_t> bytes;
  for (int32_t y = 0; y < bitmap.Height(); ++y) {
    bytes.insert(bytes.end(), bitmap.ScanLine(y), bitmap.ScanLine(y) + bitmap.Stride());
  }
  return bytes;
}

// Installs another text rasteriser beside the services already installed,
// for the life of the object.
class ScopedTextRasterizer {
 public:
  explicit ScopedTextRasterizer(platform::TextRasterizer& rasterizer) {
    platform::Services services = platform::Install({});
    previous_ = services;
    services.text = &rasterizer;
    platform::Install(services);
  }
  ~ScopedTextRasterizer() { platform::Install(previous_); }
  ScopedTextRasterizer(const ScopedTextRasterizer&) = delete;
  ScopedTextRasterizer& operator=(const ScopedTextRasterizer&) = delete;

 private:
  platform::Services previous_;
};

// Passes every call on to another rasteriser and notes the largest picture,
// in pixels, that text went into. The painters draw the text into each
// temporary whose size follows the text; the others cover at most what
// shows of the target.
class LargestTargetRasterizer : public platform::TextRasterizer {
 public:
  explicit LargestTargetRasterizer(platform::TextRasterizer& next) : next_(next) {}

  int32_t Draw(platform::PixelBuffer& target, const platform::TextStyle& style, const char* text,
               platform::Rect& rect, const platform::TextLayout& layout) override {
    Note(target);
    return next_.Draw(target, style, text, rect, layout);
  }
  int32_t Draw(platform::PixelBuffer& target, const platform::TextStyle& style, const wchar_t* text,
               platform::Rect& rect, const platform::TextLayout& layout) override {
    Note(target);
    return next_.Draw(target, style, text, rect, layout);
  }

  int64_t largest = 0;

 private:
  void Note(const platform::PixelBuffer& target) {
    largest = std::max(largest, int64_t{target.width} * target.height);
  }
  platform::TextRasterizer& next_;
};

// Measures every text as a fixed extent and draws nothing.
class FixedExtentRasterizer : public platform::TextRasterizer {
 public:
  FixedExtentRasterizer(int32_t width, int32_t height) : width_(width), height_(height) {}

  int32_t Draw(platform::PixelBuffer&, const platform::TextStyle&, const char*,
               platform::Rect& rect, const platform::TextLayout& layout) override {
    return Measure(rect, layout);
  }
  int32_t Draw(platform::PixelBuffer&, const platform::TextStyle&, const wchar_t*,
               platform::Rect& rect, const platform::TextLayout& layout) override {
    return Measure(rect, layout);
  }
  platform::TextLayout lastLayout;

 private:
  int32_t Measure(platform::Rect& rect, const platform::TextLayout& layout) {
    lastLayout = layout;
    if (layout.measureOnly) {
      rect.right = static_cast<int32_t>(std::min<int64_t>(int64_t{rect.left} + width_, INT32_MAX));
      rect.bottom = static_cast<int32_t>(std::min<int64_t>(int64_t{rect.top} + height_, INT32_MAX));
    }
    return height_;
  }
  int32_t width_;
  int32_t height_;
};

}  // namespace testing_support
