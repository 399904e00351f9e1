#include "platform/x11/host_window.h"

#include <algorithm>

#include "platform/x11/x11_connection.h"

namespace platform::x11 {
namespace {

bool ToMouseButton(unsigned xButton, MouseButton& button, uint8_t& bit) {
  switch (xButton) {
    case Button1:
      button = MouseButton::Left;
      bit = kLeft;
      return true;
    case Button2:
      button = MouseButton::Middle;
      bit = kMiddle;
      return true;
    case Button3:
      button = MouseButton::Right;
      bit = kRight;
      return true;
    default:  // wheels and the rest
      return false;
  }
}

}  // namespace

uint8_t ShiftFromState(unsigned state) {
  uint8_t shift = 0;
  if (state & ShiftMask) shift |= kShift;
  if (state & ControlMask) shift |= kCtrl;
  if (state & Mod1Mask) shift |= kAlt;
  if (state & Button1Mask) shift |= kLeft;
  if (state & Button2Mask) shift |= kMiddle;
  if (state & Button3Mask) shift |= kRight;
  return shift;
}

HostWindow::Parts::Parts(X11Connection& connection, const ArgbWindowOptions& options,
                         WindowDrag::MoveTo moveTo)
    : window(connection, options),
      pixels(connection, window.Id()),
      shape(connection, window.Id()),
      drag(connection, window.Id(), !options.unmanaged, std::move(moveTo)) {}

HostWindow::HostWindow(X11Connection& connection, EventLoop& loop, const ArgbWindowOptions& options,
                       WindowEvents* events)
    : connection_(connection), loop_(loop), events_(events) {
  MakeParts(options);
}

HostWindow::~HostWindow() {
  loop_.Unwatch(Window().Id());
}

void HostWindow::MakeParts(const ArgbWindowOptions& options) {
  parts_ = std::make_unique<Parts>(connection_, options,
                                   [this](int32_t left, int32_t top) { Window().Move(left, top); });
  if (!Window().Valid()) return;
  loop_.Watch(Window().Id(), this);
  if (options.utility && !options.unmanaged) {
    placement_ = std::make_unique<PlacementWatch>(connection_, loop_, Window(),
                                                  [this] { LeaveWindowManager(); });
    Window().onPlaceAsked = [this](unsigned long serial) { placement_->Asked(serial); };
  }
}

void HostWindow::LeaveWindowManager() {
  placement_.reset();
  std::unique_ptr<Parts> held = std::move(parts_);
  loop_.Unwatch(held->window.Id());
  ArgbWindowOptions options = held->window.Options();
  options.unmanaged = true;
  options.bounds = held->window.AskedBounds();
  MakeParts(options);
  if (!Window().Valid()) {
    // Better where the window manager put it than nowhere.
    parts_ = std::move(held);
    loop_.Watch(Window().Id(), this);
    return;
  }
  ShapeUpdater& shape = parts_->shape;
  shape.SetComposited(held->shape.Composited());
  shape.SetClickThrough(held->shape.ClickThrough());
  if (hasFrame_) {
    // The frame shown last, which the new window shows with its first Expose.
    const int32_t width = held->pixels.Width(), height = held->pixels.Height();
    const uint8_t* shown = held->pixels.Frame(width, height);
    uint8_t* copy = parts_->pixels.Frame(width, height);
    if (shown != nullptr && copy != nullptr) {
      std::copy_n(shown, static_cast<size_t>(held->pixels.Stride()) * height, copy);
      shape.Update(copy, width, height, parts_->pixels.Stride());
    }
  }
  shapePending_ = false;
  // The window manager lets go of the window it held as it goes.
  held.reset();
  Window().Show();
  if (onLeftWindowManager) onLeftWindowManager();
}

void HostWindow::ShowFrame(const LayeredFrame& frame) {
  const int32_t width = frame.pixels.width, height = frame.pixels.height;
  PixelPusher& pixels = parts_->pixels;
  uint8_t* out = pixels.Frame(width, height);
  if (out == nullptr) return;
  Window().Resize(width, height);
  BakeLayeredFrame(frame, out);
  hasFrame_ = true;
  // A window not shown yet gets the frame with its first Expose.
  shapePending_ = !Window().Shown();
  if (shapePending_) return;
  Shape().Update(out, width, height, pixels.Stride());
  pixels.Push();
}

void HostWindow::Show() {
  if (shapePending_) {
    PixelPusher& pixels = parts_->pixels;
    const uint8_t* last = pixels.Frame(pixels.Width(), pixels.Height());
    if (last != nullptr) Shape().Update(last, pixels.Width(), pixels.Height(), pixels.Stride());
    shapePending_ = false;
  }
  Window().Show();
}

void HostWindow::BeginDrag() {
  if (!parts_->drag.Begin()) return;
  Window().TrustServerPosition();
  if (placement_) placement_->Stop();
}

void HostWindow::ChangeDpi(int32_t dpi) {
  if (events_ != nullptr) events_->HandleDpiChange(dpi, std::nullopt);
}

void HostWindow::ChangeScreen() {
  if (events_ != nullptr) events_->HandleScreenChange();
}

void HostWindow::ChangeCompositing(bool composited) {
  if (!Shape().SetComposited(composited) || !hasFrame_) return;
  // The frame shown last, kept by the pusher at its size.
  PixelPusher& pixels = parts_->pixels;
  const uint8_t* shown = pixels.Frame(pixels.Width(), pixels.Height());
  Shape().Update(shown, pixels.Width(), pixels.Height(), pixels.Stride());
  XFlush(connection_.Get());
}

void HostWindow::ChangeInputs() {
  if (events_ != nullptr) events_->HandleInputDevicesChange();
}

void HostWindow::LiftTouch() {
  ::Window root = 0, child = 0;
  int rootX = 0, rootY = 0, x = 0, y = 0;
  unsigned mask = 0, width = 0, height = 0, border = 0, depth = 0;
  Display* display = connection_.Get();
  const ::Window window = parts_->window.Id();
  if (!XQueryPointer(display, window, &root, &child, &rootX, &rootY, &x, &y, &mask) ||
      !XGetGeometry(display, window, &root, &rootX, &rootY, &width, &height, &border, &depth)) {
    return;
  }
  const bool over = x >= 0 && y >= 0 && x < static_cast<int>(width) && y < static_cast<int>(height);
  if (over && events_ != nullptr) events_->HandleMouseLeave();
}

void HostWindow::HandlePaint() {
  if (events_ != nullptr) events_->HandlePaint();
}

void HostWindow::HandleEvent(const XEvent& event) {
  if (parts_->drag.Take(event)) return;
  if (placement_) placement_->Take(event);
  switch (event.type) {
    case Expose:
      if (event.xexpose.count != 0) break;
      if (hasFrame_)
        parts_->pixels.Push();
      else
        HandlePaint();
      break;
    case ButtonPress:
      OnButton(event.xbutton, true);
      break;
    case ButtonRelease:
      OnButton(event.xbutton, false);
      break;
    case MotionNotify:
      OnMotion(event.xmotion);
      break;
    case LeaveNotify:
      // Only the pointer going away counts, not a grab taken by the window manager.
      if (event.xcrossing.mode == NotifyNormal && event.xcrossing.detail != NotifyInferior &&
          events_ != nullptr) {
        events_->HandleMouseLeave();
      }
      break;
    case ConfigureNotify:
      Window().NoteConfigure(event.xconfigure);
      break;
    case ClientMessage:
      if (event.xclient.message_type == connection_.Names().wmProtocols &&
          static_cast<::Atom>(event.xclient.data.l[0]) == connection_.Names().wmDeleteWindow &&
          events_ != nullptr) {
        events_->HandleCloseRequest();
      }
      break;
    default:
      break;
  }
}

void HostWindow::OnButton(const XButtonEvent& event, bool down) {
  MouseButton button = MouseButton::Left;
  uint8_t bit = 0;
  if (!ToMouseButton(event.button, button, bit) || events_ == nullptr) return;
  // The state is the one before the event; the button's own bit follows the event.
  uint8_t shift = ShiftFromState(event.state);
  shift = down ? static_cast<uint8_t>(shift | bit) : static_cast<uint8_t>(shift & ~bit);
  if (down) {
    if (Window().Options().unmanaged && onPressedOutOfHands) onPressedOutOfHands();
    const Rect bounds = Window().Bounds();
    parts_->drag.NotePress(event, bounds.left, bounds.top);
    events_->HandleMouseDown(button, shift, event.x, event.y);
  } else {
    events_->HandleMouseUp(button, shift, event.x, event.y);
  }
}

void HostWindow::OnMotion(const XMotionEvent& event) {
  if (events_ == nullptr) return;
  // Only the latest of the motions queued right behind this one matters.
  Display* display = connection_.Get();
  XEvent latest;
  latest.xmotion = event;
  while (XEventsQueued(display, QueuedAlready) > 0) {
    XEvent next;
    XPeekEvent(display, &next);
    if (next.type != MotionNotify || next.xmotion.window != Window().Id()) break;
    XNextEvent(display, &latest);
  }
  events_->HandleMouseMove(ShiftFromState(latest.xmotion.state), latest.xmotion.x,
                           latest.xmotion.y);
}

}  // namespace platform::x11
