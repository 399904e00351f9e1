#include "app/artwork_prefetch.h"

#include <exception>
#include <utility>

namespace {

platform::Services WithDecoder(platform::ImageDecoder& decoder) {
  platform::Services services = platform::Install({});
  platform::Install(services);
  services.images = &decoder;
  return services;
}

}  // namespace

ArtworkPrefetch::ArtworkPrefetch(std::vector<std::wstring> paths)
    : installed_(platform::Install(WithDecoder(*this))), decoder_(*installed_.images) {
  for (std::wstring& path : paths) pictures_.push_back({std::move(path), false, false, {}});
  const auto decodeAll = [this] {
    for (Picture& picture : pictures_) {
      try {
        picture.decoded = decoder_.DecodePng(picture.path, picture.image);
      } catch (...) {
        // A decode that throws has failed like any other; the caller is told when it asks.
        picture.decoded = false;
      }
      if (!picture.decoded) picture.image = {};
    }
  };
  try {
    decoding_ = std::async(std::launch::async, decodeAll);
  } catch (const std::exception&) {
    // No thread to be had: every picture is decoded when it is asked for.
    pictures_.clear();
  }
}

ArtworkPrefetch::~ArtworkPrefetch() {
  if (decoding_.valid()) decoding_.wait();
  platform::Install(installed_);
}

bool ArtworkPrefetch::Start() {
  return decoder_.Start();
}

void ArtworkPrefetch::Stop() {
  decoder_.Stop();
}

bool ArtworkPrefetch::DecodePng(std::wstring_view path, platform::DecodedImage& out) {
  for (Picture& picture : pictures_) {
    if (picture.taken || picture.path != path) continue;
    if (decoding_.valid()) decoding_.wait();
    picture.taken = true;
    out = std::move(picture.image);
    picture.image = {};
    return picture.decoded;
  }
  return decoder_.DecodePng(path, out);
}

bool ArtworkPrefetch::ProbePng(std::wstring_view path) {
  return decoder_.ProbePng(path);
}

bool ArtworkPrefetch::DecodesBeforeStart() const {
  return decoder_.DecodesBeforeStart();
}
