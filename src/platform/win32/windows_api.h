#pragma once
// windows.h for the platform code: without min and max, and without the
// macros that would rename the platform interfaces' own operations.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#undef CreateWindow
#undef FindWindow
#undef DrawText

namespace platform::win32 {

// A looked-up entry point as the function type the caller knows it to have.
template <typename Function>
Function EntryAs(FARPROC entry) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(entry));
}

}  // namespace platform::win32
