#include <cstdint>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "fake_rotation_platform.h"
#include "rotation/windows_display/auto_rotation.h"
#include "rotation/windows_display/display_rotation.h"

namespace rotation_testing {
namespace {

struct Version {
  uint32_t major;
  uint32_t minor;
};

void PrintTo(const Version& version, std::ostream* out) {
  *out << version.major << "." << version.minor;
}

std::string VersionName(const ::testing::TestParamInfo<Version>& info) {
  return "V" + std::to_string(info.param.major) + "_" + std::to_string(info.param.minor);
}

// Every operation, on a platform where each of them would otherwise succeed:
// the angle reads, a change is accepted, and automatic rotation can be switched.
class SupportedVersionTest : public RotationParamTest<Version> {};

TEST_P(SupportedVersionTest, OperationsReachThePlatform) {
  platform.major = GetParam().major;
  platform.minor = GetParam().minor;
  platform.rotations = {3};
  platform.autoRotationState = kArDisabled;

  EXPECT_EQ(quillet::GetAngle(platform.entries), 3);
  EXPECT_EQ(quillet::SetAngle(platform.entries, 2), 1);
  EXPECT_EQ(quillet::GetAutoRotationOn(platform.entries), 0);
  EXPECT_EQ(quillet::SetAutoRotation(platform.entries, 1), 1);
  EXPECT_EQ(platform.submissions.size(), 1u);
  EXPECT_EQ(platform.switchArguments.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(QuilletVersionGate, SupportedVersionTest,
                         ::testing::Values(Version{6, 2}, Version{6, 3}, Version{10, 0},
                                           Version{7, 0}, Version{6, 4}),
                         VersionName);

using QuilletVersionQuery = RotationTest;

class OlderVersionTest : public RotationParamTest<Version> {};

TEST_P(OlderVersionTest, EveryOperationFailsWithoutTouchingThePlatform) {
  platform.major = GetParam().major;
  platform.minor = GetParam().minor;
  platform.autoRotationState = kArDisabled;

  EXPECT_EQ(quillet::GetAngle(platform.entries), -1);
  EXPECT_EQ(quillet::SetAngle(platform.entries, 2), 0);
  EXPECT_EQ(quillet::GetAutoRotationOn(platform.entries), 0);
  EXPECT_EQ(quillet::SetAutoRotation(platform.entries, 1), 0);
  EXPECT_FALSE(platform.MadeDisplayOrAutoRotationCall());
  EXPECT_TRUE(platform.pauses.empty());
  EXPECT_TRUE(platform.allocationRequests.empty());
}

// 0.0 is also what a failed version query leaves behind.
INSTANTIATE_TEST_SUITE_P(QuilletVersionGate, OlderVersionTest,
                         ::testing::Values(Version{6, 1}, Version{6, 0}, Version{5, 2},
                                           Version{0, 0}),
                         VersionName);

TEST_F(QuilletVersionQuery, MissingEntryCountsAsAnOldSystem) {
  platform.entries.queryVersion = nullptr;
  EXPECT_EQ(quillet::GetAngle(platform.entries), -1);
  EXPECT_EQ(quillet::SetAutoRotation(platform.entries, 1), 0);
  EXPECT_FALSE(platform.MadeDisplayOrAutoRotationCall());
}

}  // namespace
}  // namespace rotation_testing
