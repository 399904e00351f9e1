#pragma once
#include <X11/Xlib.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/types.h"

namespace platform::x11 {

class X11Connection;

struct ArgbWindowOptions {
  std::string title;  // UTF-8
  // WM_CLASS: the class is the program's for all its windows, the one its
  // menu entry names (StartupWMClass), so the desktop tells them its own.
  std::string className = "Zentara";
  std::string instanceName;
  // Where the window first shows, in the root window's coordinates.
  Rect bounds = Rect::OfSize(1, 1);
  bool frameless = false;
  bool onTop = false;
  bool inTaskbar = true;
  // A small tool window beside the others (_NET_WM_WINDOW_TYPE_UTILITY), which
  // the window manager still lets the user move, unlike a dock.
  bool utility = false;
  // On every workspace rather than on the one current when it is mapped.
  bool everyWorkspace = false;
  // Out of the window manager's hands (override-redirect): placed where the
  // program puts it, out of any tiling, above the managed windows; it moves
  // only as the program moves it.
  bool unmanaged = false;
};

// A top-level window of the 32-bit visual with alpha (own colormap, border
// pixel 0), told to the window manager as the options say before it is
// mapped. Its bounds are those last asked for until the server reports the
// window after it took the move, wherever the window manager placed it;
// moves made by the window manager (a drag) are taken from then on. Its own
// place is the one the program chose, or the one a drag left it at; a window
// manager that moves it meanwhile on its own (to keep it on a changed screen)
// does not change that.
class ArgbWindow {
 public:
  ArgbWindow(X11Connection& connection, const ArgbWindowOptions& options);
  ~ArgbWindow();
  ArgbWindow(const ArgbWindow&) = delete;
  ArgbWindow& operator=(const ArgbWindow&) = delete;

  ::Window Id() const { return window_; }
  bool Valid() const { return window_ != 0; }
  const ArgbWindowOptions& Options() const { return options_; }

  void Show();
  bool Shown() const { return shown_; }
  void Move(int32_t left, int32_t top);
  void Resize(int32_t width, int32_t height);
  Rect Bounds() const { return bounds_; }
  Point OwnPlace() const { return place_; }
  // Where the window belongs: its own place, at the program's size.
  Rect AskedBounds() const {
    return Rect::OfSize(bounds_.Width(), bounds_.Height()).Translated(place_.x, place_.y);
  }
  // Called with the serial of the first request whenever a shown window that
  // the window manager manages asks it for a place or a size, and when it is
  // shown.
  std::function<void(unsigned long serial)> onPlaceAsked;
  void SetOnTop(bool onTop);
  // Pixels for _NET_WM_ICON: per icon its width, its height, then its
  // width * height ARGB values.
  void SetIcon(const std::vector<unsigned long>& icon);

  // An unmanaged window goes back above the others (which the window manager
  // stacks above it as it activates them).
  void StayOnTop();
  // Takes the position a ConfigureNotify reports.
  void NoteConfigure(const XConfigureEvent& event);
  // From now on the server's word counts even before an asked-for move arrived
  // (the window manager moves the window itself).
  void TrustServerPosition() {
    moving_ = false;
    dragged_ = true;
  }

 private:
  void SetProperties();
  void TellPlaceAsked(unsigned long serial);

  X11Connection& connection_;
  ArgbWindowOptions options_;
  ::Window window_ = 0;
  Colormap colormap_ = 0;
  Rect bounds_;
  Point place_;
  bool moving_ = false;
  // The request that asked for the last move; reports made before it are older.
  unsigned long moveSerial_ = 0;
  // Moved by the window manager for the user since the program's last move.
  bool dragged_ = false;
  bool shown_ = false;
};

}  // namespace platform::x11
