#include "gs/per_pixel_layered_window.h"

#include "base/bitmap.h"
#include "base/form.h"
#include "platform/services.h"

namespace gs {
namespace {

// The blend record of every push: source over, full constant alpha,
// premultiplied per-pixel alpha. Bytes in memory: 00 00 FF 01.
constexpr platform::BlendBytes kBlendTemplate{0, 0, 255, 1};

}  // namespace

PerPixelLayeredWindowBase::PerPixelLayeredWindowBase()
    : updateLayeredWindowAvailable_(platform::GetWindowing().LayeredUpdateAvailable()) {}

void PerPixelLayeredWindowBase::UpdateFromBitmap(platform::WindowHandle window, TObject& source) {
  const platform::LayeredSource pixels = GetBitmapHandle(source);
  const bool perPixel = pixels.bitsPerPixel == 32 && usePerPixelAlpha_;
  if (useConstantAlpha_ || perPixel) {
    if (!updateLayeredWindowAvailable_) return;
    platform::BlendBytes blend = kBlendTemplate;
    if (useConstantAlpha_) blend.sourceConstantAlpha = alpha_;
    SetLayeredStyle(window, true, clickThrough_);
    PushLayered(window, pixels, blend, platform::kLayeredAlpha);
  } else if (useColorKey_) {
    if (!updateLayeredWindowAvailable_) return;
    SetLayeredStyle(window, true, clickThrough_);
    PushLayered(window, pixels, kBlendTemplate, platform::kLayeredColorKey);
  } else if (SetLayeredStyle(window, false, clickThrough_)) {
    platform::GetWindowing().Redraw(window, platform::kRedrawInvalidateEraseAllFrame);
  }
}

bool PerPixelLayeredWindowBase::SetLayeredStyle(platform::WindowHandle window, bool layered,
                                                bool clickThrough) {
  platform::Windowing& windowing = platform::GetWindowing();
  constexpr uint32_t kBoth = platform::kExStyleLayered | platform::kExStyleTransparent;
  const uint32_t current = windowing.GetExStyle(window);
  const uint32_t wanted = (clickThrough ? platform::kExStyleTransparent : 0u) |
                          (layered ? platform::kExStyleLayered : 0u);
  if ((current & kBoth) == wanted) return false;
  windowing.SetExStyle(window, (current & ~kBoth) | wanted);
  return true;
}

void PerPixelLayeredWindowBase::PushLayered(platform::WindowHandle window,
                                            const platform::LayeredSource& source,
                                            platform::BlendBytes blend, uint32_t flags) const {
  // The platform places the source at the window's top-left corner and sizes
  // the window to it; its result is not examined.
  platform::GetWindowing().UpdateLayered(window, source, colorKey_, blend, flags);
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
