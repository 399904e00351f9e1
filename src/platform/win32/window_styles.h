#pragma once
// The Win32 values a window's description and the layered-window intents
// stand for.
#include "platform/win32/windows_api.h"

#include "platform/windowing.h"

namespace platform::win32 {

struct WindowStyles {
  DWORD style = 0;
  DWORD exStyle = 0;
};

// A frameless window is a pop-up; every window clips its children and siblings.
WindowStyles StylesFor(const WindowParams& params);

// `current` with WS_EX_LAYERED and WS_EX_TRANSPARENT as asked, every other bit kept.
DWORD LayeredExStyle(DWORD current, bool layered, bool clickThrough);

// How a window that left layered mode is redrawn: all of it, erased, frame and children.
inline constexpr UINT kRedrawAllFlags = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME;

// No colour key: the key handed over with an alpha push, where it is not used.
inline constexpr COLORREF kNoColorKey = 0xFFFFFFFF;

// Source over, the premultiplied per-pixel alpha of a 32-bit source, and `opacity` on top.
BLENDFUNCTION BlendFor(uint8_t opacity);

}  // namespace platform::win32
