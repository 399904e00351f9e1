#include "effects/text_box.h"

#include <algorithm>

#include "base/bitmap.h"
#include "base/text_format.h"

namespace {

struct Interval {
  int64_t from;
  int64_t to;
};

// The places a block of `extent` takes in [from, to): at the start when
// neither flag is set, else centred, at the end, or either.
Interval Aligned(int64_t from, int64_t to, int64_t extent, bool centred, bool atEnd) {
  const int64_t middle = from + (to - from - extent) / 2;
  if (centred && atEnd) return {std::min(middle, to - extent), to};
  if (centred) return {middle, middle + extent};
  if (atEnd) return {to - extent, to};
  return {from, from + extent};
}

}  // namespace

TRect TextBox(TCanvas& canvas, PainterText text, const TRect& rect, int32_t format) {
  const auto flags = static_cast<uint32_t>(format);
  // Measured without the alignment flags, which some DrawTexts fold into the
  // measured extent; they do not change how lines break.
  constexpr uint32_t kAlignment = kTextCenter | kTextRight | kTextVCenter | kTextBottom;
  const uint32_t measure = (flags & ~kAlignment) | kTextCalcRect;
  TRect extent = rect;
  DrawPainterText(canvas, text, extent, measure);
  const int64_t width = std::max<int64_t>(extent.ExactWidth(), 0);
  const int64_t height = std::max<int64_t>(extent.ExactHeight(), 0);
  const bool singleLine = (flags & kTextSingleLine) != 0;
  const Interval x =
      Aligned(rect.Left, rect.Right, width, (flags & kTextCenter) != 0, (flags & kTextRight) != 0);
  const Interval y =
      Aligned(rect.Top, rect.Bottom, height, singleLine && (flags & kTextVCenter) != 0,
              singleLine && (flags & kTextBottom) != 0);
  int64_t lineHeight = height;
  if (!singleLine) {
    TRect line = rect;
    DrawPainterText(canvas, text, line, measure | kTextSingleLine);
    lineHeight = line.ExactHeight();
  }
  const int64_t margin = std::max<int64_t>(lineHeight, 16);
  return TRect::Saturated(x.from - margin, y.from - margin, x.to + margin, y.to + margin);
}
