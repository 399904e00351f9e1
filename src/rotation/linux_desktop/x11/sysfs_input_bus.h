#pragma once
#include <string>
#include <string_view>

#include "rotation/linux_desktop/input_devices.h"

namespace quillet::x11 {

// The bus of the input device behind an event node ("/dev/input/event12"),
// as sysfs below `sysfsRoot` describes it: its bus number, where its device
// folder really lives, and for USB whether its port takes a plug. Unknown
// when the node is no event node or sysfs does not say.
xdesktop::DeviceBus BusOfEventNode(std::string_view node, const std::string& sysfsRoot = "/sys");

}  // namespace quillet::x11
