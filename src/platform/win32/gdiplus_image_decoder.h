#pragma once
#include "platform/image_decoder.h"

namespace platform::win32 {

// Decodes PNG files with GDI+, reading the pixels in its premultiplied 32-bit format.
class GdiplusImageDecoder : public ImageDecoder {
 public:
  ~GdiplusImageDecoder() override;

  bool Start() override;
  void Stop() override;
  bool DecodePng(std::wstring_view path, DecodedImage& out) override;
  // Decodes the file as DecodePng does, one row at a time, keeping none.
  bool ProbePng(std::wstring_view path) override;

 private:
  // GDI+'s start-up token; 0 while it is not started.
  uintptr_t token_ = 0;
};

}  // namespace platform::win32
