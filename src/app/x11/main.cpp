// The program entry: install the X11 platform and run the program.
#include <cstdio>

#include "app/program.h"
#include "app/x11/autostart_job.h"
#include "base/application.h"
#include "platform/image_decoder.h"
#include "platform/services.h"
#include "platform/system.h"
#include "platform/x11/window_icon.h"
#include "platform/x11/x11_platform.h"

int main(int argc, char** argv) {
  // The session's autostart entry starts the panel only where it has a job.
  if (StartedByAutostart(argc, argv) && !PanelHasAJob()) return 0;
  platform::x11::X11Platform platform;
  if (!platform.Valid()) {
    std::fputs("zentara: cannot open the X display\n", stderr);
    return 1;
  }
  // The window manager shows the handle's picture for the program.
  platform::DecodedImage icon;
  const std::wstring folder = ExtractFilePath(platform::GetSystem().ExecutableName());
  if (platform::GetImageDecoder().DecodePng(folder + L"images\\Button\\Stage1\\n.png", icon))
    platform.SetWindowIcon(platform::x11::NetWmIcon(icon));
  return RunProgram();
}
