#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>

namespace platform {

// The number of leading bytes of a file that ReadPngHeader needs.
inline constexpr size_t kPngHeaderSize = 24;

// Reads the size of a PNG picture from the first bytes of its file. Returns
// false for anything that is not a PNG signature followed by an IHDR chunk
// declaring a width and height from 1 to kMaxImageSide.
bool ReadPngHeader(const uint8_t* data, size_t size, int32_t& width, int32_t& height);

// Reads the next bytes of a file into `buffer`, at most `size`; returns how
// many it read, 0 at the end of the file or on an error.
using PngByteSource = std::function<size_t(uint8_t* buffer, size_t size)>;

// Reads a whole PNG file and checks its chunks as a strict decoder would: the
// header as ReadPngHeader wants it, every chunk complete, every critical chunk
// with a correct checksum, image data present, and IEND at the end. Decoders
// that forgive a file cut short or damaged are given only files that pass.
bool PngChunksIntact(const PngByteSource& read);

}  // namespace platform
