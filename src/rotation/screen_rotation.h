#pragma once
#include <cstdint>

#include "rotation/input_devices.h"
#include "rotation/screen_control.h"

namespace quillet::xdesktop {

// The code (1 to 4) of the CRTC that shows the primary output, or of the
// first active CRTC when none does; -1 when the screen cannot be read or no
// CRTC is active.
int32_t GetAngle(ScreenControl& screen);

// Turns every active CRTC to the code (anything but 2, 3 and 4 means 1) and
// lays the screen out anew, all while the server is grabbed; then touch and
// pen devices follow the picture and the caller is paused for 250 ms.
// Returns 1 when the screen was turned, 0 when it was left as it was.
int32_t SetAngle(ScreenControl& screen, InputDevices& devices, void (*pause)(uint32_t milliseconds),
                 int32_t code);

}  // namespace quillet::xdesktop
