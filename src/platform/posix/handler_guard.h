#pragma once
#include <utility>

#include "platform/posix/debug_line.h"
#include "platform/unthrowing.h"

namespace platform::posix {

// Runs a handler called from an event loop or a C library's callback. An
// exception ends here: it is reported on the debug output and the loop goes on.
template <typename Handler>
void RunHandler(Handler&& handler) {
  Unthrowing(std::forward<Handler>(handler), [] { WriteDebugLine("can not execute correctly"); });
}

}  // namespace platform::posix
