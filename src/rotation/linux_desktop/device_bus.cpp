#include "rotation/linux_desktop/device_bus.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <string>

namespace quillet::linux_desktop {
namespace {

// The kernel's bus numbers (BUS_* of linux/input.h) that matter here.
constexpr uint32_t kBusUsb = 0x03;
constexpr uint32_t kBusBluetooth = 0x05;
constexpr uint32_t kBusVirtual = 0x06;
constexpr uint32_t kBusI8042 = 0x11;
constexpr uint32_t kBusRs232 = 0x13;
constexpr uint32_t kBusI2c = 0x18;
constexpr uint32_t kBusHost = 0x19;
constexpr uint32_t kBusSpi = 0x1C;
constexpr uint32_t kBusRmi = 0x1D;
constexpr uint32_t kBusIntegratedSensorHub = 0x1F;

std::string Lowered(std::string_view text) {
  std::string lowered(text);
  std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lowered;
}

std::optional<uint32_t> HexNumber(std::string_view digits) {
  if (digits.size() != 4) return std::nullopt;
  uint32_t value = 0;
  for (const char c : digits) {
    if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
    const int digit = std::isdigit(static_cast<unsigned char>(c))
                          ? c - '0'
                          : std::tolower(static_cast<unsigned char>(c)) - 'a' + 10;
    value = value * 16 + static_cast<uint32_t>(digit);
  }
  return value;
}

}  // namespace

DeviceBus ClassifyBus(uint32_t kernelBus, std::string_view devicePath,
                      std::string_view usbRemovable) {
  // Bluetooth HID lives among the virtual devices too (uhid) and is still real.
  if (kernelBus == kBusBluetooth) return DeviceBus::kExternal;
  if (kernelBus == kBusVirtual || devicePath.find("/devices/virtual/") != std::string_view::npos) {
    return DeviceBus::kVirtual;
  }
  switch (kernelBus) {
    case kBusUsb:
      return usbRemovable == "fixed" ? DeviceBus::kBuiltIn : DeviceBus::kExternal;
    case kBusI8042:
    case kBusRs232:  // the pens of older tablet PCs
    case kBusI2c:
    case kBusHost:
    case kBusSpi:
    case kBusRmi:
    case kBusIntegratedSensorHub:
      return DeviceBus::kBuiltIn;
    default:
      return DeviceBus::kUnknown;
  }
}

void ApplyNameHints(InputDevice& device) {
  // "<ACPI id>:<two digits> <vendor>:<product>" at the start of the name.
  const std::string_view name = device.name;
  const size_t colon = name.find(':');
  if (colon == std::string_view::npos || colon < 4 || name.size() < colon + 13) return;
  const bool acpiId = std::all_of(name.begin(), name.begin() + colon, [](char c) {
    return std::isupper(static_cast<unsigned char>(c)) ||
           std::isdigit(static_cast<unsigned char>(c));
  });
  const bool instance = std::isdigit(static_cast<unsigned char>(name[colon + 1])) &&
                        std::isdigit(static_cast<unsigned char>(name[colon + 2])) &&
                        name[colon + 3] == ' ' && name[colon + 8] == ':';
  const auto vendor = HexNumber(name.substr(colon + 4, 4));
  const auto product = HexNumber(name.substr(colon + 9, 4));
  const bool ends = name.size() == colon + 13 || name[colon + 13] == ' ';
  if (!acpiId || !instance || !vendor || !product || !ends) return;
  if (device.bus == DeviceBus::kUnknown) device.bus = DeviceBus::kBuiltIn;
  if (device.vendorId == 0 && device.productId == 0) {
    device.vendorId = *vendor;
    device.productId = *product;
  }
}

bool IsVirtualPointerName(std::string_view name) {
  const std::string lowered = Lowered(name);
  if (lowered.rfind("xwayland-", 0) == 0) return true;
  constexpr std::array<std::string_view, 6> kMakers = {"qemu",  "virtualbox", "vmware",
                                                       "spice", "xrdp",       "xtest"};
  return std::any_of(kMakers.begin(), kMakers.end(), [&](std::string_view maker) {
    return lowered.find(maker) != std::string::npos;
  });
}

}  // namespace quillet::linux_desktop
