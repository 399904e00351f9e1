#include "platform/x11/x11_platform.h"

#include "platform/gio/sensor_proxy.h"
#include "platform/libpng/libpng_image_decoder.h"
#include "platform/posix/dl_libraries.h"
#include "platform/posix/quit_signals.h"
#include "platform/x11/desktop_watcher.h"
#include "platform/x11/event_loop.h"
#include "platform/x11/glib_main_context_wait.h"
#include "platform/x11/pango_text_rasterizer.h"
#include "platform/x11/x11_connection.h"
#include "platform/x11/x11_system.h"
#include "platform/x11/x11_timers.h"
#include "platform/x11/x11_windowing.h"

namespace platform::x11 {

X11Platform::X11Platform() : connection_(std::make_unique<X11Connection>()) {
  if (!connection_->Valid()) return;
  loop_ = std::make_unique<EventLoop>(*connection_);
  quitSignals_ = std::make_unique<posix::QuitSignals>();
  loop_->WatchDescriptor(quitSignals_->Fd(), [this] {
    if (quitSignals_->Take()) loop_->Quit();
  });
  // D-Bus answers (the sensor service's) come through GLib's main context.
  glib_ = std::make_unique<GlibMainContextWait>();
  loop_->ShareWait(glib_.get());
  desktop_ = std::make_unique<DesktopWatcher>(*connection_, *loop_);
  text_ = std::make_unique<PangoTextRasterizer>();
  system_ = std::make_unique<X11System>(*connection_, *loop_, *text_);
  images_ = std::make_unique<libpng::LibpngImageDecoder>();
  windows_ = std::make_unique<X11Windowing>(*connection_, *loop_, *desktop_);
  timers_ = std::make_unique<X11Timers>(*loop_);
  libraries_ = std::make_unique<posix::DlLibraries>();
  sensor_ = std::make_unique<gio::SensorProxy>();
  previous_ = Install({system_.get(), images_.get(), text_.get(), windows_.get(), timers_.get(),
                       libraries_.get(), sensor_.get()});
  installed_ = true;
}

X11Platform::~X11Platform() {
  if (installed_) Install(previous_);
}

void X11Platform::SetWindowIcon(std::vector<unsigned long> icon) {
  if (windows_) windows_->SetIcon(std::move(icon));
}

}  // namespace platform::x11
