#include "rotation/linux_desktop/screen_rotation.h"

#include <optional>

#include "rotation/linux_desktop/input_mapping.h"
#include "rotation/linux_desktop/screen_layout.h"
#include "rotation/linux_desktop/screen_turn.h"

namespace quillet::linux_desktop {
namespace {

class ServerGrab {
 public:
  explicit ServerGrab(ScreenControl& screen) : screen_(screen) { screen_.GrabServer(); }
  ~ServerGrab() { screen_.UngrabServer(); }
  ServerGrab(const ServerGrab&) = delete;
  ServerGrab& operator=(const ServerGrab&) = delete;

 private:
  ScreenControl& screen_;
};

ScreenLayout CurrentLayout(const ScreenState& state) {
  ScreenLayout layout{state.size, {}};
  for (const Crtc& crtc : state.crtcs) layout.crtcs.push_back(crtc.config);
  return layout;
}

}  // namespace

int32_t GetScreenAngle(ScreenControl& screen) {
  const std::optional<ScreenState> state = screen.Read();
  if (!state || state->crtcs.empty()) return -1;
  return CodeOfRotation(state->crtcs[PanelCrtc(*state)].config.rotation);
}

int32_t SetScreenAngle(ScreenControl& screen, InputDevices& devices,
                       void (*pause)(uint32_t milliseconds), int32_t code) {
  std::optional<ScreenState> before;
  std::optional<ScreenLayout> layout;
  bool turned = false;
  {
    ServerGrab grab(screen);
    before = screen.Read();
    if (!before || before->crtcs.empty()) return 0;
    const size_t panel = PanelCrtc(*before);
    if (CodeOfRotation(before->crtcs[panel].config.rotation) == NormaliseCode(code)) {
      // Already there: the screen stays exactly as it is, however it is laid
      // out, and only the devices are brought in line with it.
      layout = CurrentLayout(*before);
    } else {
      layout = LayOut(*before, panel, code);
      if (!layout || !ApplyLayout(screen, *before, *layout)) return 0;
      turned = true;
    }
  }
  FollowScreen(devices, *before, *layout);
  if (turned && pause != nullptr) pause(kSettleMilliseconds);
  return 1;
}

}  // namespace quillet::linux_desktop
