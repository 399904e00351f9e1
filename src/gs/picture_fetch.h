#pragma once
#include <future>
#include <string>

#include "platform/image_decoder.h"

class TBitmap;

namespace gs {

// Decodes one picture file on a thread of its own while the caller's thread
// waits for something else (a pause), and hands the pixels over on the
// caller's thread. Nothing is reported: the caller tells of a failed decode.
class PictureFetch {
 public:
  PictureFetch() = default;
  // Waits for a decode still running.
  ~PictureFetch();
  PictureFetch(const PictureFetch&) = delete;
  PictureFetch& operator=(const PictureFetch&) = delete;

  // Starts decoding the file at `path`, after the one started before is
  // taken or dropped; an empty path fetches nothing.
  void Start(const std::wstring& path);
  // Waits for the decode and replaces `target` with its picture, or leaves
  // `target` empty when there was none to fetch or it failed to decode;
  // answers whether it took a picture.
  bool Finish(TBitmap& target);

 private:
  std::wstring path_;
  std::future<platform::DecodedImage> pending_;
};

}  // namespace gs
