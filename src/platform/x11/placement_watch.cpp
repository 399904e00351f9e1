#include "platform/x11/placement_watch.h"

#include "platform/x11/argb_window.h"
#include "platform/x11/event_loop.h"
#include "platform/x11/x11_connection.h"

namespace platform::x11 {
namespace {

// How long a window manager may take to answer a request; the ones that honour
// it answer within milliseconds, a loaded machine included.
constexpr uint32_t kAnswerMilliseconds = 1000;
// How long it stays quiet after its answer before the place counts: some move
// the window again right after mapping it.
constexpr uint32_t kQuietMilliseconds = 100;

bool IsReport(int type) {
  return type == MapNotify || type == ConfigureNotify || type == ReparentNotify;
}

// The window's parent, or 0 when it cannot be told.
::Window ParentOf(Display* display, ::Window window) {
  ::Window root = 0, parent = 0;
  ::Window* children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(display, window, &root, &parent, &children, &count)) return 0;
  if (children != nullptr) XFree(children);
  return parent;
}

// A window's outer rectangle (its border included) in its parent's coordinates.
bool OuterRect(Display* display, ::Window window, Rect& rect) {
  ::Window root = 0;
  int x = 0, y = 0;
  unsigned width = 0, height = 0, border = 0, depth = 0;
  if (!XGetGeometry(display, window, &root, &x, &y, &width, &height, &border, &depth)) return false;
  rect = Rect::OfSize(static_cast<int32_t>(width + 2 * border),
                      static_cast<int32_t>(height + 2 * border))
             .Translated(x, y);
  return true;
}

}  // namespace

PlacementWatch::PlacementWatch(X11Connection& connection, EventLoop& loop, const ArgbWindow& window,
                               std::function<void()> onRefused)
    : connection_(connection), loop_(loop), window_(window), onRefused_(std::move(onRefused)) {}

PlacementWatch::~PlacementWatch() {
  StopTimer();
}

void PlacementWatch::StopTimer() {
  if (timer_ != 0) loop_.StopTimer(timer_);
  timer_ = 0;
}

void PlacementWatch::Wait(Phase phase, uint32_t milliseconds) {
  StopTimer();
  phase_ = phase;
  timer_ = loop_.StartTimer(milliseconds, [this] { Judge(); });
}

void PlacementWatch::Asked(unsigned long serial) {
  if (phase_ == Phase::kRefused) return;
  serial_ = serial;
  Wait(Phase::kAnswer, kAnswerMilliseconds);
}

void PlacementWatch::Stop() {
  if (phase_ == Phase::kRefused) return;
  StopTimer();
  phase_ = Phase::kIdle;
}

void PlacementWatch::Take(const XEvent& event) {
  if (event.type == MapNotify) mapped_ = true;
  if (event.type == UnmapNotify) mapped_ = false;
  if (!IsReport(event.type)) return;
  // The answer: the window shown, and a report made after the request; each
  // later report starts the quiet anew.
  if ((phase_ == Phase::kAnswer && mapped_ && event.xany.serial >= serial_) ||
      phase_ == Phase::kQuiet) {
    Wait(Phase::kQuiet, kQuietMilliseconds);
  }
}

void PlacementWatch::Judge() {
  StopTimer();
  if (AtItsPlace()) {
    phase_ = Phase::kIdle;
    return;
  }
  phase_ = Phase::kRefused;
  // Called from a copy: the call may destroy this watch.
  const std::function<void()> refused = onRefused_;
  refused();
}

bool PlacementWatch::AtItsPlace() const {
  if (!mapped_) return false;
  Display* display = connection_.Get();
  const ::Window window = window_.Id(), root = connection_.Root();
  int x = 0, y = 0;
  ::Window child = 0;
  Rect size;
  if (!XTranslateCoordinates(display, window, root, 0, 0, &x, &y, &child) ||
      !OuterRect(display, window, size)) {
    return false;
  }
  const Rect shown = Rect::OfSize(size.Width(), size.Height()).Translated(x, y);
  if (shown != window_.AskedBounds()) return false;
  // A frame shows beside the window: the child of the root that holds the
  // window covers exactly the window, or it is a frame.
  ::Window top = window;
  for (::Window parent = ParentOf(display, top); parent != root; parent = ParentOf(display, top)) {
    if (parent == 0) return false;
    top = parent;
  }
  Rect outer;
  return top == window || (OuterRect(display, top, outer) && outer == shown);
}

}  // namespace platform::x11
