#pragma once
#include <X11/Xlib.h>

#include <cstdint>
#include <functional>

#include "platform/x11/primary_screen.h"

namespace platform::x11 {

class X11Connection;

// Whether `event` says that the screen may have changed: one of XRandR's
// events (`randrEventBase` is RRScreenChangeNotify's type, -1 without XRandR)
// or a ConfigureNotify of the root window itself, which the server also sends
// when a client sets or removes a monitor.
bool IsScreenEvent(const XEvent& event, ::Window root, int randrEventBase);

// Follows the screen's size and the primary monitor's area (as
// PrimaryScreenArea finds it) through the root window's screen events. The
// events of one change come in a burst: those already queued are taken
// together and checked once, and a check that finds the same size and area
// as before tells nobody.
class ScreenWatcher {
 public:
  explicit ScreenWatcher(X11Connection& connection);
  ScreenWatcher(const ScreenWatcher&) = delete;
  ScreenWatcher& operator=(const ScreenWatcher&) = delete;

  // Takes a screen event of the root window; false for any other event.
  bool Take(const XEvent& event);
  // Called when the screen's size or the primary monitor's area changed,
  // with the primary monitor's area before and now.
  std::function<void(const Rect& before, const Rect& now)> onChange;
  // Called for every burst that changed the screen, a CRTC or an output,
  // whether or not the size and area changed (a turn by half keeps both).
  std::function<void()> onOutputsChange;

 private:
  struct Shape {
    int32_t width = 0;
    int32_t height = 0;
    Rect primary;
    bool operator==(const Shape&) const = default;
  };
  Shape Read() const;
  bool ChangesOutputs(const XEvent& event) const;
  // Keeps Xlib's own idea of the screen's size (DisplayWidth) current.
  static void UpdateXlib(const XEvent& event);
  static Bool IsQueuedScreenEvent(Display* display, XEvent* event, XPointer watcher);

  X11Connection& connection_;
  Shape shape_;
};

}  // namespace platform::x11
