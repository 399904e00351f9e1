#include "fake_rotation_platform.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace rotation_testing {

using quillet::DisplayModeInfo;
using quillet::DisplayPathInfo;

FakeRotationPlatform* FakeRotationPlatform::current_ = nullptr;

FakeRotationPlatform::FakeRotationPlatform() {
  EXPECT_EQ(current_, nullptr) << "one fake rotation platform at a time";
  current_ = this;
  entries.setDisplayConfig = &SetDisplayConfig;
  entries.getDisplayConfigBufferSizes = &GetDisplayConfigBufferSizes;
  entries.queryDisplayConfig = &QueryDisplayConfig;
  entries.getAutoRotationState = &GetAutoRotationState;
  entries.switchAutoRotation = &SwitchAutoRotation;
  entries.queryVersion = &QueryVersion;
  entries.pause = &Pause;
  entries.allocate = &Allocate;
  entries.release = &Release;
}

FakeRotationPlatform::~FakeRotationPlatform() {
  for (void* block : liveBlocks_) std::free(block);
  current_ = nullptr;
}

FakeRotationPlatform& FakeRotationPlatform::Current() {
  return *current_;
}

bool FakeRotationPlatform::MadeDisplayOrAutoRotationCall() const {
  return std::any_of(calls.begin(), calls.end(),
                     [](const std::string& call) { return call != "Sleep"; });
}

DisplayPathInfo FakeRotationPlatform::PathPattern(size_t index, uint32_t rotation) {
  DisplayPathInfo path;
  std::memset(&path, static_cast<int>(0x40 + index), sizeof(path));
  path.rotation = rotation;
  return path;
}

DisplayModeInfo FakeRotationPlatform::ModePattern(size_t index) {
  DisplayModeInfo mode;
  std::memset(&mode, static_cast<int>(0x80 + index), sizeof(mode));
  return mode;
}

DisplayModeInfo FakeRotationPlatform::Mode(size_t index, uint32_t type, uint32_t width,
                                           uint32_t height) {
  DisplayModeInfo mode = ModePattern(index);
  mode.infoType = type;
  mode.width = width;
  mode.height = height;
  return mode;
}

DisplayModeInfo FakeRotationPlatform::Source(size_t index, int32_t x, int32_t y, uint32_t width,
                                             uint32_t height) {
  DisplayModeInfo mode = Mode(index, quillet::kModeInfoTypeSource, width, height);
  mode.x = x;
  mode.y = y;
  return mode;
}

int32_t FakeRotationPlatform::SetDisplayConfig(uint32_t pathCount, DisplayPathInfo* paths,
                                               uint32_t modeCount, DisplayModeInfo* modes,
                                               uint32_t flags) {
  FakeRotationPlatform& self = Current();
  self.calls.push_back("SetDisplayConfig");
  self.submissions.push_back({pathCount, modeCount, flags, paths, modes,
                              std::vector<DisplayPathInfo>(paths, paths + pathCount),
                              std::vector<DisplayModeInfo>(modes, modes + modeCount)});
  const size_t number = self.submissions.size() - 1;
  const int32_t result =
      number < self.firstSetResults.size() ? self.firstSetResults[number] : self.setResult;
  if (result != quillet::kErrorSuccess) return result;
  self.rotations.clear();
  for (uint32_t i = 0; i < pathCount; ++i) self.rotations.push_back(paths[i].rotation);
  if (!self.modes.empty()) self.modes.assign(modes, modes + modeCount);
  return quillet::kErrorSuccess;
}

int32_t FakeRotationPlatform::GetDisplayConfigBufferSizes(uint32_t flags, uint32_t* pathCount,
                                                          uint32_t* modeCount) {
  FakeRotationPlatform& self = Current();
  self.calls.push_back("GetDisplayConfigBufferSizes");
  self.sizesFlags.push_back(flags);
  if (self.sizesResult != quillet::kErrorSuccess) return self.sizesResult;
  *pathCount = self.sizesPathCount.value_or(static_cast<uint32_t>(self.rotations.size()));
  const auto modeRecords =
      self.modes.empty() ? self.modeCount : static_cast<uint32_t>(self.modes.size());
  *modeCount = self.sizesModeCount.value_or(modeRecords);
  return quillet::kErrorSuccess;
}

int32_t FakeRotationPlatform::QueryDisplayConfig(uint32_t flags, uint32_t* pathCount,
                                                 DisplayPathInfo* paths, uint32_t* modeCount,
                                                 DisplayModeInfo* modes, void* topologyId) {
  FakeRotationPlatform& self = Current();
  self.calls.push_back("QueryDisplayConfig");
  self.queries.push_back({flags, *pathCount, *modeCount, paths, modes, topologyId});
  if (self.queryResult != quillet::kErrorSuccess) return self.queryResult;
  if (self.queryRaces > 0) {
    --self.queryRaces;
    return kErrorInsufficientBuffer;
  }
  const auto activePaths = static_cast<uint32_t>(self.rotations.size());
  const auto modeRecords =
      self.modes.empty() ? self.modeCount : static_cast<uint32_t>(self.modes.size());
  if (activePaths > *pathCount || modeRecords > *modeCount) return kErrorInsufficientBuffer;
  for (uint32_t i = 0; i < activePaths; ++i) {
    paths[i] = PathPattern(i, self.rotations[i]);
    if (i < self.sourceModeIndices.size()) paths[i].sourceModeIndex = self.sourceModeIndices[i];
  }
  for (uint32_t i = 0; i < modeRecords; ++i) {
    modes[i] = self.modes.empty() ? ModePattern(i) : self.modes[i];
  }
  *pathCount = activePaths + self.queryOverstatesPaths;
  *modeCount = modeRecords + self.queryOverstatesModes;
  return quillet::kErrorSuccess;
}

int32_t FakeRotationPlatform::GetAutoRotationState(uint32_t* state) {
  FakeRotationPlatform& self = Current();
  self.calls.push_back("GetAutoRotationState");
  if (self.autoRotationState) *state = *self.autoRotationState;
  return self.autoRotationResult;
}

int32_t FakeRotationPlatform::SwitchAutoRotation(int32_t enable) {
  FakeRotationPlatform& self = Current();
  self.calls.push_back("SwitchAutoRotation");
  self.switchArguments.push_back(enable);
  return self.switchResult;
}

void FakeRotationPlatform::QueryVersion(uint32_t* major, uint32_t* minor) {
  *major = Current().major;
  *minor = Current().minor;
}

void FakeRotationPlatform::Pause(uint32_t milliseconds) {
  Current().calls.push_back("Sleep");
  Current().pauses.push_back(milliseconds);
}

void* FakeRotationPlatform::Allocate(uint32_t bytes) {
  FakeRotationPlatform& self = Current();
  const size_t number = self.allocationRequests.size();
  self.allocationRequests.push_back(bytes);
  if (bytes > self.heapRefusesAbove || self.failAllocationNumber == number) return nullptr;
  // Exactly the size asked for, so that the sanitizer sees any overrun.
  void* block = std::malloc(std::max<size_t>(bytes, 1));
  self.liveBlocks_.push_back(block);
  ++self.allocations;
  return block;
}

void FakeRotationPlatform::Release(void* block) {
  FakeRotationPlatform& self = Current();
  auto found = std::find(self.liveBlocks_.begin(), self.liveBlocks_.end(), block);
  EXPECT_NE(found, self.liveBlocks_.end()) << "freed a block the heap did not hand out";
  if (found == self.liveBlocks_.end()) return;
  self.liveBlocks_.erase(found);
  std::free(block);
  ++self.releases;
}

}  // namespace rotation_testing
