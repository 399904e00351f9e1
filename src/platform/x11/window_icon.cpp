#include "platform/x11/window_icon.h"

#include <algorithm>

namespace platform::x11 {

std::vector<unsigned long> NetWmIcon(const DecodedImage& picture) {
  const size_t count = static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height);
  if (picture.width <= 0 || picture.height <= 0 || picture.pixels.size() != count * 4) return {};
  std::vector<unsigned long> icon;
  icon.reserve(count + 2);
  icon.push_back(static_cast<unsigned long>(picture.width));
  icon.push_back(static_cast<unsigned long>(picture.height));
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* p = &picture.pixels[i * 4];
    const unsigned a = p[3];
    auto straight = [a](unsigned c) { return a == 0 ? 0u : std::min(255u, (c * 255 + a / 2) / a); };
    icon.push_back((static_cast<unsigned long>(a) << 24) | (straight(p[2]) << 16) |
                   (straight(p[1]) << 8) | straight(p[0]));
  }
  return icon;
}

}  // namespace platform::x11
