#pragma once
#include <memory>

#include "platform/services.h"

namespace platform::win32 {

// The Windows implementation of every platform service, installed for the
// life of the object.
class Win32Platform {
 public:
  Win32Platform();
  ~Win32Platform();
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

 private:
  std::unique_ptr<System> system_;
  std::unique_ptr<ImageDecoder> images_;
  std::unique_ptr<TextRasterizer> text_;
  std::unique_ptr<Windowing> windows_;
  std::unique_ptr<Timers> timers_;
  std::unique_ptr<Libraries> libraries_;
  std::unique_ptr<OrientationSensor> sensor_;
  Services previous_;
};

}  // namespace platform::win32
