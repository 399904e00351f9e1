#include "platform/udev/udev_devices.h"

#include <libudev.h>
#include <sys/stat.h>

#include <array>
#include <cstdlib>
#include <memory>
#include <string>

namespace platform::udev {
namespace {

struct ContextDeleter {
  void operator()(struct udev* context) const { udev_unref(context); }
};
struct DeviceDeleter {
  void operator()(udev_device* device) const { udev_device_unref(device); }
};
struct EnumerateDeleter {
  void operator()(udev_enumerate* enumerate) const { udev_enumerate_unref(enumerate); }
};
using Context = std::unique_ptr<struct udev, ContextDeleter>;
using Device = std::unique_ptr<udev_device, DeviceDeleter>;
using Enumerate = std::unique_ptr<udev_enumerate, EnumerateDeleter>;

std::string Text(const char* value) {
  return value != nullptr ? value : "";
}

bool Flag(udev_device* device, const char* property) {
  return Text(udev_device_get_property_value(device, property)) == "1";
}

uint32_t HexAttribute(udev_device* device, const char* name) {
  const std::string text = Text(udev_device_get_sysattr_value(device, name));
  if (text.empty() || text.size() > 8) return 0;
  char* end = nullptr;
  const unsigned long value = std::strtoul(text.c_str(), &end, 16);
  return end != nullptr && (*end == '\0' || *end == '\n') ? static_cast<uint32_t>(value) : 0;
}

// Whether a capability attribute ("sw", "key": hexadecimal words, the
// highest first) holds bit `bit` of its lowest word.
bool LowestWordHasBit(udev_device* device, const char* attribute, unsigned bit) {
  const std::string words = Text(udev_device_get_sysattr_value(device, attribute));
  const size_t space = words.find_last_of(' ');
  const std::string lowest = space == std::string::npos ? words : words.substr(space + 1);
  return !lowest.empty() && ((std::strtoull(lowest.c_str(), nullptr, 16) >> bit) & 1u) != 0;
}

// Every device of a subsystem, handed to `visit`.
template <typename Visit>
void ForEach(struct udev* context, const char* subsystem, Visit visit) {
  Enumerate enumerate(udev_enumerate_new(context));
  if (!enumerate) return;
  udev_enumerate_add_match_subsystem(enumerate.get(), subsystem);
  udev_enumerate_scan_devices(enumerate.get());
  udev_list_entry* entry = nullptr;
  udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumerate.get())) {
    Device device(udev_device_new_from_syspath(context, udev_list_entry_get_name(entry)));
    if (device) visit(device.get());
  }
}

constexpr unsigned kTabletModeSwitch = 0x01;  // SW_TABLET_MODE

}  // namespace

std::optional<InputNode> DescribeInputNode(std::string_view devnode) {
  struct stat status {};
  const std::string node(devnode);
  if (node.empty() || stat(node.c_str(), &status) != 0 || !S_ISCHR(status.st_mode))
    return std::nullopt;
  Context context(udev_new());
  if (!context) return std::nullopt;
  Device device(udev_device_new_from_devnum(context.get(), 'c', status.st_rdev));
  if (!device) return std::nullopt;
  InputNode described;
  described.classified =
      udev_device_get_is_initialized(device.get()) != 0 && Flag(device.get(), "ID_INPUT");
  described.touchscreen = Flag(device.get(), "ID_INPUT_TOUCHSCREEN");
  described.tablet = Flag(device.get(), "ID_INPUT_TABLET");
  described.tabletPad = Flag(device.get(), "ID_INPUT_TABLET_PAD");
  // The parents belong to the device they come from and are not unreferenced.
  if (udev_device* input =
          udev_device_get_parent_with_subsystem_devtype(device.get(), "input", nullptr)) {
    described.kernelBus = HexAttribute(input, "id/bustype");
    described.vendorId = HexAttribute(input, "id/vendor");
    described.productId = HexAttribute(input, "id/product");
    described.sysPath = Text(udev_device_get_syspath(input));
  }
  if (udev_device* usb =
          udev_device_get_parent_with_subsystem_devtype(device.get(), "usb", "usb_device")) {
    described.usbRemovable = Text(udev_device_get_sysattr_value(usb, "removable"));
  }
  return described;
}

TabletHardware FindTabletHardware() {
  TabletHardware found;
  Context context(udev_new());
  if (!context) return found;
  ForEach(context.get(), "input", [&found](udev_device* device) {
    found.touchscreen = found.touchscreen || Flag(device, "ID_INPUT_TOUCHSCREEN");
    found.accelerometer = found.accelerometer || Flag(device, "ID_INPUT_ACCELEROMETER");
    found.tabletModeSwitch =
        found.tabletModeSwitch || (Flag(device, "ID_INPUT_SWITCH") &&
                                   LowestWordHasBit(device, "capabilities/sw", kTabletModeSwitch));
  });
  // The sensor service's own rules tag the IIO accelerometers it reads.
  ForEach(context.get(), "iio", [&found](udev_device* device) {
    const std::string type = Text(udev_device_get_property_value(device, "IIO_SENSOR_PROXY_TYPE"));
    found.accelerometer = found.accelerometer || type.find("accel") != std::string::npos;
  });
  ForEach(context.get(), "drm", [&found](udev_device* device) {
    // Connectors are named after their card and type: "card0-eDP-1".
    const std::string name = Text(udev_device_get_sysname(device));
    const size_t dash = name.find('-');
    if (dash == std::string::npos) return;
    const std::string type = name.substr(dash + 1);
    constexpr std::array<const char*, 3> kPanels = {"eDP-", "LVDS-", "DSI-"};
    bool panel = false;
    for (const char* prefix : kPanels) panel = panel || type.rfind(prefix, 0) == 0;
    found.builtInPanel =
        found.builtInPanel ||
        (panel && Text(udev_device_get_sysattr_value(device, "status")) == "connected");
  });
  return found;
}

}  // namespace platform::udev
