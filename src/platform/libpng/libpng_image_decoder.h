#pragma once
#include "platform/image_decoder.h"

namespace platform::libpng {

// Decodes PNG files with libpng into premultiplied 32-bit pixels, for builds
// without GDI+. File names are resolved as on Windows (any separator, any
// letter case). The colour is premultiplied with truncation, c * a / 255.
class LibpngImageDecoder : public ImageDecoder {
 public:
  // libpng needs no start; the token only says that decoding is available.
  bool Start() override { return true; }
  void Stop() override {}
  bool DecodesBeforeStart() const override { return true; }
  bool DecodePng(std::wstring_view path, DecodedImage& out) override;
  // Decodes the whole file as DecodePng does, one row at a time, keeping none.
  bool ProbePng(std::wstring_view path) override;
};

}  // namespace platform::libpng
