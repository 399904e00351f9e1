// PNG files as the program meets them: the shared header and chunk check,
// and the native image loading path (LoadImageFile with the libpng decoder
// behind it, reading a real file). Beyond the sanitizers' checks: a picture
// that loads has the size its header declares and premultiplied pixels, and
// a file that does not load leaves the target empty and says so once.
//
// Mutated files almost never keep their chunk checksums, so each input is
// also loaded with its checksums put right, which lets it reach the decoder's
// inner steps instead of stopping at the first checksum.
#include <zlib.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "base/bitmap.h"
#include "fuzz_check.h"
#include "gs/image_loader.h"
#include "null_platform.h"
#include "platform/image_decoder.h"
#include "platform/libpng/libpng_image_decoder.h"
#include "platform/png_header.h"
#include "scratch_folder.h"

namespace {

uint32_t BigEndian32(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

// The file with the checksum of every complete chunk recomputed.
std::vector<uint8_t> WithChunkChecksums(std::vector<uint8_t> file) {
  for (size_t at = 8; at + 12 <= file.size();) {
    const size_t length = BigEndian32(&file[at]);
    if (length > file.size() - at - 12) break;
    const uLong crc = crc32(0, &file[at + 4], static_cast<uInt>(length + 4));
    uint8_t* stored = &file[at + 8 + length];
    for (int i = 0; i < 4; ++i) stored[i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
    at += 12 + length;
  }
  return file;
}

// Hands the file out in pieces of changing size, as a file read may.
bool ChunksIntact(const std::vector<uint8_t>& file) {
  static constexpr size_t kPieces[] = {1, 3, 8, 4096, SIZE_MAX};
  size_t at = 0, turn = 0;
  return platform::PngChunksIntact([&](uint8_t* buffer, size_t size) {
    const size_t piece = std::min({size, kPieces[turn++ % std::size(kPieces)], file.size() - at});
    std::copy_n(file.data() + at, piece, buffer);
    at += piece;
    return piece;
  });
}

bool Premultiplied(const TBitmap& bitmap) {
  for (int32_t y = 0; y < bitmap.Height(); ++y) {
    const uint8_t* pixel = bitmap.ScanLine(y);
    for (int32_t x = 0; x < bitmap.Width(); ++x, pixel += 4) {
      if (pixel[0] > pixel[3] || pixel[1] > pixel[3] || pixel[2] > pixel[3]) return false;
    }
  }
  return true;
}

void Load(const std::vector<uint8_t>& file) {
  static const testing_support::ScratchFolder folder;
  static const std::string path = (folder.Path() / "input.png").string();
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));

  int32_t width = 0, height = 0;
  const bool header = platform::ReadPngHeader(file.data(), file.size(), width, height);
  fuzzing::Require(!header || (width >= 1 && height >= 1 && width <= platform::kMaxImageSide &&
                               height <= platform::kMaxImageSide),
                   "the header check accepts only sizes within the bound");
  fuzzing::Require(!ChunksIntact(file) || header, "intact chunks start with a valid header");

  testing_support::NullPlatform platform;
  platform::libpng::LibpngImageDecoder decoder;
  platform.images.delegate = &decoder;
  TBitmap target;
  const std::wstring widePath(path.begin(), path.end());
  gs::LoadImageFile(widePath, target);
  if (target.Empty()) {
    fuzzing::Require(platform.system.messages.size() == 1 &&
                         platform.system.messages[0].text == L"Can not load image " + widePath,
                     "a file that does not load is reported once");
    return;
  }
  fuzzing::Require(platform.system.messages.empty(), "a picture that loads is not reported");
  fuzzing::Require(header && target.Width() == width && target.Height() == height,
                   "a picture that loads has the size its header declares");
  fuzzing::Require(target.PixelFormat() == TPixelFormat::pf32bit && Premultiplied(target),
                   "a picture that loads is premultiplied 32-bit");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> file(data, data + size);
  Load(file);
  const std::vector<uint8_t> repaired = WithChunkChecksums(file);
  if (repaired != file) Load(repaired);
  return 0;
}
