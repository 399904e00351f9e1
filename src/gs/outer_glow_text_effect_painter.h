#pragma once
#include <cstdint>

#include "effects/text_painter.h"

namespace gs {

class GsTextRadiationEffect;

// Draws with a GsTextRadiationEffect: puts the effect's font on the target and
// leaves the glow to the effect's glow painter. Into a bitmap the caption is
// moved by the effect's offset and cut off at the unmoved rectangle; on a
// canvas and when measuring the offset does not apply. Reads the effect anew
// on every call. Its Release does nothing: the effect owns it.
class GsOuterGlowTextEffectPainter : public TTextPainter {
 public:
  explicit GsOuterGlowTextEffectPainter(GsTextRadiationEffect& effect) : effect_(effect) {}

  void PaintText(TCanvas& target, const char* text, const TRect& rect, int32_t format,
                 int32_t asLayer, bool premultiplied) override;
  void PaintText(TCanvas& target, const wchar_t* text, const TRect& rect, int32_t format,
                 int32_t asLayer, bool premultiplied) override;
  void PaintText(TBitmap& target, const char* text, const TRect& rect, int32_t format,
                 int32_t asLayer, bool premultiplied) override;
  void PaintText(TBitmap& target, const wchar_t* text, const TRect& rect, int32_t format,
                 int32_t asLayer, bool premultiplied) override;
  int32_t MeasureText(TCanvas& canvas, const char* text, TRect& rect, int32_t format) override;
  int32_t MeasureText(TCanvas& canvas, const wchar_t* text, TRect& rect, int32_t format) override;

  GsTextRadiationEffect& Effect() const { return effect_; }

 private:
  template <typename Char>
  void PaintIntoBitmap(TBitmap& target, const Char* text, const TRect& rect, int32_t format,
                       int32_t asLayer, bool premultiplied);

  GsTextRadiationEffect& effect_;
};

}  // namespace gs
