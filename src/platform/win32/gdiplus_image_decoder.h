#pragma once
#include "platform/image_decoder.h"

namespace platform::win32 {

// Decodes PNG files with GDI+, reading the pixels in its premultiplied 32-bit format.
class GdiplusImageDecoder : public ImageDecoder {
 public:
  uintptr_t Startup() override;
  void Shutdown(uintptr_t token) override;
  bool DecodePng(std::wstring_view path, DecodedImage& out) override;
};

}  // namespace platform::win32
