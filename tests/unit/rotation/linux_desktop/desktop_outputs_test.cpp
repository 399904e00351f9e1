#include <cstdint>
#include <optional>
#include <vector>

#include <gtest/gtest.h>

#include "rotation/linux_desktop/desktop_outputs.h"

namespace rotation_testing {
namespace {

using quillet::linux_desktop::DesktopOutput;

// A Wayland desktop that takes (or refuses) every configuration it is sent.
class FakeDesktopOutputs : public quillet::linux_desktop::DesktopOutputs {
 public:
  std::optional<std::vector<DesktopOutput>> Read() override { return outputs; }
  bool Apply(const std::vector<DesktopOutput>& next) override {
    ++applied;
    if (!accepts) return false;
    outputs = next;
    return true;
  }

  std::optional<std::vector<DesktopOutput>> outputs;
  bool accepts = true;
  int applied = 0;
};

uint32_t g_paused = 0;
void RecordPause(uint32_t milliseconds) {
  g_paused += milliseconds;
}

// A 1280 x 800 panel with a 1920 x 1080 monitor right of it, and one off.
std::vector<DesktopOutput> PanelAndMonitor() {
  return {{"HDMI-A-1", false, true, 1280, 0, 1920, 1080, 0},
          {"eDP-1", true, true, 0, 0, 1280, 800, 0},
          {"DP-2", false, false, 0, 0, 1024, 768, 0}};
}

TEST(DesktopOutputs, TurnsTheBuiltInOutputAndKeepsTheOthersBesideIt) {
  struct Case {
    int32_t code;
    int32_t panelTransform;  // before
    int32_t expectedTransform;
    int32_t monitorX;
  };
  // Plain turns from upright run on each real desktop; here what they do not reach: turning back
  // from a quarter, a flip kept, a code out of range.
  for (const Case& c : {Case{1, 1, 0, 1280}, Case{7, 5, 4, 1280}, Case{2, 6, 5, 800}}) {
    std::vector<DesktopOutput> outputs = PanelAndMonitor();
    outputs[1].transform = c.panelTransform;
    if (c.panelTransform & 1) outputs[0].x = 800;
    const std::vector<DesktopOutput> turned =
        quillet::linux_desktop::TurnOutput(outputs, 1, c.code);
    EXPECT_EQ(turned[1].transform, c.expectedTransform) << c.code << " from " << c.panelTransform;
    EXPECT_EQ(turned[1].x, 0);
    EXPECT_EQ(turned[0].x, c.monitorX) << c.code << " from " << c.panelTransform;
    EXPECT_EQ(turned[0].transform, 0);
    EXPECT_EQ(turned[2], outputs[2]) << "an output that is off stays as it is";
  }
}

TEST(DesktopOutputs, ThreeInARowStayTouchingWhenTheMiddleOneTurns) {
  const std::vector<DesktopOutput> outputs = {{"DP-1", false, true, 0, 0, 1920, 1080, 0},
                                              {"eDP-1", true, true, 1920, 0, 1280, 800, 0},
                                              {"DP-2", false, true, 3200, 0, 1920, 1080, 0}};
  for (int32_t code : {2, 1}) {
    const std::vector<DesktopOutput> turned = quillet::linux_desktop::TurnOutput(outputs, 1, code);
    EXPECT_EQ(turned[0].x, 0);
    EXPECT_EQ(turned[1].x, 1920);
    EXPECT_EQ(turned[2].x, code == 2 ? 1920 + 800 : 3200) << "right against the panel";
  }
}

TEST(DesktopOutputs, SetDesktopAngleTurnsOnlyWhatNeedsTurningAndPausesOnlyAfterATurn) {
  FakeDesktopOutputs desktop;
  desktop.outputs = PanelAndMonitor();
  g_paused = 0;
  EXPECT_EQ(quillet::linux_desktop::SetDesktopAngle(desktop, &RecordPause, 2), 1);
  EXPECT_EQ(g_paused, 250u);
  EXPECT_EQ(quillet::linux_desktop::GetDesktopAngle(desktop), 2);
  EXPECT_EQ((*desktop.outputs)[0].x, 800);

  g_paused = 0;
  EXPECT_EQ(quillet::linux_desktop::SetDesktopAngle(desktop, &RecordPause, 2), 1);
  EXPECT_EQ(desktop.applied, 1) << "a screen already at the code is left alone";
  EXPECT_EQ(g_paused, 0u);

  desktop.accepts = false;
  EXPECT_EQ(quillet::linux_desktop::SetDesktopAngle(desktop, &RecordPause, 3), 0);
  EXPECT_EQ(g_paused, 0u);
  EXPECT_EQ(quillet::linux_desktop::GetDesktopAngle(desktop), 2);

  desktop.outputs.reset();
  EXPECT_EQ(quillet::linux_desktop::SetDesktopAngle(desktop, &RecordPause, 3), 0);
  EXPECT_EQ(quillet::linux_desktop::GetDesktopAngle(desktop), -1);
  desktop.outputs = std::vector<DesktopOutput>{{"DP-2", false, false, 0, 0, 1024, 768, 0}};
  EXPECT_EQ(quillet::linux_desktop::GetDesktopAngle(desktop), -1) << "no output is on";
}

}  // namespace
}  // namespace rotation_testing
