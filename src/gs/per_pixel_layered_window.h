#pragma once
#include <cstdint>

#include "platform/windowing.h"

class TBitmap;
class TForm;
class TObject;

namespace gs {

// Shows a composed picture as the whole content of a top-level window, with
// the picture's own alpha per pixel and an optional constant alpha on top.
// Three modes, chosen anew at every push:
// - alpha mode, when UseConstantAlpha is set, or when UsePerPixelAlpha is set
//   and the source has 32 bits per pixel: the window is made layered and the
//   source pushed with its alpha at an overall opacity of Alpha if
//   UseConstantAlpha, else 255;
// - colour-key mode, otherwise when UseColorKey is set: layered, pushed colour-keyed;
// - otherwise the window leaves layered mode and is redrawn if that changed it.
// Where the platform cannot update layered windows, the first two modes do
// nothing at all: a window made layered but never filled would vanish, so it
// stays as it is and keeps showing its ordinary content.
class PerPixelLayeredWindowBase {
 public:
  // Asks the platform once, here, whether layered windows can be updated.
  PerPixelLayeredWindowBase();
  virtual ~PerPixelLayeredWindowBase() = default;
  PerPixelLayeredWindowBase(const PerPixelLayeredWindowBase&) = delete;
  PerPixelLayeredWindowBase& operator=(const PerPixelLayeredWindowBase&) = delete;

  // The pixels of `source` to push, with their depth; empty when the source
  // has none. The source keeps owning them.
  virtual platform::LayeredSource GetBitmapHandle(TObject& source) = 0;

  // Pushes `source` to `window` in the mode the settings select. The settings
  // below are plain stores: they take effect at the next push.
  void UpdateFromBitmap(platform::WindowHandle window, TObject& source);

  uint32_t ColorKey() const { return colorKey_; }
  void SetColorKey(uint32_t colorKey) { colorKey_ = colorKey; }
  bool UseColorKey() const { return useColorKey_; }
  void SetUseColorKey(bool value) { useColorKey_ = value; }
  bool ClickThrough() const { return clickThrough_; }
  void SetClickThrough(bool value) { clickThrough_ = value; }
  bool UseConstantAlpha() const { return useConstantAlpha_; }
  void SetUseConstantAlpha(bool value) { useConstantAlpha_ = value; }
  uint8_t Alpha() const { return alpha_; }
  void SetAlpha(uint8_t alpha) { alpha_ = alpha; }
  bool UsePerPixelAlpha() const { return usePerPixelAlpha_; }
  void SetUsePerPixelAlpha(bool value) { usePerPixelAlpha_ = value; }
  bool UpdateLayeredWindowAvailable() const { return updateLayeredWindowAvailable_; }

 private:
  uint32_t colorKey_ = 0xFFFFFFFF;
  bool useColorKey_ = false;
  bool clickThrough_ = false;
  bool useConstantAlpha_ = false;
  uint8_t alpha_ = 255;
  bool usePerPixelAlpha_ = false;
  bool updateLayeredWindowAvailable_ = false;
};

// The layered-window push for a TBitmap source and a form's window.
class TPerPixelLayeredWindowMaker : public PerPixelLayeredWindowBase {
 public:
  // The bitmap's own pixels (premultiplied when 32-bit); nothing for a source
  // that is not a TBitmap.
  platform::LayeredSource GetBitmapHandle(TObject& source) override;

  // Pushes `bitmap` to the form's window, creating the window if it does not exist yet.
  void UpdateForm(TForm& form, TBitmap& bitmap);
};

}  // namespace gs
