#include <array>
#include <cstdint>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "fake_desktop.h"

namespace rotation_testing {
namespace {

using quillet::xdesktop::DeviceUse;
using quillet::xdesktop::InputDevice;
using quillet::xdesktop::TouchMode;
using quillet::xdesktop::TransformMatrix;
using quillet::xdesktop::Valuator;

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

InputDevice Device(int32_t id, DeviceUse use, TouchMode touch, bool absoluteX, bool absoluteY) {
  return {id, "device " + std::to_string(id), use, touch, {{0, absoluteX}, {1, absoluteY}}, true};
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
  void ExpectCornersLand(int32_t code, Point origin, Point extent) {
    ASSERT_EQ(devices.transforms.count(kTouchscreen), 1u) << code;
    const TransformMatrix& matrix = devices.transforms.at(kTouchscreen);
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

TEST_F(InputMapping, TouchscreensAndPensFollowButNotMiceOrTouchpads) {
  screen.size = {1920, 1080, 480, 270};
  screen.AddCrtc("eDP-1", 1920, 1080, 0, 0);
  InputDevice noProperty = Device(16, DeviceUse::kSlavePointer, TouchMode::kNone, true, true);
  noProperty.hasTransform = false;
  devices.devices = {
      Device(2, DeviceUse::kMasterPointer, TouchMode::kNone, false, false),
      Device(3, DeviceUse::kMasterKeyboard, TouchMode::kNone, false, false),
      Device(4, DeviceUse::kSlavePointer, TouchMode::kNone, false, false),      // mouse
      Device(10, DeviceUse::kSlavePointer, TouchMode::kDirect, true, true),     // touchscreen
      Device(11, DeviceUse::kSlavePointer, TouchMode::kDependent, true, true),  // touchpad
      Device(12, DeviceUse::kSlavePointer, TouchMode::kDirect, true, true),     // refuses
      Device(13, DeviceUse::kSlavePointer, TouchMode::kNone, true, true),       // pen
      Device(14, DeviceUse::kFloating, TouchMode::kNone, true, true),           // eraser
      Device(15, DeviceUse::kSlaveKeyboard, TouchMode::kNone, true, true),      // tablet's keys
      noProperty,
      Device(17, DeviceUse::kSlavePointer, TouchMode::kNone, true, false),
      Device(18, DeviceUse::kSlavePointer, TouchMode::kDirect, false, false),  // touchscreen
  };
  devices.refusing = {12};
  ASSERT_EQ(SetAngle(2), 1);
  std::set<int32_t> given;
  for (const auto& [id, matrix] : devices.transforms) given.insert(id);
  EXPECT_EQ(given, (std::set<int32_t>{10, 13, 14, 18}));
  EXPECT_EQ(devices.transforms.at(13), devices.transforms.at(10));
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

}  // namespace
}  // namespace rotation_testing
