#include "effects/painter_text.h"

#include <type_traits>

#include "base/bitmap.h"

int32_t DrawPainterText(TCanvas& canvas, PainterText text, TRect& rect, uint32_t format) {
  return std::visit(
      [&](auto* chars) {
        using Char = std::remove_const_t<std::remove_pointer_t<decltype(chars)>>;
        static constexpr Char kEmpty[1] = {0};
        return canvas.DrawText(chars != nullptr ? chars : kEmpty, rect, format);
      },
      text);
}
