#pragma once
#include <cstdint>

#include "platform/system_colors.h"

// 0x00BBGGRR; a value whose top byte is 0xFF names a system colour by the
// index in its low byte.
using TColor = uint32_t;

inline constexpr TColor clSystemColor = 0xFF000000;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;

// System colours, by the platform's colour index.
inline constexpr TColor clScrollBar = clSystemColor | platform::system_colors::kScrollBar;
inline constexpr TColor clBackground = clSystemColor | platform::system_colors::kBackground;
inline constexpr TColor clActiveCaption = clSystemColor | platform::system_colors::kActiveCaption;
inline constexpr TColor clInactiveCaption =
    clSystemColor | platform::system_colors::kInactiveCaption;
inline constexpr TColor clMenu = clSystemColor | platform::system_colors::kMenu;
inline constexpr TColor clWindow = clSystemColor | platform::system_colors::kWindow;
inline constexpr TColor clWindowFrame = clSystemColor | platform::system_colors::kWindowFrame;
inline constexpr TColor clMenuText = clSystemColor | platform::system_colors::kMenuText;
inline constexpr TColor clWindowText = clSystemColor | platform::system_colors::kWindowText;
inline constexpr TColor clCaptionText = clSystemColor | platform::system_colors::kCaptionText;
inline constexpr TColor clActiveBorder = clSystemColor | platform::system_colors::kActiveBorder;
inline constexpr TColor clInactiveBorder = clSystemColor | platform::system_colors::kInactiveBorder;
inline constexpr TColor clAppWorkSpace = clSystemColor | platform::system_colors::kAppWorkspace;
inline constexpr TColor clHighlight = clSystemColor | platform::system_colors::kHighlight;
inline constexpr TColor clHighlightText = clSystemColor | platform::system_colors::kHighlightText;
inline constexpr TColor clBtnFace = clSystemColor | platform::system_colors::kButtonFace;
inline constexpr TColor clBtnShadow = clSystemColor | platform::system_colors::kButtonShadow;
inline constexpr TColor clGrayText = clSystemColor | platform::system_colors::kGrayText;
inline constexpr TColor clBtnText = clSystemColor | platform::system_colors::kButtonText;
inline constexpr TColor clInactiveCaptionText =
    clSystemColor | platform::system_colors::kInactiveCaptionText;
inline constexpr TColor clBtnHighlight = clSystemColor | platform::system_colors::kButtonHighlight;
inline constexpr TColor cl3DDkShadow = clSystemColor | platform::system_colors::k3dDarkShadow;
inline constexpr TColor cl3DLight = clSystemColor | platform::system_colors::k3dLight;
inline constexpr TColor clInfoText = clSystemColor | platform::system_colors::kInfoText;
inline constexpr TColor clInfoBk = clSystemColor | platform::system_colors::kInfoBackground;

inline constexpr bool IsSystemColor(TColor color) {
  return (color >> 24) == 0xFF;
}

// The 0x00BBGGRR value of a colour, asking the platform for system colours.
uint32_t ColorToRGB(TColor color);

inline constexpr uint8_t RedOf(uint32_t rgb) {
  return static_cast<uint8_t>(rgb);
}
inline constexpr uint8_t GreenOf(uint32_t rgb) {
  return static_cast<uint8_t>(rgb >> 8);
}
inline constexpr uint8_t BlueOf(uint32_t rgb) {
  return static_cast<uint8_t>(rgb >> 16);
}
