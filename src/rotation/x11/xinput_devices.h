#pragma once
#include <X11/Xlib.h>

#include "rotation/input_devices.h"
#include "rotation/x11/x_error_trap.h"

namespace quillet::x11 {

// Input devices through XInput 2.2 (the first version with touch classes),
// and their "Coordinate Transformation Matrix" property.
class XInputDevices : public xdesktop::InputDevices {
 public:
  XInputDevices(Display* display, XErrorTrap& trap);

  // Empty when the server has no XInput 2.2.
  std::vector<xdesktop::InputDevice> List() override;
  bool SetTransform(int32_t device, const xdesktop::TransformMatrix& matrix) override;

 private:
  bool HasProperty(int device, Atom property);

  Display* display_;
  XErrorTrap& trap_;
  Atom transform_ = None;
};

}  // namespace quillet::x11
