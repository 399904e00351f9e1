#include <array>
#include <cstdint>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "fake_desktop.h"

namespace rotation_testing {
namespace {

using quillet::linux_desktop::DeviceBus;
using quillet::linux_desktop::DeviceKind;
using quillet::linux_desktop::DeviceUse;
using quillet::linux_desktop::InputDevice;
using quillet::linux_desktop::PenIntegration;
using quillet::linux_desktop::TouchMode;
using quillet::linux_desktop::TransformMatrix;
using quillet::linux_desktop::Valuator;

struct Point {
  double x;
  double y;
};

// Panel and picture corners clockwise from the top-left, 0 to 1 across and down.
constexpr std::array<Point, 4> kCorners = {{{0, 0}, {1, 0}, {1, 1}, {0, 1}}};

Point Apply(const TransformMatrix& m, Point p) {
  const double w = m[6] * p.x + m[7] * p.y + m[8];
  return {(m[0] * p.x + m[1] * p.y + m[2]) / w, (m[3] * p.x + m[4] * p.y + m[5]) / w};
}

InputDevice Device(int32_t id, DeviceUse use, TouchMode touch, bool absoluteX, bool absoluteY,
                   DeviceBus bus = DeviceBus::kBuiltIn, uint32_t vendor = 0, uint32_t product = 0) {
  return {id,
          "device " + std::to_string(id),
          use,
          touch,
          {{0, absoluteX}, {1, absoluteY}},
          true,
          vendor,
          product,
          bus,
          DeviceKind::kUnknown,
          PenIntegration::kUnknown};
}

InputDevice Pen(int32_t id, DeviceBus bus, uint32_t vendor = 0, uint32_t product = 0) {
  return Device(id, DeviceUse::kSlavePointer, TouchMode::kNone, true, true, bus, vendor, product);
}

InputDevice Touchscreen(int32_t id, DeviceBus bus, uint32_t vendor = 0, uint32_t product = 0) {
  return Device(id, DeviceUse::kSlavePointer, TouchMode::kDirect, true, true, bus, vendor, product);
}

InputDevice Named(InputDevice device, std::string name) {
  device.name = std::move(name);
  return device;
}

// A device as udev and, for a pen, libwacom describe it.
InputDevice Told(InputDevice device, DeviceKind kind,
                 PenIntegration integration = PenIntegration::kUnknown) {
  device.kind = kind;
  device.integration = integration;
  return device;
}

class InputMapping : public DesktopTest {
 protected:
  static constexpr int32_t kTouchscreen = 10;

  void SetUp() override {
    DesktopTest::SetUp();
    devices.devices = {
        Device(kTouchscreen, DeviceUse::kSlavePointer, TouchMode::kDirect, true, true)};
  }

  // Where each corner of the panel under a finger lands on the screen, as a
  // fraction of the screen.
  void ExpectCornersLand(int32_t code, Point origin, Point extent, int32_t device = kTouchscreen) {
    ASSERT_EQ(devices.transforms.count(device), 1u) << code;
    const TransformMatrix& matrix = devices.transforms.at(device);
    for (size_t panel = 0; panel < 4; ++panel) {
      // Turned counter-clockwise by code - 1 quarters, the picture's corners
      // move as many places back around the panel.
      const Point picture = kCorners[(panel + static_cast<size_t>(code) - 1) % 4];
      const Point landed = Apply(matrix, kCorners[panel]);
      EXPECT_NEAR(landed.x, origin.x + picture.x * extent.x, 1e-6)
          << "code " << code << ", panel corner " << panel;
      EXPECT_NEAR(landed.y, origin.y + picture.y * extent.y, 1e-6)
          << "code " << code << ", panel corner " << panel;
    }
  }
};

TEST_F(InputMapping, TouchscreensAndTheirPensFollowButNotMiceTouchpadsDeskTabletsOrVirtualOnes) {
  screen.size = {1920, 1080, 480, 270};
  screen.AddCrtc("eDP-1", 1920, 1080, 0, 0);
  InputDevice noProperty = Device(16, DeviceUse::kSlavePointer, TouchMode::kNone, true, true);
  noProperty.hasTransform = false;
  constexpr uint32_t kWacom = 0x056A;
  devices.devices = {
      Device(2, DeviceUse::kMasterPointer, TouchMode::kNone, false, false),
      Device(3, DeviceUse::kMasterKeyboard, TouchMode::kNone, false, false),
      Device(4, DeviceUse::kSlavePointer, TouchMode::kNone, false, false),      // mouse
      Touchscreen(10, DeviceBus::kExternal, kWacom, 0x5256),                    // internal USB
      Device(11, DeviceUse::kSlavePointer, TouchMode::kDependent, true, true),  // touchpad
      Touchscreen(12, DeviceBus::kBuiltIn),                                     // refuses
      Pen(13, DeviceBus::kExternal, kWacom, 0x5256),                   // the touchscreen's own pen
      Device(14, DeviceUse::kFloating, TouchMode::kNone, true, true),  // built-in eraser
      Device(15, DeviceUse::kSlaveKeyboard, TouchMode::kNone, true, true),  // tablet's keys
      noProperty,
      Device(17, DeviceUse::kSlavePointer, TouchMode::kNone, true, false),
      Device(18, DeviceUse::kSlavePointer, TouchMode::kDirect, false, false),  // touchscreen
      Pen(19, DeviceBus::kExternal, kWacom, 0x0357),                           // desk tablet
      Pen(20, DeviceBus::kUnknown),                                            // no telling
      Pen(21, DeviceBus::kVirtual, kWacom, 0x5256),                            // made up alike
      Named(Pen(22, DeviceBus::kExternal), "QEMU QEMU USB Tablet"),
      Named(Touchscreen(23, DeviceBus::kUnknown), "xwayland-touch:14"),
      Named(Pen(24, DeviceBus::kBuiltIn), "VirtualBox mouse integration"),
  };
  devices.refusing = {12};
  ASSERT_EQ(SetAngle(2), 1);
  std::set<int32_t> given;
  for (const auto& [id, matrix] : devices.transforms) given.insert(id);
  EXPECT_EQ(given, (std::set<int32_t>{10, 13, 14, 18}));
  EXPECT_EQ(devices.transforms.at(13), devices.transforms.at(10));
}

TEST_F(InputMapping, WhatUdevAndLibwacomTellOutweighsTheBusAndTheName) {
  screen.size = {3200, 1080, 800, 270};
  screen.AddCrtc("eDP-1", 1920, 1080, 0, 0);
  screen.AddCrtc("HDMI-1", 1280, 1024, 1920, 0);
  constexpr uint32_t kWacom = 0x056A;
  devices.devices = {
      Told(Touchscreen(10, DeviceBus::kVirtual), DeviceKind::kTouchscreen),  // made with uinput
      Told(Pen(11, DeviceBus::kVirtual), DeviceKind::kPen, PenIntegration::kSystemDisplay),
      Told(Pen(12, DeviceBus::kBuiltIn), DeviceKind::kPen,
           PenIntegration::kNoDisplay),  // desk tablet
      // A pen display on a cable, with its own touch: both on the monitor.
      Told(Pen(13, DeviceBus::kUnknown, kWacom, 0x0390), DeviceKind::kPen,
           PenIntegration::kOwnDisplay),
      Told(Touchscreen(14, DeviceBus::kExternal, kWacom, 0x0390), DeviceKind::kTouchscreen),
      Told(Pen(15, DeviceBus::kBuiltIn), DeviceKind::kPen),   // unknown to libwacom, built in
      Told(Pen(16, DeviceBus::kExternal), DeviceKind::kPen),  // unknown to libwacom, on a plug
      // A virtual machine's absolute pointer, which udev calls a mouse, and a tablet's buttons.
      Told(Pen(17, DeviceBus::kExternal), DeviceKind::kOther),
      Told(Touchscreen(18, DeviceBus::kBuiltIn), DeviceKind::kOther),
  };
  ASSERT_EQ(SetAngle(2), 1);
  std::set<int32_t> given;
  for (const auto& [id, matrix] : devices.transforms) given.insert(id);
  EXPECT_EQ(given, (std::set<int32_t>{10, 11, 13, 14, 15}));
  EXPECT_EQ(devices.transforms.at(11), devices.transforms.at(10));
  EXPECT_EQ(devices.transforms.at(13), devices.transforms.at(14));
  EXPECT_NE(devices.transforms.at(13), devices.transforms.at(10));
}

TEST_F(InputMapping, ATapLandsOnThePictureUnderTheFingerForEveryCode) {
  screen.size = {1920, 1080, 480, 270};
  screen.AddCrtc("eDP-1", 1920, 1080, 0, 0);
  for (int32_t code : {2, 3, 4, 1}) {
    devices.transforms.clear();
    ASSERT_EQ(SetAngle(code), 1);
    ExpectCornersLand(code, {0, 0}, {1, 1});
  }
}

TEST_F(InputMapping, WithTwoOutputsTouchStaysOnThePanel) {
  // The primary monitor left of the built-in panel.
  screen.size = {3200, 1080, 800, 270};
  screen.AddCrtc("HDMI-1", 1280, 1024, 0, 0).primary = true;
  screen.AddCrtc("eDP-1", 1920, 1080, 1280, 0);
  for (int32_t code : {2, 3, 4, 1}) {
    devices.transforms.clear();
    ASSERT_EQ(SetAngle(code), 1);
    // Only the panel turns; the monitor keeps its place and size.
    const bool portrait = code == 2 || code == 4;
    const double width = portrait ? 1280 + 1080 : 3200;
    ExpectCornersLand(code, {1280 / width, 0}, {(width - 1280) / width, 1});
  }

  // Without a built-in panel, the touchscreen is taken to sit on the primary output.
  screen.crtcs[1].outputNames = {"DP-2"};
  devices.transforms.clear();
  ASSERT_EQ(SetAngle(3), 1);
  ExpectCornersLand(3, {0, 0}, {1280.0 / 3200, 1024.0 / 1080});
}

TEST_F(InputMapping, AnExternalTouchMonitorAndItsPenFollowTheOneOtherOutput) {
  screen.size = {3200, 1080, 800, 270};
  screen.AddCrtc("eDP-1", 1920, 1080, 0, 0);
  screen.AddCrtc("HDMI-1", 1280, 1024, 1920, 0);
  constexpr int32_t kMonitorTouch = 30;
  devices.devices.push_back(Touchscreen(kMonitorTouch, DeviceBus::kExternal, 0x0EEF, 0x0001));
  devices.devices.push_back(Pen(31, DeviceBus::kExternal, 0x0EEF, 0x0001));
  ASSERT_EQ(SetAngle(2), 1);
  const double width = 1080 + 1280;
  ExpectCornersLand(2, {0, 0}, {1080 / width, 1});
  // The monitor keeps its upright picture beside the turned panel.
  ExpectCornersLand(1, {1080 / width, 0}, {1280 / width, 1024.0 / 1920}, kMonitorTouch);
  EXPECT_EQ(devices.transforms.at(31), devices.transforms.at(kMonitorTouch));

  // With two other outputs nothing tells which one it is: the panel it is.
  screen.size = {2360 + 800, 1920, 800, 480};
  screen.AddCrtc("DP-2", 800, 600, 2360, 0);
  devices.transforms.clear();
  ASSERT_EQ(SetAngle(1), 1);
  EXPECT_EQ(devices.transforms.at(kMonitorTouch), devices.transforms.at(kTouchscreen));
}

TEST_F(InputMapping, AskingForTheAngleTheScreenHasMapsDevicesAndChangesNothing) {
  // A screen larger than its panel, which a turn would shrink around it.
  screen.size = {2000, 1200, 500, 300};
  screen.AddCrtc("eDP-1", 1920, 1080, 40, 60).config.rotation = quillet::linux_desktop::kRotate180;
  ASSERT_EQ(SetAngle(3), 1);
  EXPECT_EQ(screen.changes, 0u);
  EXPECT_EQ(screen.crtcSets, 0u);
  EXPECT_EQ(screen.size, (quillet::linux_desktop::ScreenSize{2000, 1200, 500, 300}));
  EXPECT_TRUE(pauses.empty()) << "nothing turned, nothing to wait for";
  ExpectCornersLand(3, {40.0 / 2000, 60.0 / 1200}, {1920.0 / 2000, 1080.0 / 1200});

  // Upright beside a monitor: the touchscreen leaves the whole desktop for the panel.
  screen.size = {3200, 1080, 800, 270};
  screen.crtcs.clear();
  screen.AddCrtc("eDP-1", 1920, 1080, 0, 0);
  screen.AddCrtc("HDMI-1", 1280, 1024, 1920, 0);
  devices.transforms.clear();
  ASSERT_EQ(SetAngle(1), 1);
  EXPECT_EQ(screen.changes, 0u);
  ExpectCornersLand(1, {0, 0}, {1920.0 / 3200, 1});
}

}  // namespace
}  // namespace rotation_testing
