#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "rotation/linux_desktop/input_devices.h"
#include "rotation/linux_desktop/screen_control.h"
#include "rotation/linux_desktop/screen_layout.h"

namespace quillet::linux_desktop {

// Whether a device is moved with the screen it lies on: touchscreens, and
// pens and erasers (pointers with absolute X and Y axes) that belong to one:
// those sharing a touchscreen's vendor and product, or built in. Never mice,
// touchpads, keyboards, the master devices, desk tablets (a pen of its own on
// an external or unknown bus) or the absolute pointers of virtual machines
// and remote desktops. `all` is every device the server lists.
bool FollowsScreen(const InputDevice& device, const std::vector<InputDevice>& all);

// The CRTC of the state that drives the tablet's own panel, the one that
// turns and that a touchscreen or pen sits on: the built-in panel's (by
// output name or connector type), else the primary output's, else the first.
// The state must have a CRTC.
size_t PanelCrtc(const ScreenState& state);

// Takes the device's own coordinates onto the panel's rectangle of the
// screen while the panel shows the picture turned by the code, so that a tap
// lands on the part of the picture under the finger.
TransformMatrix PanelTransform(int32_t code, const platform::Rect& panel, const ScreenSize& screen);

// The CRTC a device that follows the screen lies on. An external device (a
// USB touch monitor and its pen) lies on the one output besides the panel
// when there is exactly one; with none or several, nothing tells which, and
// it lies on the panel like everything built in.
size_t CrtcOfDevice(const InputDevice& device, const ScreenState& state, size_t panel);

// Gives every device that follows the screen the transform onto its CRTC as
// the layout places and turns it. A device that refuses it does not keep the
// others from theirs.
void FollowScreen(InputDevices& devices, const ScreenState& before, const ScreenLayout& layout);

}  // namespace quillet::linux_desktop
