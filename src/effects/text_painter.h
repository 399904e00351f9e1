#pragma once
#include <cstdint>
#include <memory>
#include <variant>

#include "base/geometry.h"
#include "effects/painter_text.h"

class TBitmap;
class TCanvas;

// Where a paint goes: a canvas, or a bitmap, which a painter may also change
// directly (its pixel format, its pixels outside a blend).
using PaintTarget = std::variant<TCanvas*, TBitmap*>;

// The canvas a paint draws on: the target itself or the bitmap's canvas.
TCanvas& CanvasOf(PaintTarget target);

// Leaves the target's canvas as drawing text (asLayer 0) leaves it, for a text
// with no room to be drawn: a plain draw makes the background mode
// transparent, a blend through a canvas leaves it in the plain copy mode.
void SettleTextTarget(PaintTarget target, bool premultiplied);

// Draws and measures captions. Narrow text goes through the platform's 8-bit
// DrawText, wide text through its UTF-16 DrawText; `format` holds DrawText flags.
// asLayer non-zero replaces the target rectangle by the rendered layer (colour
// and alpha) instead of compositing over it; premultiplied says the target is
// a 32-bit premultiplied surface, composed with per-pixel alpha.
//
// Every painter takes the same calls; what it does lies in Paint and Measure.
// A plain TTextPainter draws the text itself, in the target's font and colour.
class TTextPainter {
 public:
  TTextPainter() = default;
  TTextPainter(const TTextPainter&) = delete;
  TTextPainter& operator=(const TTextPainter&) = delete;

  void PaintText(TCanvas& target, const char* text, const TRect& rect, int32_t format,
                 int32_t asLayer, bool premultiplied) {
    Paint(&target, text, rect, format, asLayer, premultiplied);
  }
  void PaintText(TCanvas& target, const wchar_t* text, const TRect& rect, int32_t format,
                 int32_t asLayer, bool premultiplied) {
    Paint(&target, text, rect, format, asLayer, premultiplied);
  }
  void PaintText(TBitmap& target, const char* text, const TRect& rect, int32_t format,
                 int32_t asLayer, bool premultiplied) {
    Paint(&target, text, rect, format, asLayer, premultiplied);
  }
  void PaintText(TBitmap& target, const wchar_t* text, const TRect& rect, int32_t format,
                 int32_t asLayer, bool premultiplied) {
    Paint(&target, text, rect, format, asLayer, premultiplied);
  }
  // Sets `rect` to the extent of the text; returns the text height.
  int32_t MeasureText(TCanvas& canvas, const char* text, TRect& rect, int32_t format) {
    return Measure(canvas, text, rect, format);
  }
  int32_t MeasureText(TCanvas& canvas, const wchar_t* text, TRect& rect, int32_t format) {
    return Measure(canvas, text, rect, format);
  }
  // How an owner gives a painter up. A plain TTextPainter stays alive (it is
  // owned in the ordinary way); the glowing painters destroy themselves.
  virtual void Release();
  virtual ~TTextPainter();

 protected:
  virtual void Paint(PaintTarget target, PainterText text, const TRect& rect, int32_t format,
                     int32_t asLayer, bool premultiplied);
  virtual int32_t Measure(TCanvas& canvas, PainterText text, TRect& rect, int32_t format);
};

// Deleter for owners of painters that end through Release.
struct TextPainterRelease {
  void operator()(TTextPainter* painter) const {
    if (painter != nullptr) painter->Release();
  }
};

template <typename Painter>
using ReleasingPtr = std::unique_ptr<Painter, TextPainterRelease>;
