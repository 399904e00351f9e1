#include "rotation/linux_desktop/desktop_outputs.h"

#include "rotation/linux_desktop/screen_layout.h"

namespace quillet::xdesktop {
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
  std::vector<SpanMove> columns;
  std::vector<SpanMove> rows;
  for (size_t i = 0; i < outputs.size(); ++i) {
    if (!outputs[i].enabled) continue;
    const DesktopOutput& was = outputs[i];
    const bool swapped = IsQuarterTurn(was.transform);
    const bool willSwap = IsQuarterTurn(next[i].transform);
    enabled.push_back(i);
    columns.push_back(
        {{was.x, swapped ? was.height : was.width}, willSwap ? was.height : was.width, 0});
    rows.push_back(
        {{was.y, swapped ? was.width : was.height}, willSwap ? was.width : was.height, 0});
  }
  ArrangeSpans(columns.data(), columns.size());
  ArrangeSpans(rows.data(), rows.size());
  for (size_t n = 0; n < enabled.size(); ++n) {
    next[enabled[n]].x = static_cast<int32_t>(columns[n].start);
    next[enabled[n]].y = static_cast<int32_t>(rows[n].start);
  }
  return next;
}

int32_t GetAngle(DesktopOutputs& desktop) {
  const std::optional<std::vector<DesktopOutput>> outputs = desktop.Read();
  if (!outputs) return -1;
  const std::optional<size_t> tablet = TabletOutput(*outputs);
  if (!tablet) return -1;
  return CodeOfTransform((*outputs)[*tablet].transform);
}

int32_t SetAngle(DesktopOutputs& desktop, void (*pause)(uint32_t milliseconds), int32_t code) {
  const std::optional<std::vector<DesktopOutput>> outputs = desktop.Read();
  if (!outputs) return 0;
  const std::optional<size_t> tablet = TabletOutput(*outputs);
  if (!tablet) return 0;
  if (CodeOfTransform((*outputs)[*tablet].transform) == NormaliseCode(code)) return 1;
  if (!desktop.Apply(TurnOutput(*outputs, *tablet, code))) return 0;
  if (pause != nullptr) pause(kSettleMilliseconds);
  return 1;
}

}  // namespace quillet::xdesktop
