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

// The object a window procedure serves: handed to CreateWindowExW as the
// creation parameter and kept as the window's user data from WM_NCCREATE on.
// Null before that (WM_GETMINMAXINFO can come first) and once cleared.
template <typename Object>
Object* WindowObject(HWND window, UINT message, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  return reinterpret_cast<Object*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
}

}  // namespace platform::win32
