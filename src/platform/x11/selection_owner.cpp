#include "platform/x11/selection_owner.h"

#include <X11/extensions/Xfixes.h>

#include "platform/x11/x11_connection.h"

namespace platform::x11 {

SelectionOwner::SelectionOwner(X11Connection& connection, const std::string& selection)
    : connection_(connection), selection_(XInternAtom(connection.Get(), selection.c_str(), False)) {
  if (connection_.XfixesEventBase() >= 0) {
    // The notices go to the root window, whose events the loop hands on already.
    XFixesSelectSelectionInput(connection_.Get(), connection_.Root(), selection_,
                               XFixesSetSelectionOwnerNotifyMask |
                                   XFixesSelectionWindowDestroyNotifyMask |
                                   XFixesSelectionClientCloseNotifyMask);
  }
  owner_ = XGetSelectionOwner(connection_.Get(), selection_);
}

bool SelectionOwner::Take(const XEvent& event) {
  const int base = connection_.XfixesEventBase();
  if (base < 0 || event.type != base + XFixesSelectionNotify) return false;
  const auto& notice = reinterpret_cast<const XFixesSelectionNotifyEvent&>(event);
  if (notice.selection != selection_) return false;
  // Asked again rather than taken from the notice: a later change may be
  // on its way already, and the server's answer is the latest word.
  owner_ = XGetSelectionOwner(connection_.Get(), selection_);
  return true;
}

std::string ScreenSelection(const std::string& prefix, int screen) {
  return prefix + std::to_string(screen);
}

}  // namespace platform::x11
