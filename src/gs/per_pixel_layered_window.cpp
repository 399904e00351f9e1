#include "gs/per_pixel_layered_window.h"

#include "base/bitmap.h"
#include "base/form.h"
#include "platform/services.h"

namespace gs {

PerPixelLayeredWindowBase::PerPixelLayeredWindowBase()
    : updateLayeredWindowAvailable_(platform::GetWindowing().LayeredUpdateAvailable()) {}

void PerPixelLayeredWindowBase::UpdateFromBitmap(platform::WindowHandle window, TObject& source) {
  platform::Windowing& windowing = platform::GetWindowing();
  const platform::LayeredSource pixels = GetBitmapHandle(source);
  const bool perPixel = pixels.bitsPerPixel == 32 && usePerPixelAlpha_;
  // The platform places the source at the window's top-left corner and sizes
  // the window to it; its result is not examined.
  if (useConstantAlpha_ || perPixel) {
    if (!updateLayeredWindowAvailable_) return;
    windowing.SetLayered(window, true, clickThrough_);
    windowing.PushWithAlpha(window, pixels, useConstantAlpha_ ? alpha_ : uint8_t{255});
  } else if (useColorKey_) {
    if (!updateLayeredWindowAvailable_) return;
    windowing.SetLayered(window, true, clickThrough_);
    windowing.PushColorKeyed(window, pixels, colorKey_);
  } else if (windowing.SetLayered(window, false, clickThrough_)) {
    windowing.RedrawAll(window);
  }
}

platform::LayeredSource TPerPixelLayeredWindowMaker::GetBitmapHandle(TObject& source) {
  auto* bitmap = dynamic_cast<TBitmap*>(&source);
  if (bitmap == nullptr) return {{}, 0};
  return {bitmap->Buffer(), bitmap->BitsPerPixel()};
}

void TPerPixelLayeredWindowMaker::UpdateForm(TForm& form, TBitmap& bitmap) {
  UpdateFromBitmap(form.Handle(), bitmap);
}

}  // namespace gs
