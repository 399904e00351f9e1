#include <cstdint>

#include <gtest/gtest.h>

#include "fake_rotation_platform.h"
#include "rotation/windows_display/auto_rotation.h"

namespace rotation_testing {
namespace {

using QuilletGetAutoRotationOn = RotationTest;
using QuilletSetAutoRotation = RotationTest;

TEST_F(QuilletGetAutoRotationOn, OnlyAnEnabledStateReadSuccessfullyCounts) {
  platform.autoRotationState = 0u;
  EXPECT_EQ(quillet::GetAutoRotationOn(platform.entries), 1);

  for (uint32_t state : {kArDisabled, kArSuppressed, kArNoSensor, kArNotSupported,
                         kArDisabled | kArNoSensor, 0x80000000u}) {
    platform.autoRotationState = state;
    EXPECT_EQ(quillet::GetAutoRotationOn(platform.entries), 0) << state;
  }
}

TEST_F(QuilletGetAutoRotationOn, UnreadableStateCountsAsOff) {
  platform.autoRotationState = 0u;
  for (int32_t result : {0, 2, -1}) {
    platform.autoRotationResult = result;
    EXPECT_EQ(quillet::GetAutoRotationOn(platform.entries), 0) << result;
  }
  // Success claimed, but nothing written.
  platform.autoRotationResult = 1;
  platform.autoRotationState.reset();
  EXPECT_EQ(quillet::GetAutoRotationOn(platform.entries), 0);

  platform.entries.getAutoRotationState = nullptr;
  EXPECT_EQ(quillet::GetAutoRotationOn(platform.entries), 0);
}

TEST_F(QuilletGetAutoRotationOn, TouchesNoDisplayConfiguration) {
  quillet::GetAutoRotationOn(platform.entries);
  EXPECT_EQ(platform.calls, std::vector<std::string>{"GetAutoRotationState"});
  EXPECT_TRUE(platform.allocationRequests.empty());
}

TEST_F(QuilletSetAutoRotation, AlreadyInTheAskedStateMakesNoSwitch) {
  platform.autoRotationState = 0u;
  EXPECT_EQ(quillet::SetAutoRotation(platform.entries, 1), 1);
  platform.autoRotationState = kArDisabled;
  EXPECT_EQ(quillet::SetAutoRotation(platform.entries, 0), 1);
  EXPECT_TRUE(platform.switchArguments.empty());
}

TEST_F(QuilletSetAutoRotation, SwitchesWhenTheStateDiffers) {
  platform.autoRotationState = 0u;
  EXPECT_EQ(quillet::SetAutoRotation(platform.entries, 0), 1);
  platform.autoRotationState = kArDisabled;
  EXPECT_EQ(quillet::SetAutoRotation(platform.entries, 1), 1);
  EXPECT_EQ(platform.switchArguments, (std::vector<int32_t>{0, 1}));
}

TEST_F(QuilletSetAutoRotation, WithoutSensorTurningOnReachesTheSwitch) {
  platform.autoRotationState = kArNoSensor;
  EXPECT_EQ(quillet::SetAutoRotation(platform.entries, 1), 1);
  EXPECT_EQ(platform.switchArguments, std::vector<int32_t>{1});

  platform.autoRotationResult = 0;  // the state cannot be read at all
  EXPECT_EQ(quillet::SetAutoRotation(platform.entries, 1), 1);
  EXPECT_EQ(platform.switchArguments, (std::vector<int32_t>{1, 1}));
}

TEST_F(QuilletSetAutoRotation, PassesTheArgumentUnchanged) {
  for (uint32_t state : {0u, kArDisabled}) {
    platform.autoRotationState = state;
    for (int32_t argument : {2, -1})
      EXPECT_EQ(quillet::SetAutoRotation(platform.entries, argument), 1);
  }
  EXPECT_EQ(platform.switchArguments, (std::vector<int32_t>{2, -1, 2, -1}));
}

TEST_F(QuilletSetAutoRotation, ReportsFailureWhenTheSwitchFailsOrIsMissing) {
  platform.autoRotationState = kArDisabled;
  for (int32_t result : {0, 2, -1}) {
    platform.switchResult = result;
    EXPECT_EQ(quillet::SetAutoRotation(platform.entries, 1), 0) << result;
  }
  platform.entries.switchAutoRotation = nullptr;
  EXPECT_EQ(quillet::SetAutoRotation(platform.entries, 1), 0);
  EXPECT_EQ(platform.switchArguments.size(), 3u);
}

TEST_F(QuilletSetAutoRotation, TouchesNoDisplayConfiguration) {
  platform.autoRotationState = kArDisabled;
  quillet::SetAutoRotation(platform.entries, 1);
  EXPECT_EQ(platform.calls,
            (std::vector<std::string>{"GetAutoRotationState", "SwitchAutoRotation"}));
  EXPECT_TRUE(platform.pauses.empty());
}

}  // namespace
}  // namespace rotation_testing
