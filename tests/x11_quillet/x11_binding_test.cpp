// The X11 binding of libquillet.so against a real Xvfb (DISPLAY is set by
// tests/support/xservers.py): refused requests are failures, never the end of the process.
// GoogleTest comes first: Xlib defines None as a macro.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/extensions/XInput2.h>

#include <algorithm>
#include <vector>

#include "platform/xlib/display.h"
#include "platform/xlib/error_trap.h"
#include "rotation/linux_desktop/input_mapping.h"
#include "rotation/linux_desktop/x11/randr_screen.h"
#include "rotation/linux_desktop/x11/xinput_devices.h"

namespace {

using platform::xlib::ErrorTrap;

int applicationErrors = 0;

int ApplicationHandler(Display*, XErrorEvent*) {
  ++applicationErrors;
  return 0;
}

class XBinding : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(display.get(), nullptr) << "no X display"; }
  platform::xlib::XDisplay display;
};

TEST_F(XBinding, ARefusedScreenChangeFailsAndTheCallersHandlerComesBack) {
  XSetErrorHandler(&ApplicationHandler);
  {
    ErrorTrap trap;
    quillet::x11::RandrScreen screen(display.get(), trap);
    const auto before = screen.Read();
    ASSERT_TRUE(before.has_value());
    ASSERT_EQ(before->crtcs.size(), 1u);
    const auto& crtc = before->crtcs[0];
    // Xvfb's one output shows its picture as it is, without panning, and has
    // no connector type.
    EXPECT_EQ(crtc.transform, quillet::linux_desktop::kIdentityTransform);
    EXPECT_FALSE(crtc.pans);
    EXPECT_FALSE(crtc.panelConnector);

    screen.GrabServer();
    // Xvfb shows no other rotation, and no screen beyond its own size.
    quillet::linux_desktop::CrtcConfig turned = crtc.config;
    turned.rotation = quillet::linux_desktop::kRotate90;
    EXPECT_FALSE(screen.SetCrtc(crtc.id, turned));
    EXPECT_FALSE(screen.SetScreenSize({before->maxWidth + 1, before->maxHeight, 100, 100}));
    // A failure does not spill over into the next request.
    EXPECT_TRUE(screen.SetCrtc(crtc.id, crtc.config));
    screen.UngrabServer();

    const auto after = screen.Read();
    ASSERT_TRUE(after.has_value());
    EXPECT_EQ(after->size, before->size);
    ASSERT_EQ(after->crtcs.size(), 1u);
    EXPECT_EQ(after->crtcs[0].config, crtc.config);
  }
  EXPECT_EQ(applicationErrors, 0);
  EXPECT_EQ(XSetErrorHandler(nullptr), &ApplicationHandler);
}

TEST_F(XBinding, TheScreensMillimetresGoToTheServerAndComeBackWidthFirst) {
  ErrorTrap trap;
  quillet::x11::RandrScreen screen(display.get(), trap);
  const auto before = screen.Read();
  ASSERT_TRUE(before.has_value());
  quillet::linux_desktop::ScreenSize size = before->size;
  size.mmWidth = 300;
  size.mmHeight = 100;
  ASSERT_TRUE(screen.SetScreenSize(size));
  // A connection of its own, as each call of the library has: this one keeps what it was told at
  // first.
  platform::xlib::XDisplay later;
  ErrorTrap laterTrap;
  const int number = DefaultScreen(later.get());
  EXPECT_EQ(DisplayWidthMM(later.get(), number), 300);
  EXPECT_EQ(DisplayHeightMM(later.get(), number), 100);
  const auto after = quillet::x11::RandrScreen(later.get(), laterTrap).Read();
  ASSERT_TRUE(after.has_value());
  EXPECT_EQ(after->size, size);
  EXPECT_TRUE(screen.SetScreenSize(before->size));
}

TEST_F(XBinding, TransformsAreWrittenAsFloatsAndOnlyToDevicesThatExist) {
  ErrorTrap trap;
  quillet::x11::XInputDevices devices(display.get(), trap);
  const auto listed = devices.List();
  const auto mouse = std::find_if(listed.begin(), listed.end(), [](const auto& device) {
    return device.use == quillet::linux_desktop::DeviceUse::kSlavePointer &&
           device.name == "Xvfb mouse";
  });
  ASSERT_NE(mouse, listed.end());
  EXPECT_TRUE(mouse->hasTransform);
  EXPECT_FALSE(quillet::linux_desktop::FollowsScreen(*mouse, listed));

  const quillet::linux_desktop::TransformMatrix turned = {0, -1, 1, 1, 0, 0, 0, 0, 1};
  ASSERT_TRUE(devices.SetTransform(mouse->id, turned));
  const Atom property = XInternAtom(display.get(), "Coordinate Transformation Matrix", True);
  Atom type = None;
  int format = 0;
  unsigned long items = 0;
  unsigned long left = 0;
  unsigned char* data = nullptr;
  ASSERT_EQ(XIGetProperty(display.get(), mouse->id, property, 0, 9, False, AnyPropertyType, &type,
                          &format, &items, &left, &data),
            Success);
  EXPECT_EQ(type, XInternAtom(display.get(), "FLOAT", True));
  EXPECT_EQ(format, 32);
  ASSERT_EQ(items, 9u);
  std::vector<float> read(9);
  std::copy_n(reinterpret_cast<float*>(data), 9, read.begin());
  XFree(data);
  EXPECT_EQ(read, std::vector<float>(turned.begin(), turned.end()));

  EXPECT_TRUE(devices.SetTransform(mouse->id, {1, 0, 0, 0, 1, 0, 0, 0, 1}));
  EXPECT_FALSE(devices.SetTransform(250, turned));  // no such device
}

}  // namespace
