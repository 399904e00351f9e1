#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "rotation/input_devices.h"
#include "rotation/screen_control.h"
#include "rotation/screen_layout.h"

namespace quillet::xdesktop {

// Touchscreens, and pens, erasers and tablets (pointers with absolute X and Y
// axes); not mice, touchpads, keyboards or the master devices.
bool FollowsScreen(const InputDevice& device);

// Outputs named the way drivers name a built-in panel (eDP, LVDS, DSI).
bool IsBuiltInPanel(std::string_view outputName);

// The CRTC of the state that drives the tablet's own panel, the one that
// turns and that a touchscreen or pen sits on: the built-in panel's (by
// output name or connector type), else the primary output's, else the first.
// The state must have a CRTC.
size_t PanelCrtc(const ScreenState& state);

// Takes the device's own coordinates onto the panel's rectangle of the
// screen while the panel shows the picture turned by the code, so that a tap
// lands on the part of the picture under the finger.
TransformMatrix PanelTransform(int32_t code, const Rect& panel, const ScreenSize& screen);

// Gives every device that follows the screen the transform for the layout.
// A device that refuses it does not keep the others from theirs.
void FollowScreen(InputDevices& devices, int32_t code, const ScreenState& before,
                  const ScreenLayout& layout);

}  // namespace quillet::xdesktop
