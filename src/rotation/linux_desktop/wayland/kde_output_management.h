#pragma once
#include <memory>

#include "rotation/linux_desktop/desktop_outputs.h"
#include "rotation/linux_desktop/wayland/wayland_connection.h"

namespace quillet::wayland {

// The outputs of KWin, through kde_output_management_v2 and kde_output_device_v2, over the
// connection, which it takes only when it returns them; nothing when it is not offered.
std::unique_ptr<linux_desktop::DesktopOutputs> OpenKdeOutputManagement(
    std::unique_ptr<WaylandConnection>& connection);

}  // namespace quillet::wayland
