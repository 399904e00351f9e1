#pragma once
#include "platform/text_rasterizer.h"

namespace platform::win32 {

// Draws text with GDI's DrawText into a copy of the target area and copies it back.
class GdiTextRasterizer : public TextRasterizer {
 public:
  int32_t DrawTextA(PixelBuffer& target, const TextStyle& style, const char* text, Rect& rect,
                    uint32_t format) override;
  int32_t DrawTextW(PixelBuffer& target, const TextStyle& style, const wchar_t* text, Rect& rect,
                    uint32_t format) override;

 private:
  template <typename Draw>
  int32_t Render(PixelBuffer& target, const TextStyle& style, Rect& rect, uint32_t format,
                 Draw draw);
};

}  // namespace platform::win32
