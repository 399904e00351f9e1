#include <cstdint>
#include <optional>
#include <vector>

#include <gtest/gtest.h>

#include "rotation/linux_desktop/orientation_lock.h"

namespace {

using quillet::linux_desktop::GetAutoRotationOn;
using quillet::linux_desktop::SetAutoRotation;

// The desktop's lock; absent when the desktop has no schema for it.
struct FakeLock : quillet::linux_desktop::OrientationLock {
  std::optional<bool> locked;
  bool refuses = false;
  bool damaged = false;
  std::vector<bool> writes;

  std::optional<bool> IsLocked() override { return locked; }
  bool SetLocked(bool value) override {
    writes.push_back(value);
    if (refuses) return false;
    locked = value;
    damaged = false;
    return true;
  }
  bool NeedsRewrite() override { return damaged; }
};

TEST(OrientationLock, WithoutTheSettingNothingIsOnAndNothingSwitches) {
  FakeLock lock;
  EXPECT_EQ(GetAutoRotationOn(lock), 0);
  EXPECT_EQ(SetAutoRotation(lock, 1), 0);
  EXPECT_EQ(SetAutoRotation(lock, 0), 0);
  EXPECT_TRUE(lock.writes.empty());
}

TEST(OrientationLock, AutomaticRotationIsTheLockOff) {
  FakeLock lock;
  lock.locked = false;
  EXPECT_EQ(GetAutoRotationOn(lock), 1);
  EXPECT_EQ(SetAutoRotation(lock, 0), 1);
  EXPECT_EQ(lock.locked, true);
  EXPECT_EQ(GetAutoRotationOn(lock), 0);
  EXPECT_EQ(SetAutoRotation(lock, 1), 1);
  EXPECT_EQ(lock.locked, false);
  EXPECT_EQ(lock.writes, (std::vector<bool>{true, false}));
}

TEST(OrientationLock, SwitchesOnlyWhatDiffersAndReportsARefusal) {
  FakeLock lock;
  lock.locked = true;
  EXPECT_EQ(SetAutoRotation(lock, 0), 1);
  lock.locked = false;
  EXPECT_EQ(SetAutoRotation(lock, 1), 1);
  EXPECT_EQ(SetAutoRotation(lock, 2), 1);  // any non-zero value is on
  EXPECT_TRUE(lock.writes.empty());

  lock.refuses = true;
  EXPECT_EQ(SetAutoRotation(lock, 0), 0);
  EXPECT_EQ(lock.locked, false);
}

TEST(OrientationLock, ADamagedSettingIsWrittenAgainEvenWhenTheValueStays) {
  FakeLock lock;
  lock.locked = false;
  lock.damaged = true;
  EXPECT_EQ(SetAutoRotation(lock, 1), 1);
  EXPECT_EQ(lock.writes, (std::vector<bool>{false}));
  EXPECT_EQ(SetAutoRotation(lock, 1), 1);
  EXPECT_EQ(lock.writes.size(), 1u);
}

}  // namespace
