#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

// What every way of turning a Linux desktop's screen shares: the codes asked
// for, the pause after a turn, which output is the tablet's own panel, and
// where the outputs go when some of them change shape.
namespace quillet::linux_desktop {

// 2, 3 and 4 stay; every other value is 1 (not turned).
int32_t NormaliseCode(int32_t code);

// Gives the applications time to follow a new screen before the caller
// looks again.
inline constexpr uint32_t kSettleMilliseconds = 250;

// Outputs named the way drivers name a built-in panel (eDP, LVDS, DSI).
bool IsBuiltInPanel(std::string_view outputName);

// One output while the outputs take new sizes: where it lay, what it covered,
// and the size it takes.
struct Reshape {
  int64_t x = 0;
  int64_t y = 0;
  int64_t width = 0;
  int64_t height = 0;
  int64_t newWidth = 0;
  int64_t newHeight = 0;
};

struct Corner {
  int64_t x = 0;
  int64_t y = 0;
};

// The new top-left corner of each output, in the same order, so that the
// outputs stay arranged as they were (ArrangeSpans along each axis):
// neighbours stay neighbours, at the gaps they had, and nothing overlaps.
std::vector<Corner> ArrangeOutputs(const std::vector<Reshape>& outputs);

}  // namespace quillet::linux_desktop
