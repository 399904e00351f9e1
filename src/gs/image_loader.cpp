#include "gs/image_loader.h"

#include "base/application.h"
#include "base/bitmap.h"
#include "platform/image_decoder.h"
#include "platform/services.h"
#include "platform/system.h"

namespace gs {

std::wstring ImagesPath() { return ExtractFilePath(platform::GetSystem().ExecutableName()) + L"images\\"; }

void LoadImageFile(const std::wstring& path, TBitmap& target) {
  platform::DecodedImage image;
  const bool decoded = platform::GetImageDecoder().DecodePng(path, image);
  if (decoded && image.width > 0 && image.height > 0) {
    target.TakePixels(image.width, image.height, std::move(image.pixels));
    target.SetPixelFormat(TPixelFormat::pf32bit);
    return;
  }
  target.TakePixels(0, 0, {});
  platform::GetSystem().ShowMessage(L"Can not load image " + path, L"LoadImage");
}

}  // namespace gs
