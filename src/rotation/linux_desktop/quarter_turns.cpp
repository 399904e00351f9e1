#include "rotation/linux_desktop/quarter_turns.h"

#include <cstddef>

#include "rotation/layout/span_arrangement.h"

namespace quillet::linux_desktop {
namespace {

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    const auto lower = [](char c) {
      return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    };
    if (lower(text[i]) != lower(prefix[i])) return false;
  }
  return true;
}

}  // namespace

int32_t NormaliseCode(int32_t code) {
  return code == 2 || code == 3 || code == 4 ? code : 1;
}

bool IsBuiltInPanel(std::string_view outputName) {
  return StartsWithIgnoringCase(outputName, "eDP") || StartsWithIgnoringCase(outputName, "LVDS") ||
         StartsWithIgnoringCase(outputName, "DSI");
}

std::vector<Corner> ArrangeOutputs(const std::vector<Reshape>& outputs) {
  std::vector<SpanMove> columns;
  std::vector<SpanMove> rows;
  for (const Reshape& output : outputs) {
    columns.push_back({{output.x, output.width}, output.newWidth, 0});
    rows.push_back({{output.y, output.height}, output.newHeight, 0});
  }
  ArrangeSpans(columns.data(), columns.size());
  ArrangeSpans(rows.data(), rows.size());
  std::vector<Corner> corners;
  for (size_t i = 0; i < outputs.size(); ++i) corners.push_back({columns[i].start, rows[i].start});
  return corners;
}

}  // namespace quillet::linux_desktop
