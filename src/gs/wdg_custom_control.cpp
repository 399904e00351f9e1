#include "gs/wdg_custom_control.h"

#include "base/bitmap.h"
#include "base/text_format.h"
#include "effects/text_painter.h"

namespace gs {

WdgCustomControl::WdgCustomControl() : margins_(std::make_unique<GsTextMargins>()) {}

WdgCustomControl::~WdgCustomControl() = default;

TRect WdgCustomControl::TextRect() const {
  return TRect::OfSize(Width(), Height())
      .Inflated(-int64_t{margins_->Left()}, -int64_t{margins_->Top()}, -int64_t{margins_->Right()},
                -int64_t{margins_->Bottom()});
}

int32_t WdgCustomControl::TextFlags() const {
  uint32_t flags = 0;
  switch (alignment_) {
    case GsAlignment::Left:
      flags = kTextLeft;
      break;
    case GsAlignment::Right:
      flags = kTextRight;
      break;
    case GsAlignment::Center:
      flags = kTextCenter;
      break;
  }
  switch (layout_) {
    case GsTextLayout::Top:
      break;
    case GsTextLayout::Center:
      flags |= kTextVCenter;
      break;
    case GsTextLayout::Bottom:
      flags |= kTextBottom;
      break;
  }
  flags |= wordWrap_ ? uint32_t{kTextWordBreak} : uint32_t{kTextSingleLine | kTextVCenter};
  return static_cast<int32_t>(flags);
}

void WdgCustomControl::DrawCaption(TBitmap& target, int32_t state) {
  TRect rect = TextRect();
  const int32_t flags = TextFlags();
  TTextPainter* painter = GetTextPainter(state);
  if (painter == nullptr) return;
  // Wrapped text is placed by hand: the platform centres only a single line.
  if (wordWrap_ && layout_ != GsTextLayout::Top) {
    TRect measured = rect;
    painter->MeasureText(target.Canvas(), Caption().c_str(), measured, flags);
    const int64_t height = measured.ExactHeight(), room = rect.ExactHeight();
    if (height < room) {
      const int64_t shift = layout_ == GsTextLayout::Center ? (room - height) / 2 : room - height;
      rect.Top = SaturateInt32(rect.Top + shift);
    }
  }
  painter->PaintText(target, Caption().c_str(), rect, flags, 0, true);
}

}  // namespace gs
