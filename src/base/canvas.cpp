#include "base/canvas.h"

#include <algorithm>
#include <cstring>

#include "base/bitmap.h"
#include "platform/services.h"

namespace {

platform::Rect ToPlatform(const TRect& r) {
  return {r.Left, r.Top, r.Right, r.Bottom};
}
TRect FromPlatform(const platform::Rect& r) {
  return {r.left, r.top, r.right, r.bottom};
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
  const TRect wanted = TRect::Saturated(
      destRect.Left, destRect.Top,
      destRect.Left + std::min(destRect.ExactWidth(), sourceRect.ExactWidth()),
      destRect.Top + std::min(destRect.ExactHeight(), sourceRect.ExactHeight()));
  const TRect area = wanted.Intersected(TRect::OfSize(bitmap_.Width(), bitmap_.Height()))
                         .Intersected(TRect::OfSize(from.Width(), from.Height())
                                          .Translated(shiftX, shiftY));
  if (area.IsEmpty()) return;
  const int64_t dx = area.Left, dy = area.Top, sx = dx - shiftX, sy = dy - shiftY;
  const int64_t width = area.ExactWidth(), height = area.ExactHeight();

  const int32_t toBpp = bitmap_.BytesPerPixel();
  const int32_t fromBpp = from.BytesPerPixel();
  // A canvas may copy onto itself: rows go bottom-up when the area moves down.
  const bool bottomUp = &from == &bitmap_ && dy > sy;
  for (int64_t step = 0; step < height; ++step) {
    const int64_t row = bottomUp ? height - 1 - step : step;
    const uint8_t* in = from.ScanLine(static_cast<int32_t>(sy + row)) + sx * fromBpp;
    uint8_t* out = bitmap_.ScanLine(static_cast<int32_t>(dy + row)) + dx * toBpp;
    if (toBpp == fromBpp) {
      std::memmove(out, in, static_cast<size_t>(width * toBpp));
      continue;
    }
    for (int64_t x = 0; x < width; ++x, in += fromBpp, out += toBpp) {
      std::copy_n(in, 3, out);
      if (toBpp == 4) out[3] = 0;
    }
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

namespace {

int32_t RasterizeText(platform::PixelBuffer& target, const platform::TextStyle& style,
                      const char* text, platform::Rect& rect, uint32_t format) {
  return platform::GetTextRasterizer().DrawTextA(target, style, text, rect, format);
}

int32_t RasterizeText(platform::PixelBuffer& target, const platform::TextStyle& style,
                      const wchar_t* text, platform::Rect& rect, uint32_t format) {
  return platform::GetTextRasterizer().DrawTextW(target, style, text, rect, format);
}

}  // namespace

template <typename Char>
int32_t TCanvas::DrawTextOf(const Char* text, TRect& rect, uint32_t format) {
  platform::PixelBuffer target = bitmap_.Buffer();
  platform::Rect r = ToPlatform(rect);
  const int32_t height = RasterizeText(target, Style(), text, r, format);
  rect = FromPlatform(r);
  if ((format & platform::kTextCalcRect) == 0) bitmap_.Changed();
  return height;
}

int32_t TCanvas::DrawText(const char* text, TRect& rect, uint32_t format) {
  return DrawTextOf(text, rect, format);
}

int32_t TCanvas::DrawText(const wchar_t* text, TRect& rect, uint32_t format) {
  return DrawTextOf(text, rect, format);
}
