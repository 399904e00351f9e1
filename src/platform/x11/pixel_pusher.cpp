#include "platform/x11/pixel_pusher.h"

#include <X11/Xutil.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include "platform/x11/x11_connection.h"

namespace platform::x11 {

PixelPusher::PixelPusher(X11Connection& connection, ::Window window)
    : connection_(connection), window_(window) {
  gc_ = XCreateGC(connection_.Get(), window_, 0, nullptr);
}

PixelPusher::~PixelPusher() {
  Release();
  if (gc_ != nullptr) XFreeGC(connection_.Get(), gc_);
}

uint8_t* PixelPusher::Frame(int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) return nullptr;
  if (image_ != nullptr && width == width_ && height == height_)
    return reinterpret_cast<uint8_t*>(image_->data);
  Release();
  if (!connection_.HasShm() || sharedFailed_ || !MakeShared(width, height))
    MakePlain(width, height);
  if (image_ == nullptr) return nullptr;
  width_ = width;
  height_ = height;
  return reinterpret_cast<uint8_t*>(image_->data);
}

bool PixelPusher::MakeShared(int32_t width, int32_t height) {
  Display* display = connection_.Get();
  image_ = XShmCreateImage(display, connection_.ArgbVisual(),
                           static_cast<unsigned>(connection_.ArgbDepth()), ZPixmap, nullptr,
                           &segment_, static_cast<unsigned>(width), static_cast<unsigned>(height));
  if (image_ == nullptr) return false;
  // Only the layout this class writes is taken.
  if (image_->bits_per_pixel != 32 || image_->bytes_per_line != width * 4) {
    XDestroyImage(image_);
    image_ = nullptr;
    return false;
  }
  const size_t size = static_cast<size_t>(image_->bytes_per_line) * static_cast<size_t>(height);
  segment_.shmid = shmget(IPC_PRIVATE, size, IPC_CREAT | 0600);
  if (segment_.shmid >= 0) segment_.shmaddr = static_cast<char*>(shmat(segment_.shmid, nullptr, 0));
  if (segment_.shmid < 0 || segment_.shmaddr == reinterpret_cast<char*>(-1)) {
    if (segment_.shmid >= 0) shmctl(segment_.shmid, IPC_RMID, nullptr);
    XDestroyImage(image_);
    image_ = nullptr;
    segment_ = {};
    sharedFailed_ = true;
    return false;
  }
  image_->data = segment_.shmaddr;
  segment_.readOnly = True;
  const bool attached = XShmAttach(display, &segment_) != 0;
  // A server on another machine cannot reach the segment; then plain images it is.
  const bool failed = connection_.SyncAndCountErrors() > 0 || !attached;
  // Marked for removal now, so that it goes when both sides detach, however the process ends.
  shmctl(segment_.shmid, IPC_RMID, nullptr);
  if (failed) {
    shmdt(segment_.shmaddr);
    image_->data = nullptr;
    XDestroyImage(image_);
    image_ = nullptr;
    segment_ = {};
    sharedFailed_ = true;
    return false;
  }
  shared_ = true;
  return true;
}

void PixelPusher::MakePlain(int32_t width, int32_t height) {
  plain_.assign(static_cast<size_t>(width) * static_cast<size_t>(height) * 4, 0);
  image_ = XCreateImage(connection_.Get(), connection_.ArgbVisual(),
                        static_cast<unsigned>(connection_.ArgbDepth()), ZPixmap, 0,
                        reinterpret_cast<char*>(plain_.data()), static_cast<unsigned>(width),
                        static_cast<unsigned>(height), 32, width * 4);
  if (image_ != nullptr && image_->bits_per_pixel != 32) {
    image_->data = nullptr;
    XDestroyImage(image_);
    image_ = nullptr;
  }
  // The pixels are in the program's byte order; Xlib swaps them for a server that differs.
  if (image_ != nullptr) image_->byte_order = LSBFirst;
}

void PixelPusher::Release() {
  if (image_ == nullptr) return;
  Display* display = connection_.Get();
  if (shared_) {
    XShmDetach(display, &segment_);
    XSync(display, False);
    shmdt(segment_.shmaddr);
    segment_ = {};
    shared_ = false;
  }
  image_->data = nullptr;  // the memory is not Xlib's to free
  XDestroyImage(image_);
  image_ = nullptr;
  plain_.clear();
  width_ = height_ = 0;
}

void PixelPusher::Push() {
  if (image_ == nullptr) return;
  Display* display = connection_.Get();
  const auto width = static_cast<unsigned>(width_), height = static_cast<unsigned>(height_);
  if (shared_) {
    XShmPutImage(display, window_, gc_, image_, 0, 0, 0, 0, width, height, False);
    // The next frame is written into the same memory: the server must be done with this one.
    XSync(display, False);
  } else {
    XPutImage(display, window_, gc_, image_, 0, 0, 0, 0, width, height);
    XFlush(display);
  }
}

}  // namespace platform::x11
