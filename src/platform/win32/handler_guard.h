#pragma once
#include <utility>

#include "platform/unthrowing.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {

// Runs a handler called from a window or timer procedure. Nothing may unwind
// through the system's frames, so an exception ends here: it is reported on
// the debugger output and the message loop goes on.
template <typename Handler>
void RunHandler(Handler&& handler) {
  Unthrowing(std::forward<Handler>(handler),
             [] { ::OutputDebugStringW(L"can not execute correctly"); });
}

}  // namespace platform::win32
