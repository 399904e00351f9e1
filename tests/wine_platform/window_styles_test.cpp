// The Win32 values the window description and the layered-window intents
// stand for: the ones the program has always passed to Windows.
#include "platform/win32/window_styles.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using platform::win32::StylesFor;

TEST(WindowStylesTest, ThePanelIsAClippingTopmostPopupWithoutATaskBarButton) {
  platform::WindowParams panel;
  panel.frameless = true;
  panel.onTop = true;
  panel.inTaskBar = false;
  const platform::win32::WindowStyles styles = StylesFor(panel);
  EXPECT_EQ(styles.style, DWORD{WS_POPUP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS});
  EXPECT_EQ(styles.exStyle, DWORD{WS_EX_TOPMOST});

  platform::WindowParams framed;
  framed.inTaskBar = true;
  EXPECT_EQ(StylesFor(framed).style, DWORD{WS_CLIPCHILDREN | WS_CLIPSIBLINGS});
  EXPECT_EQ(StylesFor(framed).exStyle, DWORD{WS_EX_APPWINDOW});
}

TEST(WindowStylesTest, LayeredModeSetsOnlyItsTwoBitsAndLeavingItRedrawsWith0x485) {
  const DWORD others = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
  EXPECT_EQ(platform::win32::LayeredExStyle(others | WS_EX_TRANSPARENT, true, false),
            others | WS_EX_LAYERED);
  EXPECT_EQ(platform::win32::LayeredExStyle(others | WS_EX_LAYERED, false, true),
            others | WS_EX_TRANSPARENT);
  EXPECT_EQ(platform::win32::kRedrawAllFlags, 0x485u);
}

TEST(WindowStylesTest, ThePushBlendsSourceOverWithPremultipliedAlphaAndTheOpacity) {
  const BLENDFUNCTION blend = platform::win32::BlendFor(230);
  unsigned char bytes[sizeof blend];
  std::memcpy(bytes, &blend, sizeof blend);
  EXPECT_EQ(bytes[0], AC_SRC_OVER);
  EXPECT_EQ(bytes[1], 0);
  EXPECT_EQ(bytes[2], 230);
  EXPECT_EQ(bytes[3], AC_SRC_ALPHA);
}

}  // namespace
