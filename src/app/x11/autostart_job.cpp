#include "app/x11/autostart_job.h"

#include "platform/udev/udev_devices.h"

bool PanelHasAJob() {
  const platform::udev::TabletHardware found = platform::udev::FindTabletHardware();
  return found.touchscreen || found.accelerometer || (found.tabletModeSwitch && found.builtInPanel);
}
