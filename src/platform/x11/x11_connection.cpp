#include "platform/x11/x11_connection.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/Xfixes.h>
#include <X11/extensions/Xrandr.h>
#include <X11/extensions/shape.h>

#include <unistd.h>

#include <cstdio>

#include "platform/xlib/randr_resources.h"

namespace platform::x11 {
namespace {

// The connection broke: the server went away, as at the end of the session.
// Xlib's own handler prints a fatal message and the process would end with 1;
// here nothing is said, and the exit handler that Xlib calls next ends the
// process with 0 at once, since no clean-up can speak to the server any more.
int StayQuietWhenTheServerGoes(Display* /*display*/) {
  return 0;
}

[[noreturn]] void EndWithTheServer(Display* /*display*/, void* /*data*/) {
  std::fflush(stdout);
  std::fflush(stderr);
  _exit(0);
}

Atoms InternAtoms(Display* display) {
  const char* names[] = {"WM_PROTOCOLS",
                         "WM_DELETE_WINDOW",
                         "_MOTIF_WM_HINTS",
                         "_NET_WM_STATE",
                         "_NET_WM_STATE_ABOVE",
                         "_NET_WM_STATE_SKIP_TASKBAR",
                         "_NET_WM_STATE_SKIP_PAGER",
                         "_NET_WM_STATE_STICKY",
                         "_NET_WM_DESKTOP",
                         "_NET_WM_NAME",
                         "_NET_WM_PID",
                         "_NET_WM_ICON",
                         "_NET_WM_WINDOW_TYPE",
                         "_NET_WM_WINDOW_TYPE_DIALOG",
                         "_NET_WM_WINDOW_TYPE_UTILITY",
                         "_NET_WM_MOVERESIZE",
                         "_NET_SUPPORTED",
                         "_NET_ACTIVE_WINDOW",
                         "_NET_SUPPORTING_WM_CHECK",
                         "UTF8_STRING",
                         "CARDINAL"};
  constexpr int kCount = sizeof names / sizeof names[0];
  ::Atom atoms[kCount] = {};
  XInternAtoms(display, const_cast<char**>(names), kCount, False, atoms);
  int i = 0;
  Atoms result{};
  for (::Atom* field : {&result.wmProtocols,
                        &result.wmDeleteWindow,
                        &result.motifWmHints,
                        &result.netWmState,
                        &result.netWmStateAbove,
                        &result.netWmStateSkipTaskbar,
                        &result.netWmStateSkipPager,
                        &result.netWmStateSticky,
                        &result.netWmDesktop,
                        &result.netWmName,
                        &result.netWmPid,
                        &result.netWmIcon,
                        &result.netWmWindowType,
                        &result.netWmWindowTypeDialog,
                        &result.netWmWindowTypeUtility,
                        &result.netWmMoveresize,
                        &result.netSupported,
                        &result.netActiveWindow,
                        &result.netSupportingWmCheck,
                        &result.utf8String,
                        &result.cardinal}) {
    *field = atoms[i++];
  }
  return result;
}

}  // namespace

X11Connection::X11Connection() {
  Display* display = display_.get();
  if (display == nullptr) return;
  // A failed request (a window gone meanwhile, shared memory the server cannot
  // reach) is counted; Xlib's own handler would end the process.
  errors_ = std::make_unique<xlib::ErrorTrap>();
  XSetIOErrorHandler(StayQuietWhenTheServerGoes);
  XSetIOErrorExitHandler(display, EndWithTheServer, nullptr);
  screen_ = DefaultScreen(display);
  root_ = RootWindow(display, screen_);
  atoms_ = InternAtoms(display);

  XVisualInfo info{};
  if (XMatchVisualInfo(display, screen_, 32, TrueColor, &info) != 0) {
    visual_ = info.visual;
    depth_ = 32;
  } else {
    visual_ = DefaultVisual(display, screen_);
    depth_ = DefaultDepth(display, screen_);
  }

  int event = 0, error = 0;
  hasShape_ = XShapeQueryExtension(display, &event, &error) != 0;
  hasShm_ = XShmQueryExtension(display) != 0;
  hasRandr_ = XRRQueryExtension(display, &event, &error) != 0;
  if (hasRandr_) randrEventBase_ = event;
  // Selection notices came with version 2; the version must be asked once before use.
  int major = 0, minor = 0;
  if (XFixesQueryExtension(display, &event, &error) != 0 &&
      XFixesQueryVersion(display, &major, &minor) != 0 && major >= 2) {
    xfixesEventBase_ = event;
  }
  hasRandrMonitors_ = xlib::HasRandr(display, 1, 5);
}

X11Connection::~X11Connection() = default;

int X11Connection::Fd() const {
  return Valid() ? ConnectionNumber(display_.get()) : -1;
}

bool X11Connection::WindowManagerSupports(::Atom hint) const {
  ::Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(display_.get(), root_, atoms_.netSupported, 0, 4096, False, XA_ATOM, &type,
                         &format, &count, &after, &data) != Success) {
    return false;
  }
  bool found = false;
  if (data != nullptr && type == XA_ATOM && format == 32) {
    const auto* atoms = reinterpret_cast<const unsigned long*>(data);
    for (unsigned long i = 0; i < count && !found; ++i) found = atoms[i] == hint;
  }
  if (data != nullptr) XFree(data);
  return found;
}

::Window X11Connection::WindowProperty(::Window window, ::Atom property) const {
  ::Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  ::Window named = 0;
  if (XGetWindowProperty(display_.get(), window, property, 0, 1, False, XA_WINDOW, &type, &format,
                         &count, &after, &data) == Success &&
      data != nullptr && type == XA_WINDOW && format == 32 && count == 1) {
    named = static_cast<::Window>(*reinterpret_cast<const unsigned long*>(data));
  }
  if (data != nullptr) XFree(data);
  return named;
}

int X11Connection::SyncAndCountErrors() {
  return static_cast<int>(errors_->SyncAndCount(display_.get()));
}

}  // namespace platform::x11
