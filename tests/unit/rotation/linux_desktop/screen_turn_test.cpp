#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fake_desktop.h"
#include "rotation/linux_desktop/screen_layout.h"
#include "rotation/linux_desktop/screen_rotation.h"

namespace rotation_testing {
namespace {

using quillet::linux_desktop::CrtcConfig;
using quillet::linux_desktop::kRotate0;
using quillet::linux_desktop::kRotate180;
using quillet::linux_desktop::kRotate270;
using quillet::linux_desktop::kRotate90;
using quillet::linux_desktop::ScreenSize;

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
  // The same two the other way round: the panel reaches the screen's right edge.
  void MonitorThenPanel() {
    screen.size = {3200, 1080, 800, 270};
    screen.AddCrtc("HDMI-1", 1280, 1024, 0, 0);
    screen.AddCrtc("eDP-1", 1920, 1080, 1280, 0);
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
    EXPECT_EQ(quillet::linux_desktop::GetScreenAngle(screen), code);
  }
  EXPECT_EQ(pauses, std::vector<uint32_t>(6, 250));
}

// The primary monitor stands upright ("left") beside the panel and stays so
// while only the panel turns.
TEST_F(ScreenTurn, OnlyThePanelTurnsAndAnUprightMonitorStaysBesideIt) {
  screen.size = {1920 + 1024, 1280, 736, 320};
  screen.AddCrtc("eDP-1", 1920, 1080, 0, 0);
  auto& monitor = screen.AddCrtc("HDMI-1", 1280, 1024, 1920, 0);
  monitor.config.rotation = kRotate90;
  monitor.primary = true;
  for (int32_t code : {2, 3, 4, 1}) {
    const bool portrait = code == 2 || code == 4;
    const int32_t panelWidth = portrait ? 1080 : 1920;
    const int32_t height = portrait ? 1920 : 1280;
    ASSERT_EQ(SetAngle(code), 1) << code;
    EXPECT_EQ(screen.size,
              (ScreenSize{panelWidth + 1024, height, (panelWidth + 1024) / 4, height / 4}))
        << code;
    ExpectAt(screen, "eDP-1", {0, 0, static_cast<uint16_t>(1u << (code - 1))});
    ExpectAt(screen, "HDMI-1", {panelWidth, 0, kRotate90});
    EXPECT_EQ(quillet::linux_desktop::GetScreenAngle(screen), code);
  }
}

TEST_F(ScreenTurn, StackedOutputsWithAGapKeepTheGapAndReflections) {
  screen.size = {1920, 1080 + 40 + 1024, 480, 536};
  screen.AddCrtc("DP-1", 1920, 1080, 0, 0);
  screen.AddCrtc("DP-2", 1280, 1024, 100, 1120).config.rotation = kRotate0 | kReflectX;
  screen.crtcs[0].config.rotation = kRotate0 | kReflectX;
  // Neither is built in nor primary: the first turns.
  EXPECT_EQ(SetAngle(4), 1);
  ExpectAt(screen, "DP-1", {0, 0, kRotate270 | kReflectX});
  ExpectAt(screen, "DP-2", {100, 1920 + 40, kRotate0 | kReflectX});
  EXPECT_EQ(screen.size.width, 1380);
  EXPECT_EQ(screen.size.height, 1920 + 40 + 1024);
}

TEST_F(ScreenTurn, GetAngleReadsThePanelElseThePrimaryOutputElseTheFirst) {
  PanelAndMonitor();
  screen.crtcs[0].config.rotation = kRotate180;
  screen.crtcs[1].config.rotation = kRotate270;
  screen.crtcs[1].primary = true;
  EXPECT_EQ(quillet::linux_desktop::GetScreenAngle(screen), 3);
  // Known as built in by its connector alone.
  screen.crtcs[0].outputNames = {"DP-3"};
  screen.crtcs[0].panelConnector = true;
  EXPECT_EQ(quillet::linux_desktop::GetScreenAngle(screen), 3);
  screen.crtcs[0].panelConnector = false;
  EXPECT_EQ(quillet::linux_desktop::GetScreenAngle(screen), 4);
  screen.crtcs[1].primary = false;
  EXPECT_EQ(quillet::linux_desktop::GetScreenAngle(screen), 3);

  screen.crtcs[0].config.mode = 0;
  screen.crtcs[1].config.mode = 0;
  EXPECT_EQ(quillet::linux_desktop::GetScreenAngle(screen), -1);
  screen.readable = false;
  EXPECT_EQ(quillet::linux_desktop::GetScreenAngle(screen), -1);
}

// A 1920 x 1200 panel magnified 1.5 times (xrandr --scale 0.6667x0.6667)
// covers 1280 x 800 of the screen, and one shrunk (--scale 1.5x1.5) 2880 x
// 1800; turned, the footprints swap and the monitor beside moves along.
TEST_F(ScreenTurn, AScaledPanelTurnsWithinItsScaledFootprint) {
  struct Case {
    double scale;
    int32_t wide;
    int32_t high;
  };
  for (const Case& c : {Case{2.0 / 3, 1280, 800}, Case{1.5, 2880, 1800}}) {
    screen = FakeScreen{};
    screen.size = {c.wide + 1920, std::max(c.high, 1080), 0, 0};
    auto& panel = screen.AddCrtc("eDP-1", 1920, 1200, 0, 0);
    panel.transform = {c.scale, 0, 0, 0, c.scale, 0, 0, 0, 1};
    screen.AddCrtc("HDMI-1", 1920, 1080, c.wide, 0);
    ASSERT_EQ(SetAngle(2), 1) << c.scale;
    EXPECT_EQ(screen.size.width, c.high + 1920) << c.scale;
    EXPECT_EQ(screen.size.height, std::max(c.wide, 1080)) << c.scale;
    ExpectAt(screen, "HDMI-1", {c.high, 0, kRotate0});
  }
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
                            quillet::linux_desktop::DeviceUse::kSlavePointer,
                            quillet::linux_desktop::TouchMode::kDirect,
                            {},
                            true}};
        EXPECT_EQ(SetAngle(code), 0) << "code " << code << ", step " << refused;
        EXPECT_EQ(Configs(), configs) << "code " << code << ", step " << refused;
        EXPECT_EQ(screen.size, size) << "code " << code << ", step " << refused;
        EXPECT_TRUE(pauses.empty());
        EXPECT_TRUE(devices.transforms.empty());
        EXPECT_EQ(screen.needlessSets, 0u) << "code " << code << ", step " << refused;
      }
    }
  }
}

TEST_F(ScreenTurn, OnlyThePanelsOwnLimitsStopATurn) {
  PanelAndMonitor();
  // The monitor cannot turn at all; it only moves.
  screen.crtcs[1].supportedRotations = kRotate0;
  EXPECT_EQ(SetAngle(2), 1);
  ExpectAt(screen, "eDP-1", {0, 0, kRotate90});
  ExpectAt(screen, "HDMI-1", {1080, 0, kRotate0});
  EXPECT_EQ(SetAngle(3), 1);
  const size_t changes = screen.changes;

  // The panel cannot stand upright, only upside down.
  screen.crtcs[0].supportedRotations = kRotate0 | kRotate180;
  EXPECT_EQ(SetAngle(2), 0);
  EXPECT_EQ(screen.changes, changes);

  // Upright, the screen would be taller than the server allows.
  screen.crtcs[0].supportedRotations = kRotate0 | kRotate90 | kRotate180 | kRotate270;
  screen.maxHeight = 1900;
  EXPECT_EQ(SetAngle(4), 0);
  EXPECT_EQ(screen.changes, changes);
  ExpectAt(screen, "eDP-1", {0, 0, kRotate180});
  ExpectAt(screen, "HDMI-1", {1920, 0, kRotate0});

  // Nothing to turn.
  for (auto& crtc : screen.crtcs) crtc.config.mode = 0;
  EXPECT_EQ(SetAngle(1), 0);
  EXPECT_EQ(screen.changes, changes);
  EXPECT_EQ(pauses.size(), 2u);
}

// Panning ties a CRTC to an area of the screen that a new layout would break.
TEST_F(ScreenTurn, AScreenThatPansIsNotLaidOutAnew) {
  for (size_t panning : {0u, 1u}) {
    screen = FakeScreen{};
    PanelAndMonitor();
    screen.crtcs[panning].pans = true;
    const auto configs = Configs();
    EXPECT_EQ(SetAngle(2), 0) << panning;
    EXPECT_EQ(SetAngle(3), 0) << panning;
    EXPECT_EQ(screen.changes, 0u) << panning;
    EXPECT_EQ(Configs(), configs) << panning;
    // Where nothing has to change, nothing is refused.
    EXPECT_EQ(SetAngle(1), 1) << panning;
  }
  EXPECT_TRUE(pauses.empty()) << "nothing turned, nothing to wait for";
}

// A CRTC that changes but still fits the screen, even reaching its very
// edge, gets one request; only one the new size would cut off goes dark first.
TEST_F(ScreenTurn, EachCrtcGetsOneRequestUnlessTheNewSizeCutsItOff) {
  struct Case {
    void (ScreenTurn::*arrange)();
    int32_t code;
    size_t sets;
  };
  const auto monitorThenPanel = &ScreenTurn::MonitorThenPanel;
  for (const Case& c : {Case{&ScreenTurn::OnePanel, 3, 1}, Case{monitorThenPanel, 3, 1},
                        Case{&ScreenTurn::PanelAndMonitor, 2, 3}, Case{monitorThenPanel, 2, 2}}) {
    screen = FakeScreen{};
    (this->*c.arrange)();
    ASSERT_EQ(SetAngle(c.code), 1);
    EXPECT_EQ(screen.crtcSets, c.sets) << screen.crtcs.size() << " outputs, code " << c.code;
  }
}

}  // namespace
}  // namespace rotation_testing
