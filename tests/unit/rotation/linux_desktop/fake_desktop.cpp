#include "fake_desktop.h"

#include <algorithm>

#include "rotation/linux_desktop/screen_layout.h"
#include "rotation/linux_desktop/screen_rotation.h"

namespace rotation_testing {

using quillet::linux_desktop::Crtc;
using quillet::linux_desktop::CrtcConfig;
using quillet::linux_desktop::ScreenSize;
using quillet::linux_desktop::ScreenState;

namespace {

bool Fits(const Crtc& crtc, const CrtcConfig& config, const ScreenSize& size) {
  const auto rect = quillet::linux_desktop::Footprint(crtc, config);
  return rect.left >= 0 && rect.top >= 0 && rect.right <= size.width && rect.bottom <= size.height;
}

}  // namespace

std::vector<uint32_t> DesktopTest::pauses;

Crtc& FakeScreen::AddCrtc(const std::string& output, int32_t width, int32_t height, int32_t x,
                          int32_t y) {
  Crtc crtc;
  crtc.id = 100 + crtcs.size();
  crtc.config = {500 + crtcs.size(), x, y, quillet::linux_desktop::kRotate0};
  crtc.modeWidth = width;
  crtc.modeHeight = height;
  crtc.supportedRotations =
      quillet::linux_desktop::kRotations | quillet::linux_desktop::kReflections;
  crtc.outputNames = {output};
  crtcs.push_back(crtc);
  return crtcs.back();
}

const Crtc& FakeScreen::CrtcOn(const std::string& output) const {
  const auto found = std::find_if(crtcs.begin(), crtcs.end(), [&](const Crtc& crtc) {
    return crtc.outputNames == std::vector<std::string>{output};
  });
  EXPECT_NE(found, crtcs.end()) << output;
  return *found;
}

void FakeScreen::GrabServer() {
  EXPECT_FALSE(grabbed);
  grabbed = true;
  ++grabs;
}

void FakeScreen::UngrabServer() {
  EXPECT_TRUE(grabbed);
  grabbed = false;
}

std::optional<ScreenState> FakeScreen::Read() {
  if (!readable) return std::nullopt;
  ScreenState state{size, minWidth, minHeight, maxWidth, maxHeight, {}};
  std::copy_if(crtcs.begin(), crtcs.end(), std::back_inserter(state.crtcs),
               [](const Crtc& crtc) { return crtc.config.mode != 0; });
  return state;
}

bool FakeScreen::Refused() {
  EXPECT_TRUE(grabbed) << "a change outside the server grab";
  return refuseChange == changes++;
}

bool FakeScreen::SetScreenSize(const ScreenSize& wanted) {
  if (Refused()) return false;
  if (wanted.width < minWidth || wanted.height < minHeight || wanted.width > maxWidth ||
      wanted.height > maxHeight) {
    return false;
  }
  for (const Crtc& crtc : crtcs) {
    if (crtc.config.mode != 0 && !Fits(crtc, crtc.config, wanted)) return false;
  }
  size = wanted;
  return true;
}

bool FakeScreen::SetCrtc(uint64_t id, const CrtcConfig& config) {
  ++crtcSets;
  const auto crtc = std::find_if(crtcs.begin(), crtcs.end(),
                                 [id](const Crtc& candidate) { return candidate.id == id; });
  if (crtc != crtcs.end() && crtc->config == config) ++needlessSets;
  if (Refused() || crtc == crtcs.end()) return false;
  if (config.mode != 0 && ((crtc->supportedRotations & config.rotation) != config.rotation ||
                           !Fits(*crtc, config, size))) {
    return false;
  }
  crtc->config = config;
  return true;
}

bool FakeInputDevices::SetTransform(int32_t device,
                                    const quillet::linux_desktop::TransformMatrix& matrix) {
  if (refusing.count(device) != 0) return false;
  transforms[device] = matrix;
  return true;
}

int32_t DesktopTest::SetAngle(int32_t code) {
  return quillet::linux_desktop::SetScreenAngle(screen, devices, &RecordPause, code);
}

}  // namespace rotation_testing
