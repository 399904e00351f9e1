#pragma once
#include <X11/Xlib.h>

#include <memory>
#include <string>

#include "platform/types.h"
#include "platform/x11/event_loop.h"

namespace platform::x11 {

class ArgbWindow;
class PixelPusher;
class PangoTextRasterizer;
class X11Connection;

// A small modal window with a caption, a line of text and an OK button, drawn
// with Pango. Enter, Escape, the button and the window manager's close end
// it. Its loop runs the program's timers and other windows meanwhile.
class NoticeDialog : public EventSink {
 public:
  NoticeDialog(X11Connection& connection, EventLoop& loop, PangoTextRasterizer& text,
               std::string message, std::string caption);
  ~NoticeDialog() override;
  NoticeDialog(const NoticeDialog&) = delete;
  NoticeDialog& operator=(const NoticeDialog&) = delete;

  // Shows the notice and returns when it is closed or the program quits.
  void Run();

  void HandleEvent(const XEvent& event) override;

 private:
  void Layout();
  void Draw();
  bool OnButton(int32_t x, int32_t y) const;

  X11Connection& connection_;
  EventLoop& loop_;
  PangoTextRasterizer& text_;
  std::string message_;
  std::string caption_;
  Rect textRect_;
  Rect buttonRect_;
  int32_t width_ = 0;
  int32_t height_ = 0;
  std::unique_ptr<ArgbWindow> window_;
  std::unique_ptr<PixelPusher> pixels_;
  bool pressed_ = false;
  bool closed_ = false;
};

}  // namespace platform::x11
