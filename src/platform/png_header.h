#pragma once
#include <cstddef>
#include <cstdint>

namespace platform {

// The number of leading bytes of a file that ReadPngHeader needs.
inline constexpr size_t kPngHeaderSize = 24;

// Reads the size of a PNG picture from the first bytes of its file. Returns
// false for anything that is not a PNG signature followed by an IHDR chunk
// declaring a width and height from 1 to kMaxImageSide.
bool ReadPngHeader(const uint8_t* data, size_t size, int32_t& width, int32_t& height);

}  // namespace platform
