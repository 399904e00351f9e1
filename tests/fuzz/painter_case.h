#pragma once
// One text painting drawn from a fuzz input: which painter, its settings, the
// target and the text. The record layout is described in README.md.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "base/bitmap.h"
#include "base/geometry.h"
#include "effects/outer_glow_text_painter.h"
#include "effects/radiate_text_painter.h"
#include "effects/text_painter.h"
#include "fuzz_input.h"

namespace fuzzing {

enum class PainterKind : uint8_t { Plain, Radiate, OuterGlow };

// Bits of the flags byte.
enum PainterFlags : uint8_t {
  kIntoBitmap = 1u << 0,  // the TBitmap overloads, else the TCanvas ones
  kWideText = 1u << 1,
  kPremultiplied = 1u << 2,
  kTarget32 = 1u << 3,  // a 32-bit target, else 24-bit
  kNullText = 1u << 4,
};

// Bounds that keep one run fast; everything else takes any value. A far or
// wide halo costs its lit text cells times the target's pixels, so the text's
// size is held to what captions use. Within these bounds no text is so large
// that it gets no halo (see kMaxTextArea).
inline constexpr int32_t kMaxTargetSide = 64;
inline constexpr size_t kMaxTextLength = 32;
inline constexpr int16_t kMaxFontHeight = 48;

struct PainterCase {
  PainterKind kind = PainterKind::Plain;
  uint8_t flags = 0;
  int32_t asLayer = 0;
  int32_t format = 0;
  TRect rect;
  int32_t radius = 0;
  uint8_t spread = 0;
  uint8_t opacity = 0;
  int32_t radiationX = 0;
  int32_t radiationY = 0;
  TColor glowColor = 0;
  TColor fontColor = 0;
  TColor brushColor = 0;
  int16_t fontHeight = 0;
  uint8_t coverage = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t extraWidth = 0;  // how much larger the second target of a comparison is
  int32_t extraHeight = 0;
  uint32_t fillSeed = 0;
  std::string narrowText;
  std::wstring wideText;

  bool Has(PainterFlags flag) const { return (flags & flag) != 0; }
};

inline PainterCase ReadPainterCase(FuzzInput& in) {
  PainterCase c;
  c.kind = static_cast<PainterKind>(in.Take<uint8_t>() % 3);
  c.flags = in.Take<uint8_t>();
  c.asLayer = in.Take<int32_t>();
  c.format = in.Take<int32_t>();
  c.rect.Left = in.Take<int32_t>();
  c.rect.Top = in.Take<int32_t>();
  c.rect.Right = in.Take<int32_t>();
  c.rect.Bottom = in.Take<int32_t>();
  c.radius = in.Take<int32_t>();
  c.spread = in.Take<uint8_t>();
  c.opacity = in.Take<uint8_t>();
  c.radiationX = in.Take<int32_t>();
  c.radiationY = in.Take<int32_t>();
  c.glowColor = in.Take<uint32_t>();
  c.fontColor = in.Take<uint32_t>();
  c.brushColor = in.Take<uint32_t>();
  c.fontHeight = std::clamp<int16_t>(in.Take<int16_t>(), -kMaxFontHeight, kMaxFontHeight);
  c.coverage = in.Take<uint8_t>();
  c.width = in.Take<uint8_t>() % (kMaxTargetSide + 1);
  c.height = in.Take<uint8_t>() % (kMaxTargetSide + 1);
  c.extraWidth = in.Take<uint8_t>() % (kMaxTargetSide + 1);
  c.extraHeight = in.Take<uint8_t>() % (kMaxTargetSide + 1);
  c.fillSeed = in.Take<uint32_t>();
  if (c.Has(kWideText)) {
    c.wideText = in.WideText(kMaxTextLength);
  } else {
    c.narrowText = in.NarrowText(kMaxTextLength);
  }
  return c;
}

// A pixel of the fill pattern: the same at the same place in targets of any
// size, and premultiplied (no colour byte above alpha) in 32-bit targets.
inline void FillPixel(uint8_t* pixel, int32_t bytesPerPixel, uint32_t seed, int32_t x, int32_t y) {
  uint32_t h =
      seed ^ (static_cast<uint32_t>(x) * 0x9E3779B1u) ^ (static_cast<uint32_t>(y) * 0x85EBCA77u);
  h ^= h >> 15, h *= 0x2C1B3C6Du, h ^= h >> 12;
  const uint32_t alpha = bytesPerPixel == 4 ? (h >> 24) : 255;
  for (int c = 0; c < 3; ++c)
    pixel[c] = static_cast<uint8_t>(((h >> (8 * c)) & 0xFF) * alpha / 255);
  if (bytesPerPixel == 4) pixel[3] = static_cast<uint8_t>(alpha);
}

// Sizes and fills `target` and sets up its canvas as the case says.
inline void PrepareTarget(const PainterCase& c, TBitmap& target, int32_t width, int32_t height) {
  TCanvas& canvas = target.Canvas();
  canvas.Brush().SetColor(c.brushColor);
  canvas.Font().SetColor(c.fontColor);
  canvas.Font().SetHeight(c.fontHeight);
  target.SetPixelFormat(c.Has(kTarget32) ? TPixelFormat::pf32bit : TPixelFormat::pf24bit);
  target.SetSize(width, height);
  for (int32_t y = 0; !target.Empty() && y < target.Height(); ++y) {
    uint8_t* row = target.ScanLine(y);
    for (int32_t x = 0; x < target.Width(); ++x)
      FillPixel(row + x * target.BytesPerPixel(), target.BytesPerPixel(), c.fillSeed, x, y);
  }
}

// The painter of a case: a plain one owned here, or a glowing one that ends through Release.
class PainterHolder {
 public:
  explicit PainterHolder(const PainterCase& c) {
    if (c.kind == PainterKind::Plain) return;
    if (c.kind == PainterKind::Radiate) {
      glowing_ = TRadiateTextPainter::Create();
    } else {
      ReleasingPtr<TOuterGlowTextPainter> outer = TOuterGlowTextPainter::Create();
      outer->SetColor(c.glowColor);
      outer->SetRadiationX(c.radiationX);
      outer->SetRadiationY(c.radiationY);
      glowing_ = std::move(outer);
    }
    glowing_->SetRadius(c.radius);
    glowing_->SetSpread(c.spread);
    glowing_->SetOpacity(c.opacity);
  }

  TTextPainter& Painter() { return glowing_ ? *glowing_ : plain_; }

 private:
  TTextPainter plain_;
  ReleasingPtr<TRadiateTextPainter> glowing_;
};

// Measures and then paints the case's text into `target` through the public overloads.
inline void PaintCase(const PainterCase& c, TTextPainter& painter, TBitmap& target) {
  TCanvas& canvas = target.Canvas();
  const bool wide = c.Has(kWideText);
  const char* narrow = c.Has(kNullText) ? nullptr : c.narrowText.c_str();
  const wchar_t* wideText = c.Has(kNullText) ? nullptr : c.wideText.c_str();
  TRect measured = c.rect;
  if (wide) {
    painter.MeasureText(canvas, wideText, measured, c.format);
  } else {
    painter.MeasureText(canvas, narrow, measured, c.format);
  }
  const bool premultiplied = c.Has(kPremultiplied);
  if (c.Has(kIntoBitmap)) {
    if (wide) {
      painter.PaintText(target, wideText, c.rect, c.format, c.asLayer, premultiplied);
    } else {
      painter.PaintText(target, narrow, c.rect, c.format, c.asLayer, premultiplied);
    }
  } else if (wide) {
    painter.PaintText(canvas, wideText, c.rect, c.format, c.asLayer, premultiplied);
  } else {
    painter.PaintText(canvas, narrow, c.rect, c.format, c.asLayer, premultiplied);
  }
}

}  // namespace fuzzing
