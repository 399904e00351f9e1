// Opens the desktop's own output interface and reads the outputs once, with
// one allocation made while libwayland dispatches events (that is, inside an
// event handler) failing, so that a test can see each handler's failure end
// in a clean refusal and never travel through libwayland's C frames:
//
//   handler_allocation_probe N   the Nth allocation (from 0) made in a handler throws
//
// Prints "read" when the outputs were read or "refused" when the interface
// could not be opened or read, then how many allocations the handlers made.
// Prints "escaped" and exits with 3 when an exception came out of the library.
#include <dlfcn.h>
#include <wayland-client.h>

#include <iostream>
#include <new>
#include <string>

#include "allocation_hook.h"
#include "rotation/linux_desktop/wayland/wayland_desktop.h"

namespace {

int g_dispatching = 0;
long g_made = 0;
long g_failing = -1;

void FailInHandlers(std::size_t /*size*/) {
  if (g_dispatching > 0 && g_made++ == g_failing) throw std::bad_alloc();
}

}  // namespace

// Every handler runs inside this call; the library's own is found behind it.
extern "C" int wl_display_dispatch_pending(wl_display* display) {
  using Dispatch = int (*)(wl_display*);
  static const auto library =
      reinterpret_cast<Dispatch>(dlsym(RTLD_NEXT, "wl_display_dispatch_pending"));
  ++g_dispatching;
  const int result = library(display);
  --g_dispatching;
  return result;
}

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  g_failing = std::stol(argv[1]);
  g_allocationHook = &FailInHandlers;
  bool read = false;
  try {
    auto desktop = quillet::wayland::OpenDesktopOutputs();
    read = desktop && desktop->Read().has_value();
  } catch (...) {
    std::cout << "escaped" << std::endl;
    return 3;
  }
  std::cout << (read ? "read" : "refused") << "\n" << g_made << std::endl;
  return 0;
}
