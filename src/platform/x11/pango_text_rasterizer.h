#pragma once
#include <string_view>

#include "platform/text_rasterizer.h"

typedef struct _PangoFontMap PangoFontMap;
typedef struct _PangoContext PangoContext;

namespace platform::x11 {

// Lays out and draws text with Pango and Cairo: grey-scale anti-aliased
// coverage, laid over the target in the style's colour (so white text on
// black leaves the coverage in every colour channel). Alpha is left alone.
class PangoTextRasterizer : public TextRasterizer {
 public:
  PangoTextRasterizer();
  ~PangoTextRasterizer() override;
  PangoTextRasterizer(const PangoTextRasterizer&) = delete;
  PangoTextRasterizer& operator=(const PangoTextRasterizer&) = delete;

  int32_t Draw(PixelBuffer& target, const TextStyle& style, const char* text, Rect& rect,
               const TextLayout& layout) override;
  int32_t Draw(PixelBuffer& target, const TextStyle& style, const wchar_t* text, Rect& rect,
               const TextLayout& layout) override;

  // The same for UTF-8 text.
  int32_t DrawUtf8(PixelBuffer& target, const TextStyle& style, std::string_view text, Rect& rect,
                   const TextLayout& layout);

 private:
  // The fonts are read when text is first drawn: a panel without text never
  // pays for the font configuration.
  void OpenFonts();
  // The fonts open, with the style's smoothing and the layout's reading direction.
  void PrepareContext(const TextStyle& style, const TextLayout& layout);

  PangoFontMap* fontMap_ = nullptr;
  PangoContext* context_ = nullptr;
};

}  // namespace platform::x11
