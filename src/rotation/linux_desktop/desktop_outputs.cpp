#include "rotation/linux_desktop/desktop_outputs.h"

#include "rotation/linux_desktop/quarter_turns.h"

namespace quillet::linux_desktop {
namespace {

constexpr int32_t kFlipped = 4;

int32_t CodeOfTransform(int32_t transform) {
  return (transform & 3) + 1;
}

}  // namespace

std::optional<size_t> TabletOutput(const std::vector<DesktopOutput>& outputs) {
  std::optional<size_t> first;
  for (size_t i = 0; i < outputs.size(); ++i) {
    if (!outputs[i].enabled) continue;
    if (outputs[i].builtIn) return i;
    if (!first) first = i;
  }
  return first;
}

std::vector<DesktopOutput> TurnOutput(const std::vector<DesktopOutput>& outputs, size_t turned,
                                      int32_t code) {
  std::vector<DesktopOutput> next = outputs;
  next[turned].transform = (outputs[turned].transform & kFlipped) | (NormaliseCode(code) - 1);

  std::vector<size_t> enabled;
  std::vector<Reshape> reshapes;
  for (size_t i = 0; i < outputs.size(); ++i) {
    if (!outputs[i].enabled) continue;
    const DesktopOutput& was = outputs[i];
    const bool swapped = IsQuarterTurn(was.transform);
    const bool willSwap = IsQuarterTurn(next[i].transform);
    enabled.push_back(i);
    reshapes.push_back({was.x, was.y, swapped ? was.height : was.width,
                        swapped ? was.width : was.height, willSwap ? was.height : was.width,
                        willSwap ? was.width : was.height});
  }
  const std::vector<Corner> corners = ArrangeOutputs(reshapes);
  for (size_t n = 0; n < enabled.size(); ++n) {
    next[enabled[n]].x = static_cast<int32_t>(corners[n].x);
    next[enabled[n]].y = static_cast<int32_t>(corners[n].y);
  }
  return next;
}

int32_t GetDesktopAngle(DesktopOutputs& desktop) {
  const std::optional<std::vector<DesktopOutput>> outputs = desktop.Read();
  if (!outputs) return -1;
  const std::optional<size_t> tablet = TabletOutput(*outputs);
  if (!tablet) return -1;
  return CodeOfTransform((*outputs)[*tablet].transform);
}

int32_t SetDesktopAngle(DesktopOutputs& desktop, void (*pause)(uint32_t milliseconds),
                        int32_t code) {
  const std::optional<std::vector<DesktopOutput>> outputs = desktop.Read();
  if (!outputs) return 0;
  const std::optional<size_t> tablet = TabletOutput(*outputs);
  if (!tablet) return 0;
  if (CodeOfTransform((*outputs)[*tablet].transform) == NormaliseCode(code)) return 1;
  if (!desktop.Apply(TurnOutput(*outputs, *tablet, code))) return 0;
  if (pause != nullptr) pause(kSettleMilliseconds);
  return 1;
}

}  // namespace quillet::linux_desktop
