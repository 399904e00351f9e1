#pragma once
#include <X11/Xlib.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/xlib/error_trap.h"
#include "rotation/linux_desktop/input_devices.h"
#include "rotation/linux_desktop/x11/wacom_pens.h"

namespace quillet::x11 {

// Input devices through XInput 2.2 (the first version with touch classes),
// and their "Coordinate Transformation Matrix" property. What a pointer is and
// where it is attached comes from its driver's properties: its ids, and its
// kernel event node, which the device manager (udev) describes further, and
// for a pen the tablet database (libwacom).
class XInputDevices : public linux_desktop::InputDevices {
 public:
  XInputDevices(Display* display, platform::xlib::ErrorTrap& trap);

  // Empty when the server has no XInput 2.2.
  std::vector<linux_desktop::InputDevice> List() override;
  bool SetTransform(int32_t device, const linux_desktop::TransformMatrix& matrix) override;

 private:
  struct PropertyValue {
    Atom type = None;
    int format = 0;
    std::string text;           // format 8
    std::vector<long> numbers;  // format 32
  };

  bool HasProperty(int device, Atom property);
  // Up to `items` 32-bit units of a device property; nothing when it is not set.
  std::optional<PropertyValue> ReadProperty(int device, Atom property, long items);
  void ReadOrigin(linux_desktop::InputDevice& device, WacomPens& pens);

  Display* display_;
  platform::xlib::ErrorTrap& trap_;
  Atom transform_ = None;
  Atom productId_ = None;
  Atom node_ = None;
};

}  // namespace quillet::x11
