#include "gs/widget_factories.h"

#include <utility>

#include "base/bitmap.h"
#include "gs/image_loader.h"

namespace gs {
namespace {

// The state whose picture an empty state shows (see GsButtonAppearance::GetStateBitmap).
size_t FallbackOf(size_t state) {
  return state == GsCtrlAppearance::kSunken ? GsCtrlAppearance::kHovered
                                            : GsCtrlAppearance::kRaised;
}

// A state named like every state it falls back to, down to a Raised picture
// that loaded, shows that very picture while it is empty: it keeps no copy.
bool ShowsRaisedWhenEmpty(GsButtonAppearance& appearance, const ButtonImageNames& names,
                          size_t state) {
  if (state == GsCtrlAppearance::kRaised || appearance.Raised().Empty()) return false;
  for (size_t next = FallbackOf(state);; next = FallbackOf(next)) {
    if (names[next] != names[state]) return false;
    if (next == GsCtrlAppearance::kRaised) return true;
  }
}

}  // namespace

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
  for (size_t i = 0; i < kSlots.size(); ++i) {
    if (names[i].empty()) continue;
    TBitmap& slot = (button.Appearance().*kSlots[i])();
    if (ShowsRaisedWhenEmpty(button.Appearance(), names, i)) {
      slot.TakePixels(0, 0, {});
      continue;
    }
    // A picture loaded for an earlier state is copied rather than decoded again.
    const TBitmap* earlier = nullptr;
    for (size_t j = 0; j < i && earlier == nullptr; ++j) {
      const TBitmap& other = (button.Appearance().*kSlots[j])();
      if (names[j] == names[i] && !other.Empty()) earlier = &other;
    }
    // Either way the owner hears of it once (Raised sizes the button).
    if (earlier != nullptr) {
      slot.Assign(*earlier);
    } else {
      LoadImageFile(folder + names[i], slot);
    }
  }
}

WidgetPtr<WdgImage> CreateImage(const std::wstring& name) {
  auto image = std::make_unique<WdgImage>();
  LoadImageFile(ImagesPath() + name, image->Picture());
  return WidgetPtr<WdgImage>(std::move(image));
}

}  // namespace gs
