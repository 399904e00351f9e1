#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fake_desktop.h"
#include "rotation/screen_rotation.h"

namespace rotation_testing {
namespace {

using quillet::xdesktop::CrtcConfig;
using quillet::xdesktop::kRotate0;
using quillet::xdesktop::kRotate180;
using quillet::xdesktop::kRotate270;
using quillet::xdesktop::kRotate90;
using quillet::xdesktop::ScreenSize;

constexpr uint16_t kReflectX = 16;

struct Where {
  int32_t x;
  int32_t y;
  uint16_t rotation;
};

void ExpectAt(const FakeScreen& screen, const std::string& output, Where where) {
  const CrtcConfig& config = screen.CrtcOn(output).config;
  EXPECT_EQ(config.x, where.x) << output;
  EXPECT_EQ(config.y, where.y) << output;
  EXPECT_EQ(config.rotation, where.rotation) << output;
}

class ScreenTurn : public DesktopTest {
 public:
  // A 1920 x 1080 panel of 480 x 270 mm (4 pixels a millimetre).
  void OnePanel() {
    screen.size = {1920, 1080, 480, 270};
    screen.AddCrtc("eDP-1", 1920, 1080, 0, 0);
  }
  // The panel and, right of it, a 1280 x 1024 monitor.
  void PanelAndMonitor() {
    screen.size = {3200, 1080, 800, 270};
    screen.AddCrtc("eDP-1", 1920, 1080, 0, 0);
    screen.AddCrtc("HDMI-1", 1280, 1024, 1920, 0);
  }

 protected:
  std::vector<CrtcConfig> Configs() const {
    std::vector<CrtcConfig> configs;
    for (const auto& crtc : screen.crtcs) configs.push_back(crtc.config);
    return configs;
  }
};

TEST_F(ScreenTurn, OnePanelTakesEachCodeWithTheScreenTurnedToMatch) {
  OnePanel();
  const uint16_t rotations[] = {kRotate0, kRotate90, kRotate180, kRotate270};
  for (int32_t code : {2, 3, 4, 1, 4, 2}) {
    const bool landscape = code == 1 || code == 3;
    EXPECT_EQ(SetAngle(code), 1) << code;
    const ScreenSize expected =
        landscape ? ScreenSize{1920, 1080, 480, 270} : ScreenSize{1080, 1920, 270, 480};
    EXPECT_EQ(screen.size, expected) << code;
    ExpectAt(screen, "eDP-1", {0, 0, rotations[code - 1]});
    EXPECT_EQ(quillet::xdesktop::GetAngle(screen), code);
  }
  EXPECT_EQ(pauses, std::vector<uint32_t>(6, 250));
}

TEST_F(ScreenTurn, SideBySideOutputsStaySideBySide) {
  PanelAndMonitor();
  EXPECT_EQ(SetAngle(2), 1);
  EXPECT_EQ(screen.size, (ScreenSize{1080 + 1024, 1920, 526, 480}));
  ExpectAt(screen, "eDP-1", {0, 0, kRotate90});
  ExpectAt(screen, "HDMI-1", {1080, 0, kRotate90});

  EXPECT_EQ(SetAngle(3), 1);
  EXPECT_EQ(screen.size, (ScreenSize{3200, 1080, 800, 270}));
  ExpectAt(screen, "eDP-1", {0, 0, kRotate180});
  ExpectAt(screen, "HDMI-1", {1920, 0, kRotate180});

  EXPECT_EQ(SetAngle(4), 1);
  ExpectAt(screen, "HDMI-1", {1080, 0, kRotate270});
  EXPECT_EQ(SetAngle(1), 1);
  ExpectAt(screen, "HDMI-1", {1920, 0, kRotate0});
  EXPECT_EQ(screen.size, (ScreenSize{3200, 1080, 800, 270}));
}

TEST_F(ScreenTurn, StackedOutputsWithAGapKeepTheGapAndReflections) {
  screen.size = {1920, 1080 + 40 + 1024, 480, 536};
  screen.AddCrtc("DP-1", 1920, 1080, 0, 0);
  screen.AddCrtc("DP-2", 1280, 1024, 100, 1120).config.rotation = kRotate0 | kReflectX;
  EXPECT_EQ(SetAngle(4), 1);
  ExpectAt(screen, "DP-1", {0, 0, kRotate270});
  ExpectAt(screen, "DP-2", {100, 1920 + 40, kRotate270 | kReflectX});
  EXPECT_EQ(screen.size.width, 1124);
  EXPECT_EQ(screen.size.height, 1920 + 40 + 1280);
}

TEST_F(ScreenTurn, GetAngleReadsThePrimaryOutputElseTheFirst) {
  PanelAndMonitor();
  screen.crtcs[0].config.rotation = kRotate180;
  screen.crtcs[1].config.rotation = kRotate270;
  EXPECT_EQ(quillet::xdesktop::GetAngle(screen), 3);
  screen.crtcs[1].primary = true;
  EXPECT_EQ(quillet::xdesktop::GetAngle(screen), 4);

  screen.crtcs[0].config.mode = 0;
  screen.crtcs[1].config.mode = 0;
  EXPECT_EQ(quillet::xdesktop::GetAngle(screen), -1);
  screen.readable = false;
  EXPECT_EQ(quillet::xdesktop::GetAngle(screen), -1);
}

TEST_F(ScreenTurn, OddCodesMeanNotTurned) {
  OnePanel();
  for (int32_t code : {0, 5, -1, INT32_MIN}) {
    ASSERT_EQ(SetAngle(2), 1);
    EXPECT_EQ(SetAngle(code), 1) << code;
    ExpectAt(screen, "eDP-1", {0, 0, kRotate0});
  }
}

// Every change asked for in turn is refused once: the screen must come back
// exactly as it was, with nothing else done.
TEST_F(ScreenTurn, ARefusedStepPutsBackWhatWasChanged) {
  for (auto arrange : {&ScreenTurn::OnePanel, &ScreenTurn::PanelAndMonitor}) {
    for (int32_t code : {2, 3}) {
      FakeScreen fresh;
      screen = fresh;
      (this->*arrange)();
      const auto configs = Configs();
      const ScreenSize size = screen.size;
      ASSERT_EQ(SetAngle(code), 1);
      const size_t steps = screen.changes;
      ASSERT_GE(steps, 1u);

      for (size_t refused = 0; refused < steps; ++refused) {
        screen = fresh;
        (this->*arrange)();
        screen.refuseChange = refused;
        pauses.clear();
        devices.transforms.clear();
        devices.devices = {{7,
                            "touch",
                            quillet::xdesktop::DeviceUse::kSlavePointer,
                            quillet::xdesktop::TouchMode::kDirect,
                            {},
                            true}};
        EXPECT_EQ(SetAngle(code), 0) << "code " << code << ", step " << refused;
        EXPECT_EQ(Configs(), configs) << "code " << code << ", step " << refused;
        EXPECT_EQ(screen.size, size) << "code " << code << ", step " << refused;
        EXPECT_TRUE(pauses.empty());
        EXPECT_TRUE(devices.transforms.empty());
      }
    }
  }
}

TEST_F(ScreenTurn, ImpossibleTurnsChangeNothing) {
  PanelAndMonitor();
  // The monitor cannot stand upright, only upside down.
  screen.crtcs[1].supportedRotations = kRotate0 | kRotate180;
  EXPECT_EQ(SetAngle(2), 0);
  EXPECT_EQ(screen.changes, 0u);
  EXPECT_EQ(SetAngle(3), 1);
  const size_t changes = screen.changes;

  // Upright, the screen would be taller than the server allows.
  screen.crtcs[1].supportedRotations = screen.crtcs[0].supportedRotations;
  screen.maxHeight = 1900;
  EXPECT_EQ(SetAngle(4), 0);
  EXPECT_EQ(screen.changes, changes);
  ExpectAt(screen, "eDP-1", {0, 0, kRotate180});
  ExpectAt(screen, "HDMI-1", {1920, 0, kRotate180});

  // Nothing to turn.
  for (auto& crtc : screen.crtcs) crtc.config.mode = 0;
  EXPECT_EQ(SetAngle(1), 0);
  EXPECT_EQ(screen.changes, changes);
  EXPECT_EQ(pauses.size(), 1u);
}

}  // namespace
}  // namespace rotation_testing
