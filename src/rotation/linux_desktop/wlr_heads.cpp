#include "rotation/linux_desktop/wlr_heads.h"

#include <cmath>

#include "rotation/linux_desktop/quarter_turns.h"

namespace quillet::linux_desktop {
namespace {

// A scale read off a size ratio, put back on the 1/120 steps compositors
// scale by, so that sending it back does not change it.
double ScaleOfSizes(int32_t pixels, int32_t logical) {
  if (pixels <= 0 || logical <= 0) return 1.0;
  return std::round(120.0 * pixels / logical) / 120.0;
}

}  // namespace

WlrHead RunningHead(const WlrHead& head, const std::optional<WlrLiveOutput>& live) {
  WlrHead running = head;
  if (running.modeWidth <= 0 || running.modeHeight <= 0) running.hasCurrentMode = false;
  const bool isLive = live && live->modeWidth > 0 && live->modeHeight > 0;
  if (!isLive) return running;
  if (!running.hasCurrentMode) {
    // A custom mode: only the wl_output tells its size.
    running.modeWidth = live->modeWidth;
    running.modeHeight = live->modeHeight;
  }
  if (head.enabled) return running;
  running.enabled = true;
  running.hasCurrentMode = false;
  running.modeWidth = live->modeWidth;
  running.modeHeight = live->modeHeight;
  running.x = live->x;
  running.y = live->y;
  running.transform = live->transform;
  const int32_t logicalWidth =
      IsQuarterTurn(live->transform) ? live->logicalHeight : live->logicalWidth;
  running.scale = ScaleOfSizes(live->modeWidth, logicalWidth);
  return running;
}

DesktopOutput OutputOfHead(const WlrHead& running) {
  DesktopOutput output;
  output.name = running.name;
  output.builtIn = IsBuiltInPanel(running.name);
  output.enabled = running.enabled;
  output.x = running.x;
  output.y = running.y;
  const float scale = running.scale > 0 ? static_cast<float>(running.scale) : 1.0f;
  output.width = static_cast<int32_t>(static_cast<float>(running.modeWidth) / scale);
  output.height = static_cast<int32_t>(static_cast<float>(running.modeHeight) / scale);
  output.transform = running.transform;
  return output;
}

WlrHeadRequest RequestForHead(const WlrHead& running, const DesktopOutput& wanted) {
  WlrHeadRequest request;
  request.enable = wanted.enabled;
  if (!request.enable) return request;
  request.currentMode = running.hasCurrentMode;
  if (!request.currentMode && running.modeWidth > 0 && running.modeHeight > 0) {
    request.customWidth = running.modeWidth;
    request.customHeight = running.modeHeight;
  }
  request.x = wanted.x;
  request.y = wanted.y;
  request.transform = wanted.transform;
  request.scale = running.scale;
  return request;
}

}  // namespace quillet::linux_desktop
