#pragma once
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <map>
#include <optional>
#include <vector>

#include "platform/xlib/error_trap.h"
#include "platform/xlib/randr_resources.h"
#include "rotation/linux_desktop/screen_control.h"

namespace quillet::x11 {

// The default screen's configuration through XRandR 1.3 or later. Each
// change is waited for, so that a refusal shows in its result.
class RandrScreen : public linux_desktop::ScreenControl {
 public:
  RandrScreen(Display* display, platform::xlib::ErrorTrap& trap);

  void GrabServer() override;
  void UngrabServer() override;
  std::optional<linux_desktop::ScreenState> Read() override;
  bool SetScreenSize(const linux_desktop::ScreenSize& size) override;
  bool SetCrtc(uint64_t crtc, const linux_desktop::CrtcConfig& config) override;

 private:
  Display* display_;
  platform::xlib::ErrorTrap& trap_;
  Window root_;
  platform::xlib::ScreenResources resources_;
  std::map<RRCrtc, std::vector<RROutput>> outputs_;  // of each active CRTC, as read
};

}  // namespace quillet::x11
