#include "platform/win32/win32_platform.h"

#include "platform/orientation_sensor.h"
#include "platform/win32/gdi_text_rasterizer.h"
#include "platform/win32/gdiplus_image_decoder.h"
#include "platform/win32/win32_libraries.h"
#include "platform/win32/win32_system.h"
#include "platform/win32/win32_timers.h"
#include "platform/win32/win32_windowing.h"

namespace platform::win32 {

Win32Platform::Win32Platform()
    : system_(std::make_unique<Win32System>()),
      images_(std::make_unique<GdiplusImageDecoder>()),
      text_(std::make_unique<GdiTextRasterizer>()),
      windows_(std::make_unique<Win32Windowing>()),
      timers_(std::make_unique<Win32Timers>()),
      libraries_(std::make_unique<Win32Libraries>()),
      // Windows turns the screen by itself as the device turns.
      sensor_(std::make_unique<AbsentOrientationSensor>()) {
  previous_ = Install({system_.get(), images_.get(), text_.get(), windows_.get(), timers_.get(),
                       libraries_.get(), sensor_.get()});
}

Win32Platform::~Win32Platform() {
  Install(previous_);
}

}  // namespace platform::win32
