#pragma once
#include "rotation/linux_desktop/screen_control.h"
#include "rotation/linux_desktop/screen_layout.h"

namespace quillet::linux_desktop {

// Brings the screen from the state read to the layout, in the order the
// server accepts: CRTCs that would not fit the new size are turned off, the
// screen takes its new size, then every CRTC its new config. CRTCs and a size
// that stay as they are get no request. When the server refuses a step,
// everything changed so far is put back and the result is false.
bool ApplyLayout(ScreenControl& screen, const ScreenState& before, const ScreenLayout& layout);

}  // namespace quillet::linux_desktop
