#include <cstdint>
#include <cstring>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fake_rotation_platform.h"
#include "rotation/windows_display/display_rotation.h"

namespace rotation_testing {
namespace {

using QuilletSetAngle = RotationTest;

struct Normalisation {
  int32_t argument;
  uint32_t applied;
};

void PrintTo(const Normalisation& n, std::ostream* out) {
  *out << n.argument << " applies " << n.applied;
}

std::string NormalisationName(const ::testing::TestParamInfo<Normalisation>& info) {
  const int64_t argument = info.param.argument;
  return (argument < 0 ? "Minus" + std::to_string(-argument) : std::to_string(argument)) +
         "Applies" + std::to_string(info.param.applied);
}

class QuilletSetAngleCode : public RotationParamTest<Normalisation> {};

TEST_P(QuilletSetAngleCode, AppliesTheNormalisedCode) {
  platform.rotations = {3};
  EXPECT_EQ(quillet::SetAngle(platform.entries, GetParam().argument), 1);
  ASSERT_EQ(platform.submissions.size(), 1u);
  EXPECT_EQ(platform.submissions[0].paths[0].rotation, GetParam().applied);
}

INSTANTIATE_TEST_SUITE_P(QuilletSetAngle, QuilletSetAngleCode,
                         ::testing::Values(Normalisation{0, 1}, Normalisation{5, 1},
                                           Normalisation{-1, 1}, Normalisation{1, 1},
                                           Normalisation{2, 2}, Normalisation{3, 3},
                                           Normalisation{4, 4},
                                           Normalisation{std::numeric_limits<int32_t>::min(), 1}),
                         NormalisationName);

TEST_F(QuilletSetAngle, TurnsEveryActivePathAndTheFirstIsReportedAfterwards) {
  platform.rotations = {1, 2};
  EXPECT_EQ(quillet::SetAngle(platform.entries, 3), 1);
  ASSERT_EQ(platform.submissions.size(), 1u);
  EXPECT_EQ(platform.submissions[0].paths[0].rotation, 3u);
  EXPECT_EQ(platform.submissions[0].paths[1].rotation, 3u);
  EXPECT_EQ(quillet::GetAngle(platform.entries), 3);
}

TEST_F(QuilletSetAngle, SubmitsTheQueriedConfigurationAppliedAndSaved) {
  platform.rotations = {1, 4};
  platform.modeCount = 3;
  // The size query may report more than the query then writes.
  platform.sizesPathCount = 5;
  platform.sizesModeCount = 6;
  EXPECT_EQ(quillet::SetAngle(platform.entries, 2), 1);

  ASSERT_EQ(platform.submissions.size(), 1u);
  ASSERT_EQ(platform.queries.size(), 1u);
  const auto& submitted = platform.submissions[0];
  EXPECT_EQ(submitted.flags, 0x2A0u);
  EXPECT_EQ(submitted.pathCount, 2u);
  EXPECT_EQ(submitted.modeCount, 3u);
  EXPECT_EQ(submitted.pathArray, platform.queries[0].pathArray);
  EXPECT_EQ(submitted.modeArray, platform.queries[0].modeArray);
  // Everything but the rotation goes back as the query returned it.
  for (size_t i = 0; i < 2; ++i) {
    const auto expected = FakeRotationPlatform::PathPattern(i, 2);
    EXPECT_EQ(std::memcmp(&submitted.paths[i], &expected, sizeof(expected)), 0) << i;
  }
  for (size_t i = 0; i < 3; ++i) {
    const auto expected = FakeRotationPlatform::ModePattern(i);
    EXPECT_EQ(std::memcmp(&submitted.modes[i], &expected, sizeof(expected)), 0) << i;
  }
}

TEST_F(QuilletSetAngle, PausesAfterAnAcceptedChange) {
  EXPECT_EQ(quillet::SetAngle(platform.entries, 4), 1);
  EXPECT_EQ(platform.pauses, std::vector<uint32_t>{250});
  EXPECT_EQ(platform.calls.back(), "Sleep");
  EXPECT_EQ(platform.calls[platform.calls.size() - 2], "SetDisplayConfig");
}

TEST_F(QuilletSetAngle, RefusedTurnIsRetriedOnceWithChangesAllowedAndReshapedDesktops) {
  using P = FakeRotationPlatform;
  platform.rotations = {1, 1, 3};
  // Two screens mirror one 1280 x 800 desktop; the third shows its own.
  platform.modes = {P::Mode(0, 1, 1280, 800), P::Mode(1, 2, 1280, 800), P::Mode(2, 1, 1920, 1080)};
  platform.sourceModeIndices = {0, 0, 2};
  platform.firstSetResults = {kErrorInvalidParameter};
  EXPECT_EQ(quillet::SetAngle(platform.entries, 4), 1);

  ASSERT_EQ(platform.submissions.size(), 2u);
  const auto& first = platform.submissions[0];
  const auto& retry = platform.submissions[1];
  EXPECT_EQ(first.flags, 0x2A0u);
  EXPECT_EQ(first.modes[0].width, 1280u);
  EXPECT_EQ(retry.flags, 0x6A0u);
  EXPECT_EQ(retry.paths[2].rotation, 4u);
  EXPECT_EQ(retry.modes[0].width, 800u);
  EXPECT_EQ(retry.modes[0].height, 1280u);
  EXPECT_EQ(retry.modes[2].width, 1080u);
  EXPECT_EQ(retry.modes[2].height, 1920u);
  const auto target = P::Mode(1, 2, 1280, 800);
  EXPECT_EQ(std::memcmp(&retry.modes[1], &target, sizeof(target)), 0);
  EXPECT_EQ(platform.pauses, std::vector<uint32_t>{250});
  EXPECT_EQ(quillet::GetAngle(platform.entries), 4);
}

TEST_F(QuilletSetAngle, RetryReshapesOnlyTurnsBetweenLandscapeAndPortrait) {
  struct Turn {
    uint32_t from;
    int32_t to;
    bool reshaped;
  };
  for (const Turn turn : {Turn{1, 2, true}, Turn{3, 4, true}, Turn{2, 1, true}, Turn{0, 4, true},
                          Turn{1, 3, false}, Turn{2, 4, false}, Turn{4, 4, false}}) {
    platform.rotations = {turn.from};
    platform.modes = {FakeRotationPlatform::Mode(0, 1, 1280, 800)};
    platform.sourceModeIndices = {0};
    platform.submissions.clear();
    platform.firstSetResults = {kErrorInvalidParameter};
    EXPECT_EQ(quillet::SetAngle(platform.entries, turn.to), 1);
    ASSERT_EQ(platform.submissions.size(), 2u);
    EXPECT_EQ(platform.submissions[1].modes[0].width, turn.reshaped ? 800u : 1280u)
        << turn.from << " to " << turn.to;
  }
}

TEST_F(QuilletSetAngle, RetryLeavesModesAlonePastTheArrayOrOfAnotherKind) {
  using P = FakeRotationPlatform;
  platform.rotations = {1, 1, 1};
  platform.modes = {P::Mode(0, 2, 1280, 800), P::Mode(1, 3, 1280, 800)};
  platform.sourceModeIndices = {0, 2, 0xFFFFFFFF};
  platform.firstSetResults = {kErrorInvalidParameter};
  EXPECT_EQ(quillet::SetAngle(platform.entries, 2), 1);
  ASSERT_EQ(platform.submissions.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(platform.submissions[1].modes[i].width, 1280u) << i;
  }
}

TEST_F(QuilletSetAngle, RetryLaysTheReshapedDesktopsSideBySideAsTheyWere) {
  using P = FakeRotationPlatform;
  struct Place {
    int32_t x;
    int32_t y;
  };
  struct Desktop {
    const char* name;
    std::vector<uint32_t> rotations;
    std::vector<quillet::DisplayModeInfo> modes;  // a target mode after each source
    int32_t code;
    std::vector<Place> places;  // of the sources, in their order
  };
  const Desktop desktops[] = {
      {"two side by side",
       {1, 1},
       {P::Source(0, 0, 0, 1920, 1080), P::Mode(1, 2, 1920, 1080),
        P::Source(2, 1920, 0, 1920, 1080), P::Mode(3, 2, 1920, 1080)},
       2,
       {{0, 0}, {1080, 0}}},
      {"two stacked",
       {1, 1},
       {P::Source(0, 0, 0, 1920, 1080), P::Mode(1, 2, 1920, 1080),
        P::Source(2, 0, 1080, 1920, 1080), P::Mode(3, 2, 1920, 1080)},
       4,
       {{0, 0}, {0, 1920}}},
      // The primary display in the middle; the right one stands already and
      // lies lower; the left one ends up left of the origin still.
      {"three in a row",
       {1, 1, 2},
       {P::Source(0, -1280, 0, 1280, 1024), P::Mode(1, 2, 1280, 1024),
        P::Source(2, 0, 0, 1920, 1080), P::Mode(3, 2, 1920, 1080),
        P::Source(4, 1920, 200, 1080, 1920), P::Mode(5, 2, 1920, 1080)},
       4,
       {{-1024, 0}, {0, 0}, {1080, 200}}},
  };
  for (const Desktop& desktop : desktops) {
    SCOPED_TRACE(desktop.name);
    platform.rotations = desktop.rotations;
    platform.modes = desktop.modes;
    platform.sourceModeIndices.clear();
    for (uint32_t i = 0; i < desktop.rotations.size(); ++i)
      platform.sourceModeIndices.push_back(2 * i);
    platform.submissions.clear();
    platform.firstSetResults = {kErrorInvalidParameter};
    EXPECT_EQ(quillet::SetAngle(platform.entries, desktop.code), 1);
    ASSERT_EQ(platform.submissions.size(), 2u);
    const auto& first = platform.submissions[0];
    const auto& retry = platform.submissions[1];
    for (size_t i = 0; i < desktop.places.size(); ++i) {
      EXPECT_EQ(first.modes[2 * i].x, desktop.modes[2 * i].x) << i;
      EXPECT_EQ(retry.modes[2 * i].x, desktop.places[i].x) << i;
      EXPECT_EQ(retry.modes[2 * i].y, desktop.places[i].y) << i;
      EXPECT_EQ(std::memcmp(&retry.modes[2 * i + 1], &desktop.modes[2 * i + 1],
                            sizeof(quillet::DisplayModeInfo)),
                0)
          << "target mode " << i;
    }
  }

  // Without the heap's room to lay them out, nothing half arranged is submitted.
  platform.submissions.clear();
  platform.allocationRequests.clear();
  platform.firstSetResults = {kErrorInvalidParameter};
  platform.failAllocationNumber = 4;
  EXPECT_EQ(quillet::SetAngle(platform.entries, 1), 0);
  EXPECT_EQ(platform.submissions.size(), 1u);
}

TEST_F(QuilletSetAngle, TurnRefusedTwiceReportsFailureWithoutPauseAndKeepsTheOrientation) {
  platform.rotations = {2};
  platform.setResult = kErrorInvalidParameter;
  EXPECT_EQ(quillet::SetAngle(platform.entries, 4), 0);
  EXPECT_EQ(platform.submissions.size(), 2u);
  EXPECT_TRUE(platform.pauses.empty());
  EXPECT_EQ(quillet::GetAngle(platform.entries), 2);
}

TEST_F(QuilletSetAngle, ConfigurationGrownBeforeTheQueryIsAskedForAgainUpToThreeTimes) {
  platform.queryRaces = 2;
  EXPECT_EQ(quillet::SetAngle(platform.entries, 2), 1);
  EXPECT_EQ(platform.queries.size(), 3u);
  ASSERT_EQ(platform.submissions.size(), 1u);
  EXPECT_EQ(platform.submissions[0].pathArray, platform.queries[2].pathArray);

  platform.queries.clear();
  platform.queryRaces = 3;
  EXPECT_EQ(quillet::SetAngle(platform.entries, 3), 0);
  EXPECT_EQ(platform.queries.size(), 3u);
  EXPECT_EQ(platform.submissions.size(), 1u);
  EXPECT_EQ(platform.pauses.size(), 1u);
}

TEST_F(QuilletSetAngle, MissingSetDisplayConfigReportsFailureWithoutPause) {
  platform.entries.setDisplayConfig = nullptr;
  EXPECT_EQ(quillet::SetAngle(platform.entries, 2), 0);
  EXPECT_EQ(platform.queries.size(), 1u);
  EXPECT_TRUE(platform.pauses.empty());
}

struct FailedReading {
  const char* name;
  void (*arrange)(FakeRotationPlatform&);
};

void PrintTo(const FailedReading& reading, std::ostream* out) {
  *out << reading.name;
}

std::string FailedReadingName(const ::testing::TestParamInfo<FailedReading>& info) {
  return info.param.name;
}

class QuilletSetAngleReading : public RotationParamTest<FailedReading> {};

TEST_P(QuilletSetAngleReading, FailsAndSubmitsNothing) {
  GetParam().arrange(platform);
  EXPECT_EQ(quillet::SetAngle(platform.entries, 3), 0);
  EXPECT_TRUE(platform.submissions.empty());
  EXPECT_TRUE(platform.pauses.empty());
  EXPECT_LE(platform.queries.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    QuilletSetAngle, QuilletSetAngleReading,
    ::testing::Values(
        FailedReading{"SizeQueryFails", [](auto& p) { p.sizesResult = kErrorGenFailure; }},
        FailedReading{"SizeQueryMissing",
                      [](auto& p) { p.entries.getDisplayConfigBufferSizes = nullptr; }},
        FailedReading{"QueryFails", [](auto& p) { p.queryResult = kErrorGenFailure; }},
        FailedReading{"QueryMissing", [](auto& p) { p.entries.queryDisplayConfig = nullptr; }},
        FailedReading{"QueryOverstatesPaths", [](auto& p) { p.queryOverstatesPaths = 2; }},
        FailedReading{"QueryOverstatesModes", [](auto& p) { p.queryOverstatesModes = 2; }},
        FailedReading{"ByteSizeOverflows", [](auto& p) { p.sizesModeCount = 0x4000000; }},
        FailedReading{"PathArrayRefused", [](auto& p) { p.failAllocationNumber = 0; }},
        FailedReading{"ModeArrayRefused", [](auto& p) { p.failAllocationNumber = 1; }}),
    FailedReadingName);

}  // namespace
}  // namespace rotation_testing
