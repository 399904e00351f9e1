#pragma once
#include <exception>
#include <future>
#include <string>
#include <vector>

#include "platform/image_decoder.h"
#include "platform/services.h"

// Decodes a list of pictures, and checks another, on a thread of its own while
// the program waits for something else (the pause at its start), and stands
// in for the installed decoder while it lives: a picture of the lists is
// handed over as it was decoded or checked, once, success, failure or
// exception alike, so that the caller meets a failed picture when and where it
// always has. Everything else goes to the installed decoder. What is not
// taken is let go of with the prefetch.
class ArtworkPrefetch : public platform::ImageDecoder {
 public:
  ArtworkPrefetch(std::vector<std::wstring> decoded, std::vector<std::wstring> checked);
  // Waits for the decoding thread and puts the installed decoder back.
  ~ArtworkPrefetch() override;
  ArtworkPrefetch(const ArtworkPrefetch&) = delete;
  ArtworkPrefetch& operator=(const ArtworkPrefetch&) = delete;

  bool Start() override;
  void Stop() override;
  bool DecodePng(std::wstring_view path, platform::DecodedImage& out) override;
  bool ProbePng(std::wstring_view path) override;
  bool DecodesBeforeStart() const override;

 private:
  struct Picture {
    std::wstring path;
    bool checkOnly = false;
    bool decoded = false;
    bool taken = false;
    platform::DecodedImage image;
    std::exception_ptr error;
  };

  // The picture of the lists at `path` not yet handed over, if any.
  Picture* Untaken(std::wstring_view path, bool checkOnly);

  platform::Services installed_;
  platform::ImageDecoder& decoder_;
  std::vector<Picture> pictures_;
  std::future<void> decoding_;
};
