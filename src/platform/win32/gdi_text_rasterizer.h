#pragma once
#include "platform/text_rasterizer.h"

namespace platform::win32 {

// The DrawText flags that ask for `layout`: TextLayoutOf(flags) gives them back.
uint32_t DrawTextFlags(const TextLayout& layout);

// Draws text with GDI's DrawText into a copy of the target area and copies it back.
class GdiTextRasterizer : public TextRasterizer {
 public:
  int32_t Draw(PixelBuffer& target, const TextStyle& style, const char* text, Rect& rect,
               const TextLayout& layout) override;
  int32_t Draw(PixelBuffer& target, const TextStyle& style, const wchar_t* text, Rect& rect,
               const TextLayout& layout) override;

 private:
  template <typename Drawing>
  int32_t Render(PixelBuffer& target, const TextStyle& style, Rect& rect, const TextLayout& layout,
                 Drawing draw);
};

}  // namespace platform::win32
