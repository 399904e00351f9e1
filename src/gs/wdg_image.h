#pragma once
#include <memory>

#include "gs/gs_widget.h"

class TObject;

namespace gs {

// Shows one 32-bit picture with per-pixel alpha, at its own size whatever
// the widget's size; with AutoSize the widget takes the picture's size.
class WdgImage : public GsWidget {
 public:
  WdgImage();
  ~WdgImage() override;

  TBitmap& Picture() { return *picture_; }
  const TBitmap& Picture() const { return *picture_; }
  bool AutoSize() const { return autoSize_; }
  // Switching it on sizes the widget to the picture at once, even to 0 x 0.
  void SetAutoSize(bool value);

  // The picture's change handler. An empty picture leaves the size alone.
  void PictureChanged(TObject* sender);

 protected:
  void DoPaint(TBitmap& target, const TRect& rect) override;

 private:
  std::unique_ptr<TBitmap> picture_;
  bool autoSize_ = false;
};

}  // namespace gs
