#pragma once
#include <cstdint>

#include "rotation/linux_desktop/input_devices.h"
#include "rotation/linux_desktop/screen_control.h"

namespace quillet::linux_desktop {

// The code (1 to 4) of the tablet's own screen: the CRTC that drives its
// built-in panel, else the primary output, else the first active CRTC; -1
// when the screen cannot be read or no CRTC is active.
int32_t GetScreenAngle(ScreenControl& screen);

// Turns the tablet's own screen to the code (anything but 2, 3 and 4 means
// 1); the other CRTCs keep their rotation and move only to keep the screen
// packed, all while the server is grabbed. Then touch and pen devices follow
// the picture and, after a turn, the caller is paused for 250 ms. A screen
// already at the code is left exactly as it is and only its devices follow
// it: asking for the angle it has maps devices that came later.
// Returns 1 when the screen shows the code, 0 when it was left as it was.
int32_t SetScreenAngle(ScreenControl& screen, InputDevices& devices,
                       void (*pause)(uint32_t milliseconds), int32_t code);

}  // namespace quillet::linux_desktop
