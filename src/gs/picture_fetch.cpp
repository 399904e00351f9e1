#include "gs/picture_fetch.h"

#include <system_error>
#include <utility>

#include "gs/image_loader.h"
#include "platform/services.h"

namespace gs {
namespace {

platform::DecodedImage Decode(const std::wstring& path) {
  platform::DecodedImage image;
  if (!platform::GetImageDecoder().DecodePng(path, image)) image = {};
  return image;
}

}  // namespace

// A decode still running is waited for: a future from std::async blocks when
// it is let go.
PictureFetch::~PictureFetch() = default;

void PictureFetch::Start(const std::wstring& path) {
  pending_ = {};
  path_ = path;
  if (path_.empty()) return;
  try {
    pending_ = std::async(std::launch::async, Decode, path_);
  } catch (const std::system_error&) {
    // No thread to be had: Finish decodes on the caller's thread.
  }
}

bool PictureFetch::Finish(TBitmap& target) {
  platform::DecodedImage image;
  if (pending_.valid()) {
    image = pending_.get();
  } else if (!path_.empty()) {
    image = Decode(path_);
  }
  path_.clear();
  return TakeDecodedImage(std::move(image), target);
}

}  // namespace gs
