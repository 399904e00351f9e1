#include "gs/picture_fetch.h"

#include <exception>
#include <utility>

#include "gs/image_loader.h"
#include "platform/services.h"

namespace gs {
namespace {

// A decode that throws (no memory, no decoder) has failed like any other:
// nothing of it reaches the caller's thread but an empty picture.
platform::DecodedImage Decode(const std::wstring& path) {
  platform::DecodedImage image;
  try {
    if (!platform::GetImageDecoder().DecodePng(path, image)) image = {};
  } catch (...) {
    image = {};
  }
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
  } catch (const std::exception&) {
    // No thread (or no memory for one) to be had: Finish decodes on the caller's thread.
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
