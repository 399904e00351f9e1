#include "effects/glow.h"

#include <array>
#include <bit>
#include <cstring>
#include <stdexcept>

#include "base/bitmap.h"
#include "effects/filter.h"
#include "effects/glow_filter_factory.h"

namespace {

void RequireInside(const TBitmap& bitmap, const TRect& rect) {
  if (rect.Left < 0 || rect.Top < 0 || rect.Right > bitmap.Width() ||
      rect.Bottom > bitmap.Height()) {
    throw std::out_of_range("glow area outside the bitmap");
  }
}

void RequireAlphaTarget(const TBitmap& bitmap, const TRect& rect, const ValueMap& map) {
  if (rect.IsEmpty()) return;
  if (bitmap.PixelFormat() != TPixelFormat::pf32bit)
    throw std::invalid_argument("alpha needs a 32-bit bitmap");
  RequireInside(bitmap, rect);
  if (map.Rows() < rect.Height() || map.Columns() < rect.Width())
    throw std::out_of_range("map smaller than area");
}

static_assert(std::endian::native == std::endian::little, "pixels are read as little-endian words");

// B, G, R of a 32-bit pixel as 0x00RRGGBB, alpha dropped.
inline uint32_t ColorBytes(const uint8_t* pixel) {
  uint32_t value;
  std::memcpy(&value, pixel, 4);
  return value & 0xFFFFFF;
}

// Each of B, G, R scaled by a / 255, rounding half up.
inline uint32_t Premultiplied(uint32_t color, uint8_t a) {
  const double f = a * (1.0 / 255);
  uint32_t scaled = 0;
  for (int c = 0; c < 3; ++c) {
    const auto channel = static_cast<uint8_t>(color >> (8 * c));
    scaled |= uint32_t{static_cast<uint8_t>(channel * f + 0.5)} << (8 * c);
  }
  return scaled;
}

// Clamps the map cell to 255 and returns the alpha byte it gives.
inline uint8_t ClampedAlpha(int32_t& cell) {
  if (cell > 255) cell = 255;
  return static_cast<uint8_t>(cell);
}

}  // namespace

ValueMap BuildLuminanceMap(const TBitmap& bitmap, const TRect& rect) {
  if (rect.IsEmpty()) return ValueMap();
  RequireInside(bitmap, rect);
  const int32_t bpp = bitmap.BytesPerPixel();
  ValueMap map = AllocateMap(rect.Height(), rect.Width());
  // Masks come in long runs of one colour; the last result is reused for them.
  uint32_t lastColor = 0;
  int32_t lastValue = 0;
  for (int32_t i = 0; i < rect.Height(); ++i) {
    const uint8_t* pixel = bitmap.ScanLine(rect.Top + i) + static_cast<ptrdiff_t>(rect.Left) * bpp;
    int32_t* out = map[i];
    for (int32_t j = 0; j < rect.Width(); ++j, pixel += bpp) {
      const uint32_t color =
          bpp == 4 ? ColorBytes(pixel)
                   : pixel[0] | (uint32_t{pixel[1]} << 8) | (uint32_t{pixel[2]} << 16);
      if (color != lastColor) {
        lastColor = color;
        lastValue =
            static_cast<int32_t>(0.299 * pixel[2] + 0.587 * pixel[1] + 0.114 * pixel[0] + 0.5);
      }
      out[j] = lastValue;
    }
  }
  return map;
}

void ConfigureFactory(OuterGlowFilterFactory& factory, const GlowSettings& settings) {
  factory.SetSpread(static_cast<float>(settings.spread * (1.0 / 255)));
  factory.SetOpacity(static_cast<float>(settings.opacity * (1.0 / 255)));
}

ValueMap ComputeGlowMap(const GlowSettings& settings, OuterGlowFilterFactory& factory,
                        const TBitmap& mask, const TRect& rect) {
  ValueMap source = BuildLuminanceMap(mask, rect);
  ValueMap glow = AllocateMap(rect.Height(), rect.Width());
  ConfigureFactory(factory, settings);
  Filter& filter = factory.CreateFilter(settings.radius);
  ApplyToMap(filter, source, 0, 0, source.Rows(), source.Columns(), glow, 0, 0);
  FreeMap(source);
  factory.ReleaseFilter(filter);
  return glow;
}

void WriteAlpha(TBitmap& bitmap, const TRect& rect, ValueMap& map) {
  RequireAlphaTarget(bitmap, rect, map);
  for (int32_t i = 0; i < rect.Height(); ++i) {
    uint8_t* pixel = bitmap.ScanLine(rect.Top + i) + static_cast<ptrdiff_t>(rect.Left) * 4;
    int32_t* cells = map[i];
    for (int32_t j = 0; j < rect.Width(); ++j, pixel += 4) pixel[3] = ClampedAlpha(cells[j]);
  }
  if (!rect.IsEmpty()) bitmap.Changed();
}

void WriteAlphaPremultiplied(TBitmap& bitmap, const TRect& rect, ValueMap& map) {
  RequireAlphaTarget(bitmap, rect, map);
  if (rect.IsEmpty()) return;
  // A glow layer is one colour throughout: the premultiplied forms of the
  // colour of the first pixel are worked out once per alpha value.
  const uint32_t common =
      ColorBytes(bitmap.ScanLine(rect.Top) + static_cast<ptrdiff_t>(rect.Left) * 4);
  std::array<uint32_t, 256> table{};
  for (uint32_t a = 0; a < 256; ++a) table[a] = Premultiplied(common, static_cast<uint8_t>(a));
  for (int32_t i = 0; i < rect.Height(); ++i) {
    uint8_t* pixel = bitmap.ScanLine(rect.Top + i) + static_cast<ptrdiff_t>(rect.Left) * 4;
    int32_t* cells = map[i];
    for (int32_t j = 0; j < rect.Width(); ++j, pixel += 4) {
      const uint8_t a = ClampedAlpha(cells[j]);
      const uint32_t color = ColorBytes(pixel);
      const uint32_t result =
          (color == common ? table[a] : Premultiplied(color, a)) | (uint32_t{a} << 24);
      std::memcpy(pixel, &result, 4);
    }
  }
  bitmap.Changed();
}

void ApplyGlow(const GlowSettings& settings, OuterGlowFilterFactory& factory, TBitmap& mask,
               const TRect& rect, bool premultiplied, TColor colour) {
  if (rect.IsEmpty()) return;
  mask.SetPixelFormat(TPixelFormat::pf32bit);
  ValueMap glow = ComputeGlowMap(settings, factory, mask, rect);
  mask.Canvas().Brush().SetColor(colour);
  mask.Canvas().FillRect(rect);
  if (premultiplied) {
    WriteAlphaPremultiplied(mask, rect, glow);
  } else {
    WriteAlpha(mask, rect, glow);
  }
  FreeMap(glow);
}
