#pragma once
#include <utility>

#include "platform/posix/debug_line.h"

namespace platform::x11 {

// Runs a handler called from the event loop. An exception ends here: it is
// reported on the debug output and the loop goes on.
template <typename Handler>
void RunHandler(Handler&& handler) {
  try {
    std::forward<Handler>(handler)();
  } catch (...) {
    posix::WriteDebugLine("can not execute correctly");
  }
}

}  // namespace platform::x11
