#pragma once
#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

#include <cstdint>
#include <vector>

namespace platform::x11 {

class X11Connection;

// Shows 32-bit pixels (blue, green, red, alpha in memory: the byte order of
// the visual) as the whole content of a window. The frame is written straight
// into memory shared with the server where MIT-SHM works, kept across frames
// and made anew when the size changes; elsewhere into memory of our own that
// XPutImage sends. The last frame stays, for an Expose.
class PixelPusher {
 public:
  PixelPusher(X11Connection& connection, ::Window window);
  ~PixelPusher();
  PixelPusher(const PixelPusher&) = delete;
  PixelPusher& operator=(const PixelPusher&) = delete;

  // Memory for a frame of this size, rows of width * 4 bytes; null for an empty size.
  uint8_t* Frame(int32_t width, int32_t height);
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  int32_t Stride() const { return width_ * 4; }
  // Sends the frame and waits until the server has read it.
  void Push();
  bool UsesSharedMemory() const { return shared_; }

 private:
  bool MakeShared(int32_t width, int32_t height);
  void MakePlain(int32_t width, int32_t height);
  void Release();

  X11Connection& connection_;
  ::Window window_;
  GC gc_ = nullptr;
  XImage* image_ = nullptr;
  XShmSegmentInfo segment_{};
  bool shared_ = false;
  bool sharedFailed_ = false;
  std::vector<uint8_t> plain_;
  int32_t width_ = 0;
  int32_t height_ = 0;
};

}  // namespace platform::x11
