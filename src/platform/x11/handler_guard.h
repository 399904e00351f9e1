#pragma once
#include <utility>

#include "platform/posix/debug_line.h"
#include "platform/unthrowing.h"

namespace platform::x11 {

// Runs a handler called from the event loop. An exception ends here: it is
// reported on the debug output and the loop goes on.
template <typename Handler>
void RunHandler(Handler&& handler) {
  Unthrowing(std::forward<Handler>(handler),
             [] { posix::WriteDebugLine("can not execute correctly"); });
}

}  // namespace platform::x11
