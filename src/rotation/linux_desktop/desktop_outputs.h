#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quillet::linux_desktop {

// One output as a Wayland desktop's own output configuration describes it.
// Transforms count as wl_output counts them: 0 to 3 quarter turns
// counter-clockwise, 4 to 7 the same after a flip; code n is transform n - 1.
struct DesktopOutput {
  std::string name;
  bool builtIn = false;  // the desktop says it is the device's own panel
  bool enabled = true;
  // Its top-left corner in the desktop's layout.
  int32_t x = 0;
  int32_t y = 0;
  // What it occupies in the layout when not turned (its mode divided by its
  // scale where the layout counts in logical pixels).
  int32_t width = 0;
  int32_t height = 0;
  int32_t transform = 0;

  bool operator==(const DesktopOutput&) const = default;
};

inline constexpr int32_t kLastTransform = 7;

// Whether the transform is one wl_output knows.
constexpr bool IsTransform(int32_t transform) {
  return transform >= 0 && transform <= kLastTransform;
}

// Whether the transform lays the output on its side: width and height swap.
constexpr bool IsQuarterTurn(int32_t transform) {
  return (transform & 1) != 0;
}

// A Wayland desktop's output configuration, through its own interface.
class DesktopOutputs {
 public:
  virtual ~DesktopOutputs() = default;

  // Every output the desktop has, enabled or not; nothing when it cannot be
  // read.
  virtual std::optional<std::vector<DesktopOutput>> Read() = 0;
  // Asks the desktop to take every output as given (the list Read gave, in
  // its order, with some changed); true only once the desktop confirms it.
  virtual bool Apply(const std::vector<DesktopOutput>& outputs) = 0;
};

// The tablet's own output among them: the built-in one, else the first
// enabled one; nothing when none is enabled.
std::optional<size_t> TabletOutput(const std::vector<DesktopOutput>& outputs);

// The outputs with the one at the index turned to the code (its flip kept)
// and the enabled others moved so that they stay arranged as they were:
// neighbours stay neighbours, at the gaps they had, and nothing overlaps.
std::vector<DesktopOutput> TurnOutput(const std::vector<DesktopOutput>& outputs, size_t turned,
                                      int32_t code);

// The code (1 to 4) of the tablet's output; -1 when it cannot be read.
int32_t GetDesktopAngle(DesktopOutputs& desktop);

// Turns the tablet's output to the code (anything but 2, 3 and 4 means 1)
// and, after a turn, pauses the caller for 250 ms. An output already at the
// code is left alone. 1 when it shows the code, 0 when it was left as it was.
int32_t SetDesktopAngle(DesktopOutputs& desktop, void (*pause)(uint32_t milliseconds),
                        int32_t code);

}  // namespace quillet::linux_desktop
