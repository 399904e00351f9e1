// The program entry: install the X11 platform and run the program.
#include <malloc.h>

#include <cstdio>
#include <cstdlib>

#include "app/program.h"
#include "app/x11/autostart_job.h"
#include "app/x11/command_line.h"
#include "base/application.h"
#include "platform/image_decoder.h"
#include "platform/posix/quit_signals.h"
#include "platform/services.h"
#include "platform/system.h"
#include "platform/x11/window_icon.h"
#include "platform/x11/x11_platform.h"

int main(int argc, char** argv) {
  // First, so that every thread the program and its libraries start holds them too.
  platform::posix::HoldQuitSignals();
  // Pictures and frames come and go whole: each large block is mapped on its
  // own and given back when it is freed, rather than left in the heap.
  mallopt(M_MMAP_THRESHOLD, 128 * 1024);
  CommandLine options;
  if (const auto answered = ReadCommandLine(argc, argv, options)) return *answered;
  // The session's autostart entry starts the panel only where it has a job.
  if (options.autostart && !PanelHasAJob()) return 0;
  platform::x11::X11Platform platform;
  if (!platform.Valid()) {
    // A Wayland session shows the panel through XWayland, which may be missing or switched off.
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    std::fputs(wayland != nullptr && *wayland != '\0'
                   ? "zentara: this Wayland session offers no X display; the panel needs XWayland "
                     "(Debian package xwayland, switched on in the compositor)\n"
                   : "zentara: cannot open the X display\n",
               stderr);
    return 1;
  }
  // The window manager shows the handle's picture for the program.
  platform::DecodedImage icon;
  const std::wstring folder = ExtractFilePath(platform::GetSystem().ExecutableName());
  if (platform::GetImageDecoder().DecodePng(folder + L"images\\Button\\Stage1\\n.png", icon))
    platform.SetWindowIcon(platform::x11::NetWmIcon(icon));
  return RunProgram();
}
