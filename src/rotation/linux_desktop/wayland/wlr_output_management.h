#pragma once
#include <memory>

#include "rotation/linux_desktop/desktop_outputs.h"
#include "rotation/linux_desktop/wayland/wayland_connection.h"

namespace quillet::wayland {

// The outputs of wlroots compositors, through zwlr_output_manager_v1 over the connection, which
// it takes; nothing when it is not offered. Read lists the enabled outputs from the layout's origin
// on (heads come in no order of their own), so that without a built-in panel the output at the
// origin is the tablet's; Apply takes them by name, and only while nothing changed since that Read.
std::unique_ptr<linux_desktop::DesktopOutputs> OpenWlrOutputManagement(
    std::unique_ptr<WaylandConnection>& connection);

}  // namespace quillet::wayland
