#pragma once
#include <memory>

#include "rotation/linux_desktop/desktop_outputs.h"

namespace quillet::wayland {

// The outputs of wlroots compositors, through zwlr_output_manager_v1; nothing when it is not
// offered.
std::unique_ptr<xdesktop::DesktopOutputs> OpenWlrOutputManagement();

}  // namespace quillet::wayland
