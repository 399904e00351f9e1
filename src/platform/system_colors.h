#pragma once
// System colours as Windows numbers them (its COLOR_ indices): the program
// names a system colour by these numbers on every system, and each platform
// answers with its own colour for it.

namespace platform::system_colors {

inline constexpr int kScrollBar = 0;
inline constexpr int kBackground = 1;
inline constexpr int kActiveCaption = 2;
inline constexpr int kInactiveCaption = 3;
inline constexpr int kMenu = 4;
inline constexpr int kWindow = 5;
inline constexpr int kWindowFrame = 6;
inline constexpr int kMenuText = 7;
inline constexpr int kWindowText = 8;
inline constexpr int kCaptionText = 9;
inline constexpr int kActiveBorder = 10;
inline constexpr int kInactiveBorder = 11;
inline constexpr int kAppWorkspace = 12;
inline constexpr int kHighlight = 13;
inline constexpr int kHighlightText = 14;
inline constexpr int kButtonFace = 15;
inline constexpr int kButtonShadow = 16;
inline constexpr int kGrayText = 17;
inline constexpr int kButtonText = 18;
inline constexpr int kInactiveCaptionText = 19;
inline constexpr int kButtonHighlight = 20;
inline constexpr int k3dDarkShadow = 21;
inline constexpr int k3dLight = 22;
inline constexpr int kInfoText = 23;
inline constexpr int kInfoBackground = 24;
// Has a colour in the classic scheme but no COLOR_ name.
inline constexpr int kButtonAlternateFace = 25;
inline constexpr int kHotLight = 26;
inline constexpr int kGradientActiveCaption = 27;
inline constexpr int kGradientInactiveCaption = 28;
inline constexpr int kMenuHighlight = 29;
inline constexpr int kMenuBar = 30;

// How many indices there are, from 0.
inline constexpr int kCount = 31;

}  // namespace platform::system_colors
