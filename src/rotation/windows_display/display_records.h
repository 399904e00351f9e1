#pragma once
#include <cstddef>
#include <cstdint>

namespace quillet {

// Layout twins of the platform's display-configuration records. The library
// writes the target rotation of a path and, when a turn must also change the
// desktop's shape, the size and position of its source mode; it reads the
// mode index and mode kind that lead there. Every other byte goes back to the
// platform exactly as the query returned it, so only the record sizes and
// those offsets have to match (the DLL checks them against the platform's own
// declarations).
struct DisplayPathInfo {
  uint32_t sourceHead[3];    // adapter id, source id
  uint32_t sourceModeIndex;  // into the mode array; may be invalid (all ones)
  uint32_t sourceStatus;
  uint32_t targetHead[5];  // adapter id, target id, mode index, output technology
  uint32_t rotation;       // a rotation code, 1 to 4
  uint32_t targetTail[6];  // scaling, refresh rate, scan-line ordering, available, status
  uint32_t flags;
};
static_assert(sizeof(DisplayPathInfo) == 72);
static_assert(offsetof(DisplayPathInfo, rotation) == 40);

struct alignas(8) DisplayModeInfo {
  uint32_t infoType;
  uint32_t id;
  uint32_t adapterId[2];
  // The start of the mode proper; in a source mode, the desktop's size in
  // pixels and its top-left corner on the whole desktop, where the primary
  // display's lies at the origin.
  uint32_t width;
  uint32_t height;
  uint32_t pixelFormat;
  int32_t x;
  int32_t y;
  uint32_t modeTail[7];  // the rest of a target or desktop-image mode
};
static_assert(sizeof(DisplayModeInfo) == 64);
static_assert(offsetof(DisplayModeInfo, width) == 16);
static_assert(offsetof(DisplayModeInfo, x) == 28);

// Rotation codes as the platform numbers them.
inline constexpr int32_t kRotationIdentity = 1;
inline constexpr int32_t kRotation90 = 2;
inline constexpr int32_t kRotation180 = 3;
inline constexpr int32_t kRotation270 = 4;

// Platform values the library passes or compares.
inline constexpr int32_t kErrorSuccess = 0;
inline constexpr uint32_t kQueryOnlyActivePaths = 0x2;
inline constexpr uint32_t kUseSuppliedDisplayConfig = 0x20;
inline constexpr uint32_t kApply = 0x80;
inline constexpr uint32_t kSaveToDatabase = 0x200;
inline constexpr uint32_t kAllowChanges = 0x400;
inline constexpr uint32_t kModeInfoTypeSource = 1;
inline constexpr int32_t kErrorInsufficientBuffer = 122;
inline constexpr uint32_t kAutoRotationEnabled = 0;  // AR_ENABLED: no other flag set

}  // namespace quillet
