#include "rotation/screen_rotation.h"

#include <optional>

#include "rotation/input_mapping.h"
#include "rotation/screen_layout.h"
#include "rotation/screen_turn.h"

namespace quillet::xdesktop {
namespace {

// Gives the applications time to follow the new screen before the caller
// looks again.
constexpr uint32_t kSettleMilliseconds = 250;

class ServerGrab {
 public:
  explicit ServerGrab(ScreenControl& screen) : screen_(screen) { screen_.GrabServer(); }
  ~ServerGrab() { screen_.UngrabServer(); }
  ServerGrab(const ServerGrab&) = delete;
  ServerGrab& operator=(const ServerGrab&) = delete;

 private:
  ScreenControl& screen_;
};

}  // namespace

int32_t GetAngle(ScreenControl& screen) {
  const std::optional<ScreenState> state = screen.Read();
  if (!state || state->crtcs.empty()) return -1;
  return CodeOfRotation(state->crtcs[PanelCrtc(*state)].config.rotation);
}

int32_t SetAngle(ScreenControl& screen, InputDevices& devices, void (*pause)(uint32_t milliseconds),
                 int32_t code) {
  std::optional<ScreenState> before;
  std::optional<ScreenLayout> layout;
  {
    ServerGrab grab(screen);
    before = screen.Read();
    if (!before || before->crtcs.empty()) return 0;
    layout = LayOut(*before, PanelCrtc(*before), code);
    if (!layout || !ApplyLayout(screen, *before, *layout)) return 0;
  }
  FollowScreen(devices, code, *before, *layout);
  if (pause != nullptr) pause(kSettleMilliseconds);
  return 1;
}

}  // namespace quillet::xdesktop
