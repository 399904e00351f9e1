#include "app/x11/autostart_job.h"

#include <string_view>

#include "platform/udev/udev_devices.h"

bool PanelHasAJob() {
  const platform::udev::TabletHardware found = platform::udev::FindTabletHardware();
  return found.touchscreen || found.accelerometer || (found.tabletModeSwitch && found.builtInPanel);
}

bool StartedByAutostart(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::string_view(argv[i]) == "--autostart") return true;
  }
  return false;
}
