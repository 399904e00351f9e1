#pragma once
#include <cstdint>
#include <string_view>

#include "rotation/linux_desktop/input_devices.h"

namespace quillet::linux_desktop {

// Where the kernel says an input device is attached: its bus number (as
// /sys/class/input/eventN/device/id/bustype gives it, 0 when unknown), the
// real path of that device folder, and for USB the "removable" word of the
// port it is plugged into ("fixed", "removable" or "unknown"). Software can
// claim any bus number, so a device living among the virtual ones stays
// virtual whatever it claims.
DeviceBus ClassifyBus(uint32_t kernelBus, std::string_view devicePath,
                      std::string_view usbRemovable);

// What a device's name tells where nothing else does: HID over I2C names a
// device after its ACPI id and its HID ids ("ELAN9008:00 04F3:2A49 Stylus"),
// which makes it built in and gives its ids. Only an unknown bus and zero
// ids are filled.
void ApplyNameHints(InputDevice& device);

// Absolute pointers that virtual machines, remote desktops and XWayland make
// up; they follow no screen of their own.
bool IsVirtualPointerName(std::string_view name);

}  // namespace quillet::linux_desktop
