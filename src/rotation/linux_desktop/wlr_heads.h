#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "rotation/linux_desktop/desktop_outputs.h"

namespace quillet::linux_desktop {

// One head as a wlroots compositor's output management reports it.
struct WlrHead {
  std::string name;
  bool enabled = false;
  // Its current mode object and that mode's size in pixels; a mode of no
  // size tells nothing.
  bool hasCurrentMode = false;
  int32_t modeWidth = 0;
  int32_t modeHeight = 0;
  int32_t x = 0;
  int32_t y = 0;
  int32_t transform = 0;
  double scale = 1.0;
};

// What the wl_output of the same name shows, with its xdg_output's place in
// the layout (a size as laid out, so swapped while turned by a quarter).
struct WlrLiveOutput {
  int32_t modeWidth = 0;
  int32_t modeHeight = 0;
  int32_t transform = 0;
  int32_t x = 0;
  int32_t y = 0;
  int32_t logicalWidth = 0;
  int32_t logicalHeight = 0;
};

// The head as the compositor runs it. A head reported disabled while its
// wl_output is live (sway reports outputs that only have a custom mode so)
// is taken as that wl_output shows it: enabled, with no mode object.
WlrHead RunningHead(const WlrHead& head, const std::optional<WlrLiveOutput>& live);

// The running head as an output of the layout: its mode divided by its scale
// as wlroots divides (in single precision, cut to whole pixels); built in
// when named like a laptop's panel.
DesktopOutput OutputOfHead(const WlrHead& running);

// What a configuration says for one running head to make it the output asked
// for: disabled, or enabled with its current mode object (else a custom mode
// of its current size, when known), the asked place and transform, and its
// own scale.
struct WlrHeadRequest {
  bool enable = false;
  bool currentMode = false;
  int32_t customWidth = 0;  // 0: no custom mode
  int32_t customHeight = 0;
  int32_t x = 0;
  int32_t y = 0;
  int32_t transform = 0;
  double scale = 1.0;

  bool operator==(const WlrHeadRequest&) const = default;
};
WlrHeadRequest RequestForHead(const WlrHead& running, const DesktopOutput& wanted);

}  // namespace quillet::linux_desktop
