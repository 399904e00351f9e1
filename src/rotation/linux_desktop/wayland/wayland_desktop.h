#pragma once
#include <memory>

#include "rotation/linux_desktop/desktop_outputs.h"

namespace quillet::wayland {

// The output configuration of the Wayland desktop this session runs on,
// through the first desktop family's own interface that the session offers,
// in the order of the families' table. Nothing when none is.
std::unique_ptr<linux_desktop::DesktopOutputs> OpenDesktopOutputs();

}  // namespace quillet::wayland
