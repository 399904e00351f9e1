#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quillet::linux_desktop {

// Rotation and reflection bits as XRandR numbers them. Code n of the library
// is a counter-clockwise turn by 90 x (n - 1) degrees, the bit 1 << (n - 1).
inline constexpr uint16_t kRotate0 = 1;
inline constexpr uint16_t kRotate90 = 2;
inline constexpr uint16_t kRotate180 = 4;
inline constexpr uint16_t kRotate270 = 8;
inline constexpr uint16_t kRotations = kRotate0 | kRotate90 | kRotate180 | kRotate270;
inline constexpr uint16_t kReflections = 16 | 32;

// What a CRTC shows and where; mode 0 is a CRTC turned off.
struct CrtcConfig {
  uint64_t mode = 0;
  int32_t x = 0;
  int32_t y = 0;
  uint16_t rotation = kRotate0;

  bool operator==(const CrtcConfig&) const = default;
};

// A CRTC's projective transform, row by row, as xrandr's --transform takes
// it: it scales (or otherwise reshapes) the picture after the rotation.
using CrtcTransform = std::array<double, 9>;
inline constexpr CrtcTransform kIdentityTransform = {1, 0, 0, 0, 1, 0, 0, 0, 1};

// An active CRTC: one that shows a mode on at least one output.
struct Crtc {
  uint64_t id = 0;
  CrtcConfig config;
  // The mode's own size, before any rotation.
  int32_t modeWidth = 0;
  int32_t modeHeight = 0;
  uint16_t supportedRotations = kRotate0;  // rotation and reflection bits
  // Stays with the CRTC when its config changes.
  CrtcTransform transform = kIdentityTransform;
  std::vector<std::string> outputNames;
  bool primary = false;         // it drives the primary output
  bool panelConnector = false;  // an output's connector type says it is a built-in panel
  bool pans = false;            // it pans over a larger area of the screen
};

struct ScreenSize {
  int32_t width = 0;
  int32_t height = 0;
  int32_t mmWidth = 0;
  int32_t mmHeight = 0;

  bool operator==(const ScreenSize&) const = default;
};

struct ScreenState {
  ScreenSize size;
  int32_t minWidth = 0;
  int32_t minHeight = 0;
  int32_t maxWidth = 0;
  int32_t maxHeight = 0;
  std::vector<Crtc> crtcs;  // the active ones, in the server's order
};

// The display server's screen configuration, as RandR offers it. Every
// change reports whether the server took it; a refused change leaves the
// server as it was.
class ScreenControl {
 public:
  virtual ~ScreenControl() = default;

  // Keeps every other client out until UngrabServer, so that nobody sees or
  // acts on a half-turned screen.
  virtual void GrabServer() = 0;
  virtual void UngrabServer() = 0;

  // Nothing when the server offers no screen configuration.
  virtual std::optional<ScreenState> Read() = 0;
  virtual bool SetScreenSize(const ScreenSize& size) = 0;
  // A CRTC read by the last Read, on the outputs it had then.
  virtual bool SetCrtc(uint64_t crtc, const CrtcConfig& config) = 0;
};

}  // namespace quillet::linux_desktop
