#include "platform/x11/argb_window.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <algorithm>

#include "platform/x11/x11_connection.h"

namespace platform::x11 {
namespace {

constexpr long kEventMask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                            LeaveWindowMask | EnterWindowMask | StructureNotifyMask | KeyPressMask |
                            FocusChangeMask;

// _MOTIF_WM_HINTS: flags, functions, decorations, input mode, status.
constexpr unsigned long kMotifHintsDecorations = 1ul << 1;

// _NET_WM_DESKTOP's value for every desktop.
constexpr unsigned long kEveryDesktop = 0xFFFFFFFFul;

constexpr long kNetWmStateAdd = 1;
constexpr long kNetWmStateRemove = 0;

}  // namespace

ArgbWindow::ArgbWindow(X11Connection& connection, const ArgbWindowOptions& options)
    : connection_(connection), options_(options) {
  Display* display = connection_.Get();
  colormap_ = XCreateColormap(display, connection_.Root(), connection_.ArgbVisual(), AllocNone);
  XSetWindowAttributes attributes{};
  attributes.colormap = colormap_;
  attributes.border_pixel = 0;
  attributes.background_pixel = 0;
  attributes.event_mask = kEventMask;
  attributes.override_redirect = options.unmanaged ? True : False;
  const Rect& asked = options.bounds;
  const int32_t width = std::max(asked.Width(), 1), height = std::max(asked.Height(), 1);
  window_ = XCreateWindow(
      display, connection_.Root(), asked.left, asked.top, static_cast<unsigned>(width),
      static_cast<unsigned>(height), 0, connection_.ArgbDepth(), InputOutput,
      connection_.ArgbVisual(),
      CWColormap | CWBorderPixel | CWBackPixel | CWEventMask | CWOverrideRedirect, &attributes);
  bounds_ = Rect::OfSize(width, height).Translated(asked.left, asked.top);
  place_ = {asked.left, asked.top};
  if (window_ != 0) SetProperties();
}

ArgbWindow::~ArgbWindow() {
  Display* display = connection_.Get();
  if (window_ != 0) XDestroyWindow(display, window_);
  if (colormap_ != 0) XFreeColormap(display, colormap_);
  XFlush(display);
}

void ArgbWindow::SetProperties() {
  Display* display = connection_.Get();
  const Atoms& atoms = connection_.Names();

  auto* title = reinterpret_cast<const unsigned char*>(options_.title.c_str());
  const int titleLength = static_cast<int>(options_.title.size());
  XChangeProperty(display, window_, atoms.netWmName, atoms.utf8String, 8, PropModeReplace, title,
                  titleLength);
  XChangeProperty(display, window_, XA_WM_NAME, atoms.utf8String, 8, PropModeReplace, title,
                  titleLength);

  std::string instance = options_.instanceName, windowClass = options_.className;
  XClassHint classHint{instance.data(), windowClass.data()};
  XSetClassHint(display, window_, &classHint);

  // The window takes the keyboard when clicked, so that it becomes the active one.
  XWMHints wmHints{};
  wmHints.flags = InputHint | StateHint;
  wmHints.input = True;
  wmHints.initial_state = NormalState;
  XSetWMHints(display, window_, &wmHints);

  // The program chooses the place, not the window manager.
  XSizeHints sizeHints{};
  sizeHints.flags = USPosition | PPosition;
  sizeHints.x = options_.bounds.left;
  sizeHints.y = options_.bounds.top;
  XSetWMNormalHints(display, window_, &sizeHints);

  ::Atom protocols[] = {atoms.wmDeleteWindow};
  XSetWMProtocols(display, window_, protocols, 1);

  const unsigned long pid = static_cast<unsigned long>(getpid());
  XChangeProperty(display, window_, atoms.netWmPid, XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&pid), 1);

  if (options_.frameless) {
    const unsigned long hints[5] = {kMotifHintsDecorations, 0, 0, 0, 0};
    XChangeProperty(display, window_, atoms.motifWmHints, atoms.motifWmHints, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(hints), 5);
  }

  if (options_.utility) {
    const unsigned long type = atoms.netWmWindowTypeUtility;
    XChangeProperty(display, window_, atoms.netWmWindowType, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&type), 1);
  }
  if (options_.everyWorkspace) {
    XChangeProperty(display, window_, atoms.netWmDesktop, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&kEveryDesktop), 1);
  }

  // Read by the window manager when the window is mapped.
  std::vector<unsigned long> states;
  if (options_.onTop) states.push_back(atoms.netWmStateAbove);
  if (options_.everyWorkspace) states.push_back(atoms.netWmStateSticky);
  if (!options_.inTaskbar) {
    states.push_back(atoms.netWmStateSkipTaskbar);
    states.push_back(atoms.netWmStateSkipPager);
  }
  XChangeProperty(display, window_, atoms.netWmState, XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(states.data()),
                  static_cast<int>(states.size()));
}

void ArgbWindow::TellPlaceAsked(unsigned long serial) {
  if (shown_ && !options_.unmanaged && onPlaceAsked) onPlaceAsked(serial);
}

void ArgbWindow::Show() {
  if (window_ == 0 || shown_) return;
  const unsigned long serial = NextRequest(connection_.Get());
  XMapRaised(connection_.Get(), window_);
  XFlush(connection_.Get());
  shown_ = true;
  TellPlaceAsked(serial);
}

void ArgbWindow::Move(int32_t left, int32_t top) {
  if (window_ == 0) return;
  place_ = {left, top};
  dragged_ = false;
  if (left == bounds_.left && top == bounds_.top) return;
  bounds_ = Rect::OfSize(bounds_.Width(), bounds_.Height()).Translated(left, top);
  moving_ = true;
  moveSerial_ = NextRequest(connection_.Get());
  XMoveWindow(connection_.Get(), window_, left, top);
  TellPlaceAsked(moveSerial_);
}

void ArgbWindow::Resize(int32_t width, int32_t height) {
  if (window_ == 0 || width <= 0 || height <= 0) return;
  if (width == bounds_.Width() && height == bounds_.Height()) return;
  bounds_.right = bounds_.left + width;
  bounds_.bottom = bounds_.top + height;
  const unsigned long serial = NextRequest(connection_.Get());
  XResizeWindow(connection_.Get(), window_, static_cast<unsigned>(width),
                static_cast<unsigned>(height));
  TellPlaceAsked(serial);
}

void ArgbWindow::SetOnTop(bool onTop) {
  if (window_ == 0 || onTop == options_.onTop) return;
  options_.onTop = onTop;
  Display* display = connection_.Get();
  const Atoms& atoms = connection_.Names();
  if (!shown_) {
    SetProperties();
    return;
  }
  // A mapped window asks the window manager.
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window_;
  event.xclient.message_type = atoms.netWmState;
  event.xclient.format = 32;
  event.xclient.data.l[0] = onTop ? kNetWmStateAdd : kNetWmStateRemove;
  event.xclient.data.l[1] = static_cast<long>(atoms.netWmStateAbove);
  event.xclient.data.l[3] = 1;  // a normal application
  XSendEvent(display, connection_.Root(), False, SubstructureRedirectMask | SubstructureNotifyMask,
             &event);
}

void ArgbWindow::SetIcon(const std::vector<unsigned long>& icon) {
  if (window_ == 0 || icon.size() < 3) return;
  XChangeProperty(connection_.Get(), window_, connection_.Names().netWmIcon, XA_CARDINAL, 32,
                  PropModeReplace, reinterpret_cast<const unsigned char*>(icon.data()),
                  static_cast<int>(icon.size()));
}

void ArgbWindow::StayOnTop() {
  // No window manager raises it, and a desktop that draws it above the others
  // (sway) still has the X server stack a newer window above it, which would
  // then take the clicks the X server places itself.
  if (window_ == 0 || !options_.unmanaged || !shown_) return;
  XRaiseWindow(connection_.Get(), window_);
  XFlush(connection_.Get());
}

void ArgbWindow::NoteConfigure(const XConfigureEvent& event) {
  // A window manager's frame makes the event's own coordinates relative to
  // the frame, so the position on the screen is asked for.
  int x = event.x, y = event.y;
  if (!event.send_event) {
    ::Window child = 0;
    if (!XTranslateCoordinates(connection_.Get(), window_, connection_.Root(), 0, 0, &x, &y,
                               &child)) {
      return;
    }
  }
  if (moving_) {
    // Made before the server took the move: an older position still on its
    // way, so the asked-for one stands. The first later report says where the
    // move really left the window, which a window manager may choose to differ
    // from the asked-for place (to keep it on the screen); a synthetic report
    // carries the serial of this connection's requests just as a real one.
    if (event.serial < moveSerial_) return;
    moving_ = false;
  }
  if (dragged_) place_ = {x, y};
  // The size is the program's own; no window manager changes it.
  bounds_ = Rect::OfSize(bounds_.Width(), bounds_.Height()).Translated(x, y);
}

}  // namespace platform::x11
