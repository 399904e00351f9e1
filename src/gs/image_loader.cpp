#include "gs/image_loader.h"

#include "base/application.h"
#include "base/bitmap.h"
#include "platform/services.h"
#include "platform/system.h"

namespace gs {
namespace {

// What a decoder hands back must be a whole picture within the size bound;
// anything else is a failed load, not an error of the caller.
bool Complete(const platform::DecodedImage& image) {
  if (image.width <= 0 || image.height <= 0) return false;
  if (image.width > platform::kMaxImageSide || image.height > platform::kMaxImageSide) return false;
  return image.pixels.size() ==
         static_cast<size_t>(image.width) * static_cast<size_t>(image.height) * 4;
}

}  // namespace

void ReportUnloadableImage(const std::wstring& path) {
  platform::GetSystem().ShowMessage(L"Can not load image " + path, L"LoadImage");
}

std::wstring ImagesPath() {
  const std::wstring exeName =
      Application != nullptr ? Application->ExeName() : platform::GetSystem().ExecutableName();
  return ExtractFilePath(exeName) + L"images\\";
}

void LoadImageFile(const std::wstring& path, TBitmap& target) {
  platform::DecodedImage image;
  if (!platform::GetImageDecoder().DecodePng(path, image)) image = {};
  if (!TakeDecodedImage(std::move(image), target)) ReportUnloadableImage(path);
}

bool CheckImageFile(const std::wstring& path) {
  if (platform::GetImageDecoder().ProbePng(path)) return true;
  ReportUnloadableImage(path);
  return false;
}

bool TakeDecodedImage(platform::DecodedImage image, TBitmap& target) {
  if (Complete(image)) {
    target.TakePixels(image.width, image.height, std::move(image.pixels));
    target.SetPixelFormat(TPixelFormat::pf32bit);
    return true;
  }
  target.TakePixels(0, 0, {});
  return false;
}

}  // namespace gs
