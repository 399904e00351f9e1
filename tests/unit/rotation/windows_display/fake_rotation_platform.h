#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "rotation/windows_display/platform_entries.h"

namespace rotation_testing {

inline constexpr int32_t kErrorInsufficientBuffer = 122;
inline constexpr int32_t kErrorInvalidParameter = 87;
inline constexpr int32_t kErrorGenFailure = 31;

// Auto-rotation states besides AR_ENABLED (0).
inline constexpr uint32_t kArDisabled = 0x1;
inline constexpr uint32_t kArSuppressed = 0x2;
inline constexpr uint32_t kArNoSensor = 0x10;
inline constexpr uint32_t kArNotSupported = 0x20;

// A scripted display platform for the rotation logic: it holds the active
// paths, answers the user32 and kernel32 entries of the table like the
// platform does, applies accepted configurations, and records every call.
// Only one may exist at a time, because the entries are plain functions.
class FakeRotationPlatform {
 public:
  FakeRotationPlatform();
  ~FakeRotationPlatform();
  FakeRotationPlatform(const FakeRotationPlatform&) = delete;
  FakeRotationPlatform& operator=(const FakeRotationPlatform&) = delete;

  // Every entry points at this fake; a test nulls the ones it wants missing.
  quillet::PlatformEntries entries{};

  // --- the platform's state and answers ---
  uint32_t major = 10;
  uint32_t minor = 0;
  std::vector<uint32_t> rotations{1};  // one per active path, in the platform's order
  uint32_t modeCount = 2;
  // When not empty, the mode records the query returns (modeCount is then
  // ignored), and the source-mode index it writes into each path.
  std::vector<quillet::DisplayModeInfo> modes;
  std::vector<uint32_t> sourceModeIndices;
  int32_t sizesResult = 0;
  // What the size query reports instead of the real counts (a configuration
  // that changes before the query, or counts too big to allocate).
  std::optional<uint32_t> sizesPathCount;
  std::optional<uint32_t> sizesModeCount;
  int32_t queryResult = 0;  // a failure the query reports outright
  // Queries that find the configuration grown since the size query before them.
  int queryRaces = 0;
  // Added to the path or the mode count of a successful query.
  uint32_t queryOverstatesPaths = 0;
  uint32_t queryOverstatesModes = 0;
  int32_t setResult = 0;
  std::vector<int32_t> firstSetResults;  // answers to the first submissions, before setResult
  int32_t autoRotationResult = 1;
  std::optional<uint32_t> autoRotationState = 0u;  // nullopt: not written
  int32_t switchResult = 1;
  size_t heapRefusesAbove = 1 << 20;           // bytes; bigger blocks fail
  std::optional<size_t> failAllocationNumber;  // 0-based, counting every request

  // --- what happened ---
  struct Submission {
    uint32_t pathCount;
    uint32_t modeCount;
    uint32_t flags;
    const void* pathArray;
    const void* modeArray;
    std::vector<quillet::DisplayPathInfo> paths;
    std::vector<quillet::DisplayModeInfo> modes;
  };
  struct Query {
    uint32_t flags;
    uint32_t pathCapacity;
    uint32_t modeCapacity;
    const void* pathArray;
    const void* modeArray;
    const void* topologyId;
  };
  std::vector<std::string> calls;  // display, auto-rotation and pause entries, in order
  std::vector<uint32_t> sizesFlags;
  std::vector<Query> queries;
  std::vector<Submission> submissions;
  std::vector<int32_t> switchArguments;
  std::vector<uint32_t> pauses;
  std::vector<uint32_t> allocationRequests;  // bytes, including refused ones
  size_t allocations = 0;                    // blocks handed out
  size_t releases = 0;

  size_t LiveBlocks() const { return allocations - releases; }
  bool MadeDisplayOrAutoRotationCall() const;

  // What the query writes into every byte of a path or mode record other
  // than the rotation, so that a test can tell them apart untouched.
  static quillet::DisplayPathInfo PathPattern(size_t index, uint32_t rotation);
  static quillet::DisplayModeInfo ModePattern(size_t index);
  // A pattern record of the given kind (1 source, 2 target) and size.
  static quillet::DisplayModeInfo Mode(size_t index, uint32_t type, uint32_t width,
                                       uint32_t height);
  // A pattern source mode: a desktop of that size with its top-left corner there.
  static quillet::DisplayModeInfo Source(size_t index, int32_t x, int32_t y, uint32_t width,
                                         uint32_t height);

 private:
  static FakeRotationPlatform& Current();
  static int32_t ZENTARA_WINAPI SetDisplayConfig(uint32_t, quillet::DisplayPathInfo*, uint32_t,
                                                 quillet::DisplayModeInfo*, uint32_t);
  static int32_t ZENTARA_WINAPI GetDisplayConfigBufferSizes(uint32_t, uint32_t*, uint32_t*);
  static int32_t ZENTARA_WINAPI QueryDisplayConfig(uint32_t, uint32_t*, quillet::DisplayPathInfo*,
                                                   uint32_t*, quillet::DisplayModeInfo*, void*);
  static int32_t ZENTARA_WINAPI GetAutoRotationState(uint32_t*);
  static int32_t ZENTARA_WINAPI SwitchAutoRotation(int32_t);
  static void QueryVersion(uint32_t*, uint32_t*);
  static void Pause(uint32_t);
  static void* Allocate(uint32_t);
  static void Release(void*);

  std::vector<void*> liveBlocks_;
  static FakeRotationPlatform* current_;
};

// Every test gets a fresh platform, and every path must hand back what it took
// from the heap.
class RotationTest : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_EQ(platform.LiveBlocks(), 0u) << "record arrays not freed"; }
  FakeRotationPlatform platform;
};

template <typename Param>
class RotationParamTest : public RotationTest, public ::testing::WithParamInterface<Param> {};

}  // namespace rotation_testing
