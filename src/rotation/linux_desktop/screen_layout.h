#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/types.h"
#include "rotation/linux_desktop/quarter_turns.h"
#include "rotation/linux_desktop/screen_control.h"

namespace quillet::linux_desktop {

// The rotation bit of a code, normalised first.
uint16_t RotationOfCode(int32_t code);
// The code of a rotation, reflections aside; 1 for anything unknown.
int32_t CodeOfRotation(uint16_t rotation);

// Where a CRTC lies on the screen when it shows its mode with this config:
// the mode turned by the rotation, then through the CRTC's transform, in the
// whole pixels the server counts. Empty when the transform cannot place it.
platform::Rect Footprint(const Crtc& crtc, const CrtcConfig& config);

// The screen after a turn: the screen size, and one config per active CRTC
// of the state it was made from, in the same order.
struct ScreenLayout {
  ScreenSize size;
  std::vector<CrtcConfig> crtcs;
};

// The CRTC at the index turned to the code's rotation, its reflections kept;
// the others keep theirs and move only so that the outputs stay arranged as
// they were (ArrangeSpans along each axis): one that lay wholly right of (or
// below) its neighbours keeps its gap to them, measured from their new sizes. The screen becomes
// just big enough, at the density it had. Nothing when the turned CRTC cannot show the rotation, a
// footprint cannot be told, a CRTC that pans would have to change, or the screen cannot take the
// size.
std::optional<ScreenLayout> LayOut(const ScreenState& state, size_t turned, int32_t code);

}  // namespace quillet::linux_desktop
