#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform::udev {

// What the device manager tells of an input device's event node, as the
// desktops read it: its udev properties (set by udev's input rules) and the
// kernel's attributes of the device and its USB port.
struct InputNode {
  // udev has processed the node: its properties below are its word. Without
  // a udev database (a container, say) only the kernel's attributes are read.
  bool classified = false;
  bool touchscreen = false;  // ID_INPUT_TOUCHSCREEN
  bool tablet = false;       // ID_INPUT_TABLET: a pen or an eraser
  bool tabletPad = false;    // ID_INPUT_TABLET_PAD: a tablet's buttons
  // The kernel's word, which udev sets no ID_BUS for on I2C and SPI: its bus
  // number (id/bustype), ids, where its device lives in sysfs and, on USB,
  // the "removable" word of its port.
  uint32_t kernelBus = 0;
  uint32_t vendorId = 0;
  uint32_t productId = 0;
  std::string sysPath;
  std::string usbRemovable;
};

// The node ("/dev/input/event12") as the device manager knows it; nothing
// when it is no character device of this machine.
std::optional<InputNode> DescribeInputNode(std::string_view devnode);

// What makes this machine a tablet, as udev's records say.
struct TabletHardware {
  bool touchscreen = false;  // an input device tagged ID_INPUT_TOUCHSCREEN
  bool accelerometer =
      false;  // ID_INPUT_ACCELEROMETER, or an IIO accelerometer the sensor service reads
  bool tabletModeSwitch = false;  // a switch that tells a convertible folded into a tablet
  bool builtInPanel = false;      // a connected eDP, LVDS or DSI connector
};

TabletHardware FindTabletHardware();

}  // namespace platform::udev
