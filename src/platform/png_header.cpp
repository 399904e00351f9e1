#include "platform/png_header.h"

#include "platform/image_decoder.h"

namespace platform {
namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

uint32_t BigEndian32(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

}  // namespace

bool ReadPngHeader(const uint8_t* data, size_t size, int32_t& width, int32_t& height) {
  width = height = 0;
  if (data == nullptr || size < kPngHeaderSize) return false;
  for (size_t i = 0; i < sizeof kSignature; ++i) {
    if (data[i] != kSignature[i]) return false;
  }
  if (BigEndian32(data + 8) != 13 || data[12] != 'I' || data[13] != 'H' || data[14] != 'D' || data[15] != 'R') {
    return false;
  }
  const uint32_t w = BigEndian32(data + 16);
  const uint32_t h = BigEndian32(data + 20);
  if (w == 0 || h == 0 || w > uint32_t{kMaxImageSide} || h > uint32_t{kMaxImageSide}) return false;
  width = static_cast<int32_t>(w);
  height = static_cast<int32_t>(h);
  return true;
}

}  // namespace platform
