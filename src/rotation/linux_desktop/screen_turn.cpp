#include "rotation/linux_desktop/screen_turn.h"

#include <vector>

namespace quillet::linux_desktop {
namespace {

bool Fits(const platform::Rect& rect, const ScreenSize& size) {
  return rect.left >= 0 && rect.top >= 0 && rect.right <= size.width && rect.bottom <= size.height;
}

// The changes made so far, and how to take them back.
class Turn {
 public:
  Turn(ScreenControl& screen, const ScreenState& before)
      : screen_(screen), before_(before), now_(before.crtcs.size()) {
    for (size_t i = 0; i < now_.size(); ++i) now_[i] = before.crtcs[i].config;
  }

  bool SetCrtc(size_t index, const CrtcConfig& config) {
    if (!screen_.SetCrtc(before_.crtcs[index].id, config)) return false;
    now_[index] = config;
    return true;
  }

  bool SetSize(const ScreenSize& size) {
    if (!screen_.SetScreenSize(size)) return false;
    sizeChanged_ = true;
    return true;
  }

  // Best effort: a step that fails here leaves nothing better to try.
  void PutBack() {
    for (size_t i = 0; i < now_.size(); ++i) {
      const Crtc& crtc = before_.crtcs[i];
      if (now_[i].mode != 0 && !Fits(Footprint(crtc, now_[i]), before_.size)) SetCrtc(i, {});
    }
    if (sizeChanged_) screen_.SetScreenSize(before_.size);
    for (size_t i = 0; i < now_.size(); ++i) {
      if (now_[i] != before_.crtcs[i].config) SetCrtc(i, before_.crtcs[i].config);
    }
  }

 private:
  ScreenControl& screen_;
  const ScreenState& before_;
  std::vector<CrtcConfig> now_;
  bool sizeChanged_ = false;
};

}  // namespace

bool ApplyLayout(ScreenControl& screen, const ScreenState& before, const ScreenLayout& layout) {
  Turn turn(screen, before);
  const auto failed = [&turn] {
    turn.PutBack();
    return false;
  };
  const size_t count = before.crtcs.size();
  for (size_t i = 0; i < count; ++i) {
    const Crtc& crtc = before.crtcs[i];
    if (layout.crtcs[i] == crtc.config || Fits(Footprint(crtc, crtc.config), layout.size)) continue;
    if (!turn.SetCrtc(i, {})) return failed();
  }
  if (layout.size != before.size && !turn.SetSize(layout.size)) return failed();
  for (size_t i = 0; i < count; ++i) {
    if (layout.crtcs[i] == before.crtcs[i].config) continue;
    if (!turn.SetCrtc(i, layout.crtcs[i])) return failed();
  }
  return true;
}

}  // namespace quillet::linux_desktop
