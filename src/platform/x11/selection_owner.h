#pragma once
#include <X11/Xlib.h>

#include <string>

namespace platform::x11 {

class X11Connection;

// Follows which window owns a selection of the display (a compositing manager
// owns _NET_WM_CM_S<screen>, a settings daemon _XSETTINGS_S<screen>), told by
// XFixes whenever the owner changes, goes away or its client ends. Without
// XFixes the owner is the one found at the start.
class SelectionOwner {
 public:
  SelectionOwner(X11Connection& connection, const std::string& selection);
  SelectionOwner(const SelectionOwner&) = delete;
  SelectionOwner& operator=(const SelectionOwner&) = delete;

  // 0 when nobody owns the selection.
  ::Window Owner() const { return owner_; }
  // Takes XFixes' notice about this selection, reading the owner again; false
  // for any other event.
  bool Take(const XEvent& event);

 private:
  X11Connection& connection_;
  ::Atom selection_;
  ::Window owner_ = 0;
};

// The name of a selection owned once per screen: "_NET_WM_CM_S" and screen 0
// give "_NET_WM_CM_S0".
std::string ScreenSelection(const std::string& prefix, int screen);

}  // namespace platform::x11
