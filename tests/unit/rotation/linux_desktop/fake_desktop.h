#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "rotation/linux_desktop/input_devices.h"
#include "rotation/linux_desktop/screen_control.h"

namespace rotation_testing {

// A display server's screen that keeps the rules RandR's server keeps: the
// screen size stays within its range and never cuts off a CRTC that is on,
// and a CRTC that is on shows only a rotation it supports, within the screen.
// A change the rules forbid, or the one a test picks, is refused and leaves
// everything as it was.
class FakeScreen : public quillet::linux_desktop::ScreenControl {
 public:
  quillet::linux_desktop::ScreenSize size;
  int32_t minWidth = 320;
  int32_t minHeight = 200;
  int32_t maxWidth = 8192;
  int32_t maxHeight = 8192;
  std::vector<quillet::linux_desktop::Crtc> crtcs;  // also the ones turned off (mode 0)
  bool readable = true;
  std::optional<size_t> refuseChange;  // 0-based, counting every change asked for

  size_t changes = 0;
  size_t crtcSets = 0;      // every SetCrtc asked for, refused or not
  size_t needlessSets = 0;  // of them, those asking for the config the CRTC already has
  bool grabbed = false;
  size_t grabs = 0;

  // A CRTC that shows a mode of the given size on one output, able to show
  // every rotation.
  quillet::linux_desktop::Crtc& AddCrtc(const std::string& output, int32_t width, int32_t height,
                                        int32_t x, int32_t y);
  const quillet::linux_desktop::Crtc& CrtcOn(const std::string& output) const;

  void GrabServer() override;
  void UngrabServer() override;
  std::optional<quillet::linux_desktop::ScreenState> Read() override;
  bool SetScreenSize(const quillet::linux_desktop::ScreenSize& size) override;
  bool SetCrtc(uint64_t crtc, const quillet::linux_desktop::CrtcConfig& config) override;

 private:
  bool Refused();
};

// Input devices as the server lists them; records every transform given.
class FakeInputDevices : public quillet::linux_desktop::InputDevices {
 public:
  std::vector<quillet::linux_desktop::InputDevice> devices;
  std::set<int32_t> refusing;  // devices whose transform cannot be set
  std::map<int32_t, quillet::linux_desktop::TransformMatrix> transforms;

  std::vector<quillet::linux_desktop::InputDevice> List() override { return devices; }
  bool SetTransform(int32_t device, const quillet::linux_desktop::TransformMatrix& matrix) override;
};

// A screen, devices and the pauses taken; one test at a time.
class DesktopTest : public ::testing::Test {
 protected:
  void SetUp() override { pauses.clear(); }
  void TearDown() override {
    EXPECT_FALSE(screen.grabbed) << "the server is left grabbed";
    EXPECT_EQ(screen.needlessSets, 0u);
  }

  int32_t SetAngle(int32_t code);

  static void RecordPause(uint32_t milliseconds) { pauses.push_back(milliseconds); }

  FakeScreen screen;
  FakeInputDevices devices;
  static std::vector<uint32_t> pauses;
};

}  // namespace rotation_testing
