#pragma once
#include <X11/Xlib.h>

#include <memory>

#include "platform/xlib/display.h"
#include "platform/xlib/error_trap.h"

namespace platform::x11 {

// The atoms the platform code uses, interned once per connection.
struct Atoms {
  Atom wmProtocols;
  Atom wmDeleteWindow;
  Atom motifWmHints;
  Atom netWmState;
  Atom netWmStateAbove;
  Atom netWmStateSkipTaskbar;
  Atom netWmStateSkipPager;
  Atom netWmStateSticky;
  Atom netWmDesktop;
  Atom netWmName;
  Atom netWmPid;
  Atom netWmIcon;
  Atom netWmWindowType;
  Atom netWmWindowTypeDialog;
  Atom netWmWindowTypeUtility;
  Atom netWmMoveresize;
  Atom netSupported;
  Atom netActiveWindow;
  Atom netSupportingWmCheck;
  Atom utf8String;
  Atom cardinal;
};

// One connection to the X server: the display, its atoms, which extensions it
// offers and the visual for windows with per-pixel alpha. Errors of single
// requests are caught and counted instead of ending the process; when the
// server goes away, the process ends quietly with exit code 0.
class X11Connection {
 public:
  // Opens $DISPLAY; Valid() tells whether that worked.
  X11Connection();
  ~X11Connection();
  X11Connection(const X11Connection&) = delete;
  X11Connection& operator=(const X11Connection&) = delete;

  bool Valid() const { return display_.get() != nullptr; }
  Display* Get() const { return display_.get(); }
  int Fd() const;
  ::Window Root() const { return root_; }
  int Screen() const { return screen_; }
  const Atoms& Names() const { return atoms_; }

  // The 32-bit visual with alpha, or the default visual where there is none.
  Visual* ArgbVisual() const { return visual_; }
  int ArgbDepth() const { return depth_; }

  bool HasShape() const { return hasShape_; }
  bool HasShm() const { return hasShm_; }
  bool HasRandr() const { return hasRandr_; }
  // Whether XRandR describes monitors (version 1.5 on).
  bool HasRandrMonitors() const { return hasRandrMonitors_; }
  // The type of XRandR's first event (RRScreenChangeNotify); -1 without XRandR.
  int RandrEventBase() const { return randrEventBase_; }

  // The type of XFixes' first event (XFixesSelectionNotify); -1 without XFixes.
  int XfixesEventBase() const { return xfixesEventBase_; }

  // Whether the window manager announces a supported hint in _NET_SUPPORTED.
  bool WindowManagerSupports(::Atom hint) const;

  // The window a window's WINDOW property names; 0 when it names none.
  ::Window WindowProperty(::Window window, ::Atom property) const;

  // Waits until the server handled every request sent so far and returns how
  // many of them failed since the last call.
  int SyncAndCountErrors();

 private:
  // Declared before the display, so that errors while it closes are still caught.
  std::unique_ptr<xlib::ErrorTrap> errors_;
  xlib::XDisplay display_;
  ::Window root_ = 0;
  int screen_ = 0;
  Atoms atoms_{};
  Visual* visual_ = nullptr;
  int depth_ = 0;
  bool hasShape_ = false;
  bool hasShm_ = false;
  bool hasRandr_ = false;
  bool hasRandrMonitors_ = false;
  int randrEventBase_ = -1;
  int xfixesEventBase_ = -1;
};

}  // namespace platform::x11
