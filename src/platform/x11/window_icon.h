#pragma once
#include <vector>

#include "platform/image_decoder.h"

namespace platform::x11 {

// A decoded picture as _NET_WM_ICON wants it: width, height, then one
// unpremultiplied 0xAARRGGBB value per pixel. Empty for an empty picture.
std::vector<unsigned long> NetWmIcon(const DecodedImage& picture);

}  // namespace platform::x11
