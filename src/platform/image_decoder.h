#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

namespace platform {

// A decoded picture: rows top-down, 4 bytes per pixel (blue, green, red,
// alpha), colour premultiplied by alpha, so a pixel with alpha 0 is all zero.
struct DecodedImage {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> pixels;
};

// The largest width or height a picture file may claim.
inline constexpr int32_t kMaxImageSide = 16384;

class ImageDecoder {
 public:
  virtual ~ImageDecoder() = default;

  // Starts the imaging library; returns whether it started.
  virtual bool Start() = 0;
  // Stops it again after a successful start; does nothing otherwise.
  virtual void Stop() = 0;
  // Decodes a PNG file. Returns false, leaving `out` empty, when the file is
  // missing, unreadable, not a PNG, cut short, damaged, zero-sized or larger
  // than kMaxImageSide on a side; never allocates for a size beyond that bound.
  virtual bool DecodePng(std::wstring_view path, DecodedImage& out) = 0;
  // Whether DecodePng would succeed on the file, without keeping its pixels.
  // A decoder that cannot tell sooner decodes it.
  virtual bool ProbePng(std::wstring_view path) {
    DecodedImage image;
    return DecodePng(path, image);
  }
  // Whether DecodePng works before Start, from any thread: the program then
  // decodes its first pictures while it waits at its start.
  virtual bool DecodesBeforeStart() const { return false; }
};

}  // namespace platform
