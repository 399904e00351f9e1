#include "platform/win32/window_styles.h"

namespace platform::win32 {

WindowStyles StylesFor(const WindowParams& params) {
  WindowStyles styles;
  styles.style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  if (params.frameless) styles.style |= WS_POPUP;
  if (params.onTop) styles.exStyle |= WS_EX_TOPMOST;
  if (params.inTaskBar) styles.exStyle |= WS_EX_APPWINDOW;
  return styles;
}

DWORD LayeredExStyle(DWORD current, bool layered, bool clickThrough) {
  constexpr DWORD kBoth = WS_EX_LAYERED | WS_EX_TRANSPARENT;
  const DWORD wanted = (clickThrough ? WS_EX_TRANSPARENT : 0u) | (layered ? WS_EX_LAYERED : 0u);
  return (current & ~kBoth) | wanted;
}

BLENDFUNCTION BlendFor(uint8_t opacity) {
  return BLENDFUNCTION{AC_SRC_OVER, 0, opacity, AC_SRC_ALPHA};
}

}  // namespace platform::win32
