#include "gs/widget_factories.h"

#include <utility>

#include "base/bitmap.h"
#include "gs/image_loader.h"

namespace gs {

WidgetPtr<WdgButton> CreateButton(const ButtonImageNames& names) {
  auto button = std::make_unique<WdgButton>();
  ReloadButtonImages(*button, names);
  return WidgetPtr<WdgButton>(std::move(button));
}

void ReloadButtonImages(WdgButton& button, const ButtonImageNames& names) {
  using Slot = TBitmap& (GsButtonAppearance::*)();
  static constexpr std::array<Slot, 4> kSlots{
      &GsButtonAppearance::Raised, &GsButtonAppearance::Sunken, &GsButtonAppearance::Hovered,
      &GsButtonAppearance::Disabled};
  const std::wstring folder = ImagesPath();
  TBitmap loaded;
  loaded.SetPixelFormat(TPixelFormat::pf32bit);
  for (size_t i = 0; i < kSlots.size(); ++i) {
    if (names[i].empty()) continue;
    LoadImageFile(folder + names[i], loaded);
    // Copied into the slot itself, so the owner hears of it once (Raised sizes the button).
    (button.Appearance().*kSlots[i])().Assign(loaded);
  }
}

WidgetPtr<WdgImage> CreateImage(const std::wstring& name) {
  auto image = std::make_unique<WdgImage>();
  LoadImageFile(ImagesPath() + name, image->Picture());
  return WidgetPtr<WdgImage>(std::move(image));
}

}  // namespace gs
