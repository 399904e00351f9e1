#include "base/text_format.h"

platform::TextLayout TextLayoutOf(uint32_t format) {
  using platform::HorizontalPlacement;
  using platform::VerticalPlacement;
  platform::TextLayout layout;
  if (format & kTextCenter)
    layout.horizontal = HorizontalPlacement::kCentre;
  else if (format & kTextRight)
    layout.horizontal = HorizontalPlacement::kRight;
  if (format & kTextVCenter)
    layout.vertical = VerticalPlacement::kCentre;
  else if (format & kTextBottom)
    layout.vertical = VerticalPlacement::kBottom;
  layout.singleLine = (format & kTextSingleLine) != 0;
  layout.wordWrap = (format & kTextWordBreak) != 0;
  layout.measureOnly = (format & kTextCalcRect) != 0;
  return layout;
}
