#include "platform/x11/host_window.h"

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

HostWindow::HostWindow(X11Connection& connection, EventLoop& loop, const ArgbWindowOptions& options,
                       WindowEvents* events)
    : connection_(connection),
      loop_(loop),
      events_(events),
      window_(connection, options),
      pixels_(connection, window_.Id()),
      shape_(connection, window_.Id()),
      drag_(connection, window_.Id(), !options.unmanaged,
            [this](int32_t left, int32_t top) { window_.Move(left, top); }) {
  if (window_.Valid()) loop_.Watch(window_.Id(), this);
}

HostWindow::~HostWindow() {
  loop_.Unwatch(window_.Id());
}

void HostWindow::ShowFrame(const LayeredFrame& frame) {
  const int32_t width = frame.pixels.width, height = frame.pixels.height;
  uint8_t* out = pixels_.Frame(width, height);
  if (out == nullptr) return;
  window_.Resize(width, height);
  BakeLayeredFrame(frame, out);
  shape_.Update(out, width, height, pixels_.Stride());
  hasFrame_ = true;
  // A window not shown yet gets the frame with its first Expose.
  if (window_.Shown()) pixels_.Push();
}

void HostWindow::BeginDrag() {
  if (drag_.Begin()) window_.TrustServerPosition();
}

void HostWindow::ChangeDpi(int32_t dpi) {
  if (events_ != nullptr) events_->HandleDpiChange(dpi, std::nullopt);
}

void HostWindow::ChangeScreen() {
  if (events_ != nullptr) events_->HandleScreenChange();
}

void HostWindow::ChangeCompositing(bool composited) {
  if (!shape_.SetComposited(composited) || !hasFrame_) return;
  // The frame shown last, kept by the pusher at its size.
  const uint8_t* shown = pixels_.Frame(pixels_.Width(), pixels_.Height());
  shape_.Update(shown, pixels_.Width(), pixels_.Height(), pixels_.Stride());
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
  if (!XQueryPointer(display, window_.Id(), &root, &child, &rootX, &rootY, &x, &y, &mask) ||
      !XGetGeometry(display, window_.Id(), &root, &rootX, &rootY, &width, &height, &border,
                    &depth)) {
    return;
  }
  const bool over = x >= 0 && y >= 0 && x < static_cast<int>(width) && y < static_cast<int>(height);
  if (over && events_ != nullptr) events_->HandleMouseLeave();
}

void HostWindow::HandlePaint() {
  if (events_ != nullptr) events_->HandlePaint();
}

void HostWindow::HandleEvent(const XEvent& event) {
  if (drag_.Take(event)) return;
  switch (event.type) {
    case Expose:
      if (event.xexpose.count != 0) break;
      if (hasFrame_)
        pixels_.Push();
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
      window_.NoteConfigure(event.xconfigure);
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
    const Rect bounds = window_.Bounds();
    drag_.NotePress(event, bounds.left, bounds.top);
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
    if (next.type != MotionNotify || next.xmotion.window != window_.Id()) break;
    XNextEvent(display, &latest);
  }
  events_->HandleMouseMove(ShiftFromState(latest.xmotion.state), latest.xmotion.x,
                           latest.xmotion.y);
}

}  // namespace platform::x11
