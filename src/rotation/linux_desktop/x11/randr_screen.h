#pragma once
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "rotation/linux_desktop/screen_control.h"
#include "rotation/linux_desktop/x11/x_error_trap.h"

namespace quillet::x11 {

// The default screen's configuration through XRandR 1.3 or later. Each
// change is waited for, so that a refusal shows in its result.
class RandrScreen : public xdesktop::ScreenControl {
 public:
  RandrScreen(Display* display, XErrorTrap& trap);

  void GrabServer() override;
  void UngrabServer() override;
  std::optional<xdesktop::ScreenState> Read() override;
  bool SetScreenSize(const xdesktop::ScreenSize& size) override;
  bool SetCrtc(uint64_t crtc, const xdesktop::CrtcConfig& config) override;

 private:
  struct FreeResources {
    void operator()(XRRScreenResources* resources) const { XRRFreeScreenResources(resources); }
  };

  bool HasRandr13() const;

  Display* display_;
  XErrorTrap& trap_;
  Window root_;
  std::unique_ptr<XRRScreenResources, FreeResources> resources_;
  std::map<RRCrtc, std::vector<RROutput>> outputs_;  // of each active CRTC, as read
};

}  // namespace quillet::x11
