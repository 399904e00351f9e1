#include "gs/wdg_image.h"

#include "base/bitmap.h"

namespace gs {

WdgImage::WdgImage() : picture_(std::make_unique<TBitmap>()) {
  picture_->OnChange = TNotifyEvent(this, &WdgImage::PictureChanged);
}

WdgImage::~WdgImage() = default;

void WdgImage::SetAutoSize(bool value) {
  if (value == autoSize_) return;
  autoSize_ = value;
  if (autoSize_) SetBounds(Left(), Top(), picture_->Width(), picture_->Height());
}

void WdgImage::PictureChanged(TObject* /*sender*/) {
  if (!autoSize_ || picture_->Width() <= 0 || picture_->Height() <= 0) return;
  if (picture_->Width() != Width()) SetWidth(picture_->Width());
  if (picture_->Height() != Height()) SetHeight(picture_->Height());
}

void WdgImage::DoPaint(TBitmap& target, const TRect& rect) {
  DrawBitmap(target, rect, *picture_);
}

}  // namespace gs
