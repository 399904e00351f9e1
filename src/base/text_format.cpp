#include "base/text_format.h"

namespace {

platform::PrefixHandling PrefixOf(uint32_t format) {
  using platform::PrefixHandling;
  if (format & kTextNoPrefix) return PrefixHandling::kNone;
  if (format & kTextHidePrefix) return PrefixHandling::kHide;
  return PrefixHandling::kMnemonic;
}

platform::Ellipsis EllipsisOf(uint32_t format) {
  using platform::Ellipsis;
  if (format & kTextEndEllipsis) return Ellipsis::kEnd;
  if (format & kTextWordEllipsis) return Ellipsis::kWord;
  return Ellipsis::kNone;
}

}  // namespace

platform::TextLayout TextLayoutOf(uint32_t format) {
  using platform::HorizontalPlacement;
  using platform::VerticalPlacement;
  platform::TextLayout layout;
  if (format & kTextTabStop) {
    layout.tabLength = static_cast<uint8_t>(format >> 8);
    format &= ~uint32_t{0xFF00};
  }
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
  layout.prefix = PrefixOf(format);
  layout.prefixOnly = (format & kTextPrefixOnly) != 0;
  layout.pathEllipsis = (format & kTextPathEllipsis) != 0;
  layout.ellipsis = EllipsisOf(format);
  layout.expandTabs = (format & kTextExpandTabs) != 0;
  layout.noClip = (format & kTextNoClip) != 0;
  layout.externalLeading = (format & kTextExternalLeading) != 0;
  layout.rightToLeft = (format & kTextRtlReading) != 0;
  layout.editControl = (format & kTextEditControl) != 0;
  layout.noFullWidthCharBreak = (format & kTextNoFullWidthCharBreak) != 0;
  layout.systemFont = (format & kTextInternal) != 0;
  return layout;
}
