#include "effects/blend.h"

#include <algorithm>

#include "base/bitmap.h"
#include "effects/blend_rows.h"

namespace {

// Rounded quotients, saturated at 255: a source whose colour exceeds its
// alpha (not premultiplied) must not spill into the next channel.
inline uint8_t RoundedOver255(uint32_t n) {
  return static_cast<uint8_t>(std::min<uint32_t>((n + 127) / 255, 255));
}
inline uint8_t RoundedOver65025(uint32_t n) {
  return static_cast<uint8_t>(std::min<uint32_t>((n + 65025 / 2) / 65025, 255));
}

}  // namespace

void PremultiplyBitmap(TBitmap& bitmap) {
  if (bitmap.PixelFormat() != TPixelFormat::pf32bit || bitmap.Empty()) return;
  for (int32_t y = 0; y < bitmap.Height(); ++y) {
    uint8_t* pixel = bitmap.ScanLine(y);
    for (int32_t x = 0; x < bitmap.Width(); ++x, pixel += 4) {
      const uint32_t a = pixel[3];
      for (int c = 0; c < 3; ++c) pixel[c] = static_cast<uint8_t>(pixel[c] * a / 255);
    }
  }
  bitmap.Changed();
}

void CopyCanvasRect(TCanvas& canvas, TBitmap& bitmap, const TRect& rect) {
  bitmap.SetSize(rect.Width(), rect.Height());
  canvas.SetCopyMode(cmSrcCopy);
  bitmap.Canvas().CopyRect({0, 0, bitmap.Width(), bitmap.Height()}, canvas, rect);
}

void CopyBitmapToCanvas(TCanvas& canvas, const TRect& rect, TBitmap& bitmap, TPoint origin) {
  const TRect source{origin.X, origin.Y, SaturateInt32(int64_t{origin.X} + rect.Width()),
                     SaturateInt32(int64_t{origin.Y} + rect.Height())};
  canvas.SetCopyMode(cmSrcCopy);
  canvas.CopyRect(rect, bitmap.Canvas(), source);
}

TRect ClipBlendRect(const TBitmap& dest, const TRect& rect, const TBitmap& source, TPoint& origin) {
  // A left or top edge before the start of either bitmap moves in, and the
  // origin with it, until both are at 0 or beyond.
  const int64_t skipX = std::max<int64_t>({0, -int64_t{rect.Left}, -int64_t{origin.X}});
  const int64_t skipY = std::max<int64_t>({0, -int64_t{rect.Top}, -int64_t{origin.Y}});
  TRect clipped =
      rect.Inflated(-skipX, -skipY, 0, 0).Intersected(TRect::OfSize(dest.Width(), dest.Height()));
  const int64_t availW = std::max<int64_t>(source.Width() - (origin.X + skipX), 0);
  const int64_t availH = std::max<int64_t>(source.Height() - (origin.Y + skipY), 0);
  // What the source holds is counted from the edges as passed in, not as
  // moved in: a moved edge leaves fewer columns or rows than the source has.
  if (availW < clipped.ExactWidth()) clipped.Right = SaturateInt32(rect.Left + availW);
  if (availH < clipped.ExactHeight()) clipped.Bottom = SaturateInt32(rect.Top + availH);
  origin = {SaturateInt32(origin.X + skipX), SaturateInt32(origin.Y + skipY)};
  return clipped;
}

void SoftBlendBitmap(TBitmap& dest, const TRect& rect, const TBitmap& source, TPoint origin,
                     uint8_t opacity) {
  const TRect r = ClipBlendRect(dest, rect, source, origin);
  const double k = opacity * (1.0 / 255);
  if (dest.PixelFormat() != TPixelFormat::pf24bit) dest.SetPixelFormat(TPixelFormat::pf24bit);
  // The source is read as 32-bit pixels; anything else cannot be blended this way.
  if (source.PixelFormat() != TPixelFormat::pf32bit || r.IsEmpty()) return;
  for (int32_t i = 0; i < r.Height(); ++i) {
    const uint8_t* s = source.ScanLine(origin.Y + i) + origin.X * 4;
    uint8_t* d = dest.ScanLine(r.Top + i) + r.Left * 3;
    for (int32_t j = 0; j < r.Width(); ++j, s += 4, d += 3) {
      const double a = k * (s[3] * (1.0 / 255));
      const double e = 1.0 - a;
      for (int c = 0; c < 3; ++c) d[c] = static_cast<uint8_t>(s[c] * a + d[c] * e);
    }
  }
  dest.Changed();
}

void AlphaBlendBitmap(TBitmap& dest, const TRect& rect, const TBitmap& source, TPoint origin,
                      uint8_t opacity) {
  const TRect r = ClipBlendRect(dest, rect, source, origin);
  if (r.IsEmpty()) return;
  const bool perPixel = source.PixelFormat() == TPixelFormat::pf32bit;
  const int32_t sBpp = source.BytesPerPixel();
  const int32_t dBpp = dest.BytesPerPixel();
  const uint32_t k = opacity;
  // A bitmap blended onto itself takes the pixel-by-pixel order below.
  if (perPixel && dBpp == 4 && &source != &dest) {
    const blend_rows::Row row = blend_rows::Fastest();
    for (int32_t i = 0; i < r.Height(); ++i) {
      row(source.ScanLine(origin.Y + i) + origin.X * 4, dest.ScanLine(r.Top + i) + r.Left * 4,
          r.Width(), k);
    }
    dest.Changed();
    return;
  }
  for (int32_t i = 0; i < r.Height(); ++i) {
    const uint8_t* s = source.ScanLine(origin.Y + i) + origin.X * sBpp;
    uint8_t* d = dest.ScanLine(r.Top + i) + r.Left * dBpp;
    for (int32_t j = 0; j < r.Width(); ++j, s += sBpp, d += dBpp) {
      if (perPixel) {
        // src * k/255 + dst * (1 - srcAlpha * k/255/255), over the common
        // denominator 255 * 255 and rounded once.
        const uint32_t keep = 255 * 255 - s[3] * k;
        for (int c = 0; c < dBpp; ++c) d[c] = RoundedOver65025(s[c] * k * 255 + d[c] * keep);
      } else {
        // A 24-bit source is opaque: its alpha counts as 255, as the
        // platform's AlphaBlend has it.
        for (int c = 0; c < dBpp; ++c) {
          const uint32_t sc = c < 3 ? s[c] : 255;
          d[c] = RoundedOver255(sc * k + d[c] * (255 - k));
        }
      }
    }
  }
  dest.Changed();
}

namespace {

using BitmapBlend = void (*)(TBitmap&, const TRect&, const TBitmap&, TPoint, uint8_t);

// Blends onto a canvas area by way of a copy of it in the given format.
void BlendThroughCopy(TCanvas& canvas, const TRect& rect, TPixelFormat format, BitmapBlend blend,
                      const TBitmap& source, TPoint origin, uint8_t opacity) {
  TBitmap tmp;
  tmp.SetPixelFormat(format);
  CopyCanvasRect(canvas, tmp, rect);
  blend(tmp, {0, 0, rect.Width(), rect.Height()}, source, origin, opacity);
  CopyBitmapToCanvas(canvas, rect, tmp, {0, 0});
}

}  // namespace

void SoftBlendToCanvas(TCanvas& canvas, const TRect& rect, const TBitmap& source, TPoint origin,
                       uint8_t opacity) {
  BlendThroughCopy(canvas, rect, TPixelFormat::pf24bit, SoftBlendBitmap, source, origin, opacity);
}

void AlphaBlendToCanvas(TCanvas& canvas, const TRect& rect, const TBitmap& source, TPoint origin,
                        uint8_t opacity) {
  BlendThroughCopy(canvas, rect, TPixelFormat::pf32bit, AlphaBlendBitmap, source, origin, opacity);
}
