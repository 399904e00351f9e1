#pragma once
#include <cstdio>
#include <utility>

namespace platform::x11 {

// Runs a handler called from the event loop. An exception ends here: it is
// reported on the debug output and the loop goes on.
template <typename Handler>
void RunHandler(Handler&& handler) {
  try {
    std::forward<Handler>(handler)();
  } catch (...) {
    std::fputs("can not execute correctly\n", stderr);
  }
}

}  // namespace platform::x11
