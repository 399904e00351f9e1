#pragma once
#include <memory>

#include "rotation/linux_desktop/desktop_outputs.h"

namespace quillet::wayland {

// The outputs of KWin, through kde_output_management_v2 and kde_output_device_v2; nothing when it
// is not offered.
std::unique_ptr<xdesktop::DesktopOutputs> OpenKdeOutputManagement();

}  // namespace quillet::wayland
