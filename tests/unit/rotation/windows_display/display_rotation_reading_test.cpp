#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fake_rotation_platform.h"
#include "rotation/windows_display/display_rotation.h"

namespace rotation_testing {
namespace {

using QuilletGetAngle = RotationTest;

TEST_F(QuilletGetAngle, ReportsEachCodeOfTheFirstPath) {
  for (uint32_t code : {1u, 2u, 3u, 4u}) {
    platform.rotations = {code, 1};
    EXPECT_EQ(quillet::GetAngle(platform.entries), static_cast<int32_t>(code));
  }
}

TEST_F(QuilletGetAngle, ReportsTheFirstOfSeveralPaths) {
  platform.rotations = {4, 2, 3};
  EXPECT_EQ(quillet::GetAngle(platform.entries), 4);
}

TEST_F(QuilletGetAngle, UnknownCodeOfTheFirstPathReadsAsNotTurned) {
  for (uint32_t code : {0u, 5u, 0x80000002u, 0xFFFFFFFFu}) {
    platform.rotations = {code, 3};
    EXPECT_EQ(quillet::GetAngle(platform.entries), 1) << code;
  }
}

TEST_F(QuilletGetAngle, NoActivePathReadsAsNotTurned) {
  platform.rotations = {};
  platform.modeCount = 0;
  EXPECT_EQ(quillet::GetAngle(platform.entries), 1);
  EXPECT_EQ(platform.queries.size(), 1u);
}

TEST_F(QuilletGetAngle, AsksForActivePathsOnlyWithArraysOfTheReportedSize) {
  platform.rotations = {2, 2};
  platform.modeCount = 3;
  EXPECT_EQ(quillet::GetAngle(platform.entries), 2);

  ASSERT_EQ(platform.queries.size(), 1u);
  EXPECT_EQ(platform.sizesFlags, std::vector<uint32_t>{2});
  const auto& query = platform.queries[0];
  EXPECT_EQ(query.flags, 2u);
  EXPECT_EQ(query.pathCapacity, 2u);
  EXPECT_EQ(query.modeCapacity, 3u);
  EXPECT_EQ(query.topologyId, nullptr);
  EXPECT_EQ(platform.allocationRequests, (std::vector<uint32_t>{2 * 72, 3 * 64}));
}

TEST_F(QuilletGetAngle, FailedOrMissingSizeQueryFailsBeforeAllocating) {
  platform.sizesResult = kErrorGenFailure;
  EXPECT_EQ(quillet::GetAngle(platform.entries), -1);
  platform.sizesResult = 0;
  platform.entries.getDisplayConfigBufferSizes = nullptr;
  EXPECT_EQ(quillet::GetAngle(platform.entries), -1);

  EXPECT_TRUE(platform.queries.empty());
  EXPECT_TRUE(platform.allocationRequests.empty());
}

TEST_F(QuilletGetAngle, FailedOrMissingQueryFails) {
  platform.queryResult = kErrorGenFailure;
  EXPECT_EQ(quillet::GetAngle(platform.entries), -1);
  platform.queryResult = 0;
  platform.entries.queryDisplayConfig = nullptr;
  EXPECT_EQ(quillet::GetAngle(platform.entries), -1);
  EXPECT_EQ(platform.queries.size(), 1u);
}

TEST_F(QuilletGetAngle, ConfigurationGrownBeforeTheQueryIsAskedForAgain) {
  platform.rotations = {2, 1};
  platform.queryRaces = 2;
  EXPECT_EQ(quillet::GetAngle(platform.entries), 2);
  ASSERT_EQ(platform.queries.size(), 3u);
  EXPECT_EQ(platform.sizesFlags.size(), 3u);
  EXPECT_EQ(platform.queries[2].pathCapacity, 2u);
}

TEST_F(QuilletGetAngle, ConfigurationGrowingAtEveryQueryFailsAfterThree) {
  platform.rotations = {2, 1};
  platform.sizesPathCount = 1;  // a display was attached after every size query
  EXPECT_EQ(quillet::GetAngle(platform.entries), -1);
  std::vector<std::string> expected;
  for (int attempt = 0; attempt < 3; ++attempt) {
    expected.insert(expected.end(), {"GetDisplayConfigBufferSizes", "QueryDisplayConfig"});
  }
  EXPECT_EQ(platform.calls, expected);
}

TEST_F(QuilletGetAngle, QueryClaimingMorePathsOrMoreModesThanTheArraysHoldFails) {
  platform.rotations = {2};
  platform.queryOverstatesPaths = 1;
  EXPECT_EQ(quillet::GetAngle(platform.entries), -1);
  platform.queryOverstatesPaths = 0;
  platform.queryOverstatesModes = 1;
  EXPECT_EQ(quillet::GetAngle(platform.entries), -1);
}

TEST_F(QuilletGetAngle, ByteSizeBeyond32BitsIsRefusedWithoutAllocating) {
  // 59652324 paths of 72 bytes, or 2^26 modes of 64 bytes, need 2^32 bytes or more.
  platform.sizesPathCount = 59652324;
  EXPECT_EQ(quillet::GetAngle(platform.entries), -1);
  EXPECT_TRUE(platform.allocationRequests.empty());

  platform.sizesPathCount.reset();
  platform.sizesModeCount = 67108864;
  EXPECT_EQ(quillet::GetAngle(platform.entries), -1);
  EXPECT_EQ(platform.allocationRequests, std::vector<uint32_t>{72});
  EXPECT_TRUE(platform.queries.empty());
}

TEST_F(QuilletGetAngle, LargestByteSizeThatFitsIsAskedOfTheHeap) {
  platform.sizesPathCount = 59652323;
  platform.sizesModeCount = 67108863;
  EXPECT_EQ(quillet::GetAngle(platform.entries), -1);  // the heap refuses such blocks
  EXPECT_EQ(platform.allocationRequests, std::vector<uint32_t>{4294967256u});
}

TEST_F(QuilletGetAngle, FailedAllocationOfEitherArrayIsAFailedReading) {
  for (size_t failing : {0u, 1u}) {
    platform.failAllocationNumber = platform.allocationRequests.size() + failing;
    EXPECT_EQ(quillet::GetAngle(platform.entries), -1) << failing;
    EXPECT_EQ(platform.LiveBlocks(), 0u);
  }
  EXPECT_TRUE(platform.queries.empty());
}

}  // namespace
}  // namespace rotation_testing
