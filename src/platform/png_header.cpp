#include "platform/png_header.h"

#include <algorithm>
#include <array>
#include <vector>

#include "platform/image_decoder.h"

namespace platform {
namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr uint32_t kMaxChunkLength = 0x7FFFFFFF;

uint32_t BigEndian32(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

// The chunk checksum: CRC-32 over the chunk type and data.
class Crc32 {
 public:
  void Add(const uint8_t* data, size_t size) {
    static const std::array<uint32_t, 256> table = [] {
      std::array<uint32_t, 256> t{};
      for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        t[n] = c;
      }
      return t;
    }();
    for (size_t i = 0; i < size; ++i) value_ = table[(value_ ^ data[i]) & 0xFF] ^ (value_ >> 8);
  }
  uint32_t Value() const { return ~value_; }

 private:
  uint32_t value_ = 0xFFFFFFFFu;
};

bool ReadExactly(const PngByteSource& read, uint8_t* buffer, size_t size) {
  while (size > 0) {
    const size_t got = read(buffer, size);
    if (got == 0 || got > size) return false;
    buffer += got;
    size -= got;
  }
  return true;
}

bool TypeIs(const uint8_t* type, const char (&name)[5]) {
  return std::equal(type, type + 4, name);
}

}  // namespace

bool ReadPngHeader(const uint8_t* data, size_t size, int32_t& width, int32_t& height) {
  width = height = 0;
  if (data == nullptr || size < kPngHeaderSize) return false;
  for (size_t i = 0; i < sizeof kSignature; ++i) {
    if (data[i] != kSignature[i]) return false;
  }
  if (BigEndian32(data + 8) != 13 || !TypeIs(data + 12, "IHDR")) return false;
  const uint32_t w = BigEndian32(data + 16);
  const uint32_t h = BigEndian32(data + 20);
  if (w == 0 || h == 0 || w > uint32_t{kMaxImageSide} || h > uint32_t{kMaxImageSide}) return false;
  width = static_cast<int32_t>(w);
  height = static_cast<int32_t>(h);
  return true;
}

bool PngChunksIntact(const PngByteSource& read) {
  uint8_t header[kPngHeaderSize];
  int32_t width = 0, height = 0;
  if (!ReadExactly(read, header, sizeof header) ||
      !ReadPngHeader(header, sizeof header, width, height))
    return false;

  // From here on, chunk by chunk; the image header's first bytes are in hand already.
  uint8_t chunkHead[8];
  std::copy(header + 8, header + 16, chunkHead);
  size_t inHand = 8;
  bool sawImageData = false;
  std::vector<uint8_t> buffer(64 * 1024);
  for (bool first = true;; first = false) {
    if (!first && !ReadExactly(read, chunkHead, sizeof chunkHead)) return false;  // no IEND
    const uint32_t length = BigEndian32(chunkHead);
    const uint8_t* type = chunkHead + 4;
    if (length > kMaxChunkLength || (!first && TypeIs(type, "IHDR"))) return false;
    Crc32 crc;
    crc.Add(type, 4);
    if (first) crc.Add(header + 16, inHand);
    for (uint32_t left = length - (first ? static_cast<uint32_t>(inHand) : 0); left > 0;) {
      const size_t piece = std::min<size_t>(left, buffer.size());
      if (!ReadExactly(read, buffer.data(), piece)) return false;
      crc.Add(buffer.data(), piece);
      left -= static_cast<uint32_t>(piece);
    }
    uint8_t stored[4];
    if (!ReadExactly(read, stored, sizeof stored)) return false;
    // Ancillary chunks (lower-case first letter) may be damaged; decoders skip them.
    const bool critical = (type[0] & 0x20) == 0;
    if (critical && crc.Value() != BigEndian32(stored)) return false;
    if (TypeIs(type, "IDAT")) sawImageData = true;
    if (TypeIs(type, "IEND")) return sawImageData && length == 0;
  }
}

}  // namespace platform
