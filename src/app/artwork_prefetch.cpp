#include "app/artwork_prefetch.h"

#include <utility>

namespace {

platform::Services WithDecoder(platform::ImageDecoder& decoder) {
  platform::Services services = platform::Install({});
  platform::Install(services);
  services.images = &decoder;
  return services;
}

}  // namespace

ArtworkPrefetch::ArtworkPrefetch(std::vector<std::wstring> decoded,
                                 std::vector<std::wstring> checked)
    : installed_(platform::Install(WithDecoder(*this))), decoder_(*installed_.images) {
  for (std::wstring& path : decoded)
    pictures_.push_back({std::move(path), false, false, false, {}, {}});
  for (std::wstring& path : checked)
    pictures_.push_back({std::move(path), true, false, false, {}, {}});
  const auto decodeAll = [this] {
    for (Picture& picture : pictures_) {
      try {
        picture.decoded = picture.checkOnly ? decoder_.ProbePng(picture.path)
                                            : decoder_.DecodePng(picture.path, picture.image);
      } catch (...) {
        // Thrown to the caller when it asks for the picture.
        picture.error = std::current_exception();
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

ArtworkPrefetch::Picture* ArtworkPrefetch::Untaken(std::wstring_view path, bool checkOnly) {
  // The decoder is asked by one thread at a time, as it was without the prefetch.
  if (decoding_.valid()) decoding_.wait();
  for (Picture& picture : pictures_) {
    if (picture.taken || picture.checkOnly != checkOnly || picture.path != path) continue;
    picture.taken = true;
    if (picture.error) std::rethrow_exception(picture.error);
    return &picture;
  }
  return nullptr;
}

bool ArtworkPrefetch::DecodePng(std::wstring_view path, platform::DecodedImage& out) {
  Picture* picture = Untaken(path, false);
  if (picture == nullptr) return decoder_.DecodePng(path, out);
  out = std::move(picture->image);
  picture->image = {};
  return picture->decoded;
}

bool ArtworkPrefetch::ProbePng(std::wstring_view path) {
  Picture* picture = Untaken(path, true);
  return picture == nullptr ? decoder_.ProbePng(path) : picture->decoded;
}

bool ArtworkPrefetch::DecodesBeforeStart() const {
  return decoder_.DecodesBeforeStart();
}
