#pragma once
#include <memory>
#include <vector>

#include "platform/services.h"

namespace platform::posix {
class QuitSignals;
}

namespace platform::x11 {

class DesktopWatcher;
class EventLoop;
class GlibMainContextWait;
class PangoTextRasterizer;
class X11Connection;
class X11Windowing;

// The X11 implementation of every platform service, on the display named by
// $DISPLAY, installed for the life of the object when the display opened. A
// quit signal ends the message loop as a close request does.
class X11Platform {
 public:
  X11Platform();
  ~X11Platform();
  X11Platform(const X11Platform&) = delete;
  X11Platform& operator=(const X11Platform&) = delete;

  // False when the display could not be opened; nothing is installed then.
  bool Valid() const { return installed_; }
  // The icon the window manager shows for every window (see NetWmIcon).
  void SetWindowIcon(std::vector<unsigned long> icon);

 private:
  std::unique_ptr<X11Connection> connection_;
  std::unique_ptr<EventLoop> loop_;
  std::unique_ptr<GlibMainContextWait> glib_;
  std::unique_ptr<posix::QuitSignals> quitSignals_;
  std::unique_ptr<DesktopWatcher> desktop_;
  std::unique_ptr<PangoTextRasterizer> text_;
  std::unique_ptr<System> system_;
  std::unique_ptr<ImageDecoder> images_;
  std::unique_ptr<X11Windowing> windows_;
  std::unique_ptr<Timers> timers_;
  std::unique_ptr<Libraries> libraries_;
  std::unique_ptr<OrientationSensor> sensor_;
  Services previous_;
  bool installed_ = false;
};

}  // namespace platform::x11
