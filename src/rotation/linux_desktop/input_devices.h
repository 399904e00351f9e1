#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace quillet::linux_desktop {

enum class DeviceUse { kMasterPointer, kMasterKeyboard, kSlavePointer, kSlaveKeyboard, kFloating };
// Direct: a touchscreen, touches land where they are. Dependent: a touchpad,
// touches move the pointer.
enum class TouchMode { kNone, kDirect, kDependent };
// Where a device is attached. Built in: I2C, SPI, the platform's own bus, or
// a USB port the firmware calls fixed. External: USB ports that take a plug,
// Bluetooth. Virtual: made up by software (uinput).
enum class DeviceBus { kUnknown, kBuiltIn, kExternal, kVirtual };
// What the device manager (udev) calls the device: unknown where it has no
// record of it (no event node, no udev database), which leaves the
// device's XInput classes and name to tell.
enum class DeviceKind { kUnknown, kTouchscreen, kPen, kOther };
// What the tablet database (libwacom) says of a pen's tablet: built into the
// system's own display, a display of its own (a pen display on a cable), or
// no display at all (a desk tablet); unknown where it has no entry.
enum class PenIntegration { kUnknown, kSystemDisplay, kOwnDisplay, kNoDisplay };

struct Valuator {
  int32_t number = 0;  // 0 is X, 1 is Y
  bool absolute = false;
};

// One input device as XInput describes it.
struct InputDevice {
  int32_t id = 0;
  std::string name;
  DeviceUse use = DeviceUse::kSlavePointer;
  TouchMode touch = TouchMode::kNone;
  std::vector<Valuator> valuators;
  bool hasTransform = false;  // it carries a coordinate transformation matrix
  // The hardware's USB or HID ids; 0 when the server does not tell them.
  uint32_t vendorId = 0;
  uint32_t productId = 0;
  DeviceBus bus = DeviceBus::kUnknown;
  DeviceKind kind = DeviceKind::kUnknown;
  PenIntegration integration = PenIntegration::kUnknown;
};

// Row by row, as the "Coordinate Transformation Matrix" property holds it:
// it takes a device position, 0 to 1 across and down the device, to a
// position on the screen, 0 to 1 across and down the whole screen.
using TransformMatrix = std::array<float, 9>;

class InputDevices {
 public:
  virtual ~InputDevices() = default;
  virtual std::vector<InputDevice> List() = 0;
  virtual bool SetTransform(int32_t device, const TransformMatrix& matrix) = 0;
};

}  // namespace quillet::linux_desktop
