#include "platform/x11/x11_windowing.h"

#include "platform/posix/path_resolver.h"
#include "platform/services.h"
#include "platform/system.h"
#include "platform/x11/desktop_watcher.h"
#include "platform/x11/event_loop.h"
#include "platform/x11/host_window.h"
#include "platform/x11/input_watcher.h"
#include "platform/x11/primary_screen.h"
#include "platform/x11/window_manager_kind.h"
#include "platform/x11/x11_connection.h"

namespace platform::x11 {

X11Windowing::X11Windowing(X11Connection& connection, EventLoop& loop, DesktopWatcher& desktop)
    : connection_(connection),
      loop_(loop),
      desktop_(desktop),
      inputs_(std::make_unique<InputWatcher>(connection, loop)) {
  desktop_.onDpiChange = [this](int32_t dpi) {
    TellEveryWindow([dpi](HostWindow& host) { host.ChangeDpi(dpi); });
  };
  desktop_.onCompositorChange = [this](bool composited) {
    TellEveryWindow([composited](HostWindow& host) { host.ChangeCompositing(composited); });
  };
  desktop_.onScreenChange = [this](const Rect& before, const Rect& now) {
    // Places count from the primary monitor's corner: where that corner moved,
    // every window moves with it and so keeps its place, and its owner's
    // answer to the change starts from a place that is still true.
    // A window manager that pushed a window itself to keep it on the changed
    // screen (Mutter keeps its relative height) did not choose its place:
    // the answer starts from the place the program chose.
    const int32_t right = now.left - before.left, down = now.top - before.top;
    TellEveryWindow([right, down](HostWindow& host) {
      const Point own = host.Window().OwnPlace();
      host.Window().Move(own.x + right, own.y + down);
      host.ChangeScreen();
    });
  };
  desktop_.onActiveWindowChange = [this] {
    TellEveryWindow([](HostWindow& host) { host.Window().StayOnTop(); });
  };
  // A device that came, or outputs that changed, may leave touch and pens
  // mapped where the picture no longer is.
  const auto changeInputs = [this] {
    TellEveryWindow([](HostWindow& host) { host.ChangeInputs(); });
  };
  desktop_.onOutputsChange = changeInputs;
  inputs_->onDevicesAdded = changeInputs;
  inputs_->onTouchLifted = [this] { TellEveryWindow([](HostWindow& host) { host.LiftTouch(); }); };
}

X11Windowing::~X11Windowing() {
  desktop_.onDpiChange = nullptr;
  desktop_.onScreenChange = nullptr;
  desktop_.onCompositorChange = nullptr;
  desktop_.onOutputsChange = nullptr;
  desktop_.onActiveWindowChange = nullptr;
  inputs_->onTouchLifted = nullptr;
}

void X11Windowing::TellEveryWindow(const std::function<void(HostWindow& host)>& tell) {
  std::vector<WindowHandle> handles;
  for (const auto& [handle, entry] : windows_) handles.push_back(handle);
  for (WindowHandle handle : handles) {
    if (Entry* entry = Find(handle)) tell(*entry->host);
  }
}

X11Windowing::Entry* X11Windowing::Find(WindowHandle window) {
  const auto found = windows_.find(window);
  return found != windows_.end() ? &found->second : nullptr;
}

void X11Windowing::SetIcon(std::vector<unsigned long> icon) {
  icon_ = std::move(icon);
  for (auto& [handle, entry] : windows_) entry.host->Window().SetIcon(icon_);
}

WindowHandle X11Windowing::CreateWindow(const WindowParams& params, WindowEvents* events) {
  ArgbWindowOptions options;
  options.title = posix::ToUtf8(params.title);
  options.instanceName = "zentara";
  const Rect screen = PrimaryScreenArea(connection_);
  options.bounds =
      Rect::OfSize(params.clientWidth, params.clientHeight)
          .Translated(int64_t{screen.left} + params.left, int64_t{screen.top} + params.top);
  options.frameless = params.frameless;
  options.onTop = params.onTop;
  options.inTaskbar = params.inTaskBar;
  // A frameless window outside the task bar is a tool at hand, like the panel:
  // it stays with the user on every workspace.
  options.utility = params.frameless && !params.inTaskBar;
  options.everyWorkspace = options.utility;
  // Out of the window manager's hands, the tool stays at its place, above the
  // others, on every workspace: from the start where the window manager is
  // known to tile or centre it, else once it shows it does not keep it there.
  options.unmanaged = options.utility && !WindowManagerKeepsPlaces(connection_);
  auto host = std::make_unique<HostWindow>(connection_, loop_, options, events);
  if (!host->Window().Valid()) return 0;
  host->onLeftWindowManager = [] {
    GetSystem().DebugOutput(
        L"the window manager does not keep the panel at its place: the panel leaves its hands");
  };
  host->onPressedOutOfHands = [this, handle = host->Window().Id()] {
    pressedOutOfHands_ = handle;
    activeAtPress_ = desktop_.ActiveWindow();
  };
  if (!icon_.empty()) host->Window().SetIcon(icon_);
  host->Shape().SetClickThrough(false);
  host->ChangeCompositing(desktop_.Composited());
  const WindowHandle handle = host->Window().Id();
  windows_[handle] = {std::move(host), params.className, params.title};
  return handle;
}

void X11Windowing::DestroyWindow(WindowHandle window) {
  windows_.erase(window);
}

void X11Windowing::ShowWindow(WindowHandle window) {
  if (Entry* entry = Find(window)) entry->host->Show();
}

// A window that left the window manager's hands keeps its handle, not its X window.
void X11Windowing::Invalidate(WindowHandle window) {
  if (Entry* entry = Find(window)) loop_.RequestPaint(entry->host->Window().Id());
}

void X11Windowing::MoveWindow(WindowHandle window, int32_t left, int32_t top) {
  Entry* entry = Find(window);
  if (entry == nullptr) return;
  const Rect screen = PrimaryScreenArea(connection_);
  entry->host->Window().Move(screen.left + left, screen.top + top);
}

void X11Windowing::SetClientSize(WindowHandle window, int32_t width, int32_t height) {
  if (Entry* entry = Find(window)) entry->host->Window().Resize(width, height);
}

Rect X11Windowing::GetWindowRect(WindowHandle window) {
  Entry* entry = Find(window);
  if (entry == nullptr) return {};
  const Rect screen = PrimaryScreenArea(connection_);
  const Rect bounds = entry->host->Window().Bounds();
  return bounds.Translated(-int64_t{screen.left}, -int64_t{screen.top});
}

int32_t X11Windowing::ScreenWidth() {
  return PrimaryScreenArea(connection_).Width();
}

int32_t X11Windowing::ScreenHeight() {
  return PrimaryScreenArea(connection_).Height();
}

int32_t X11Windowing::DisplayDpi(WindowHandle /*window*/) {
  return desktop_.Dpi();
}

// No window manager activates a window out of its hands: a press on it makes
// it the active one until the window manager names another than the one it
// named then (some write None before naming a window, the same one too).
WindowHandle X11Windowing::ActiveWindow() {
  const WindowHandle active = desktop_.ActiveWindow();
  return pressedOutOfHands_ != 0 && active == activeAtPress_ ? pressedOutOfHands_ : active;
}

WindowHandle X11Windowing::FindWindow(std::wstring_view className, std::wstring_view title) {
  for (const auto& [handle, entry] : windows_) {
    if (entry.className == className && entry.title == title) return handle;
  }
  return 0;
}

// The drag remembers the press itself from the button event.
void X11Windowing::BeginWindowDrag(WindowHandle window) {
  if (Entry* entry = Find(window)) entry->host->BeginDrag();
}

bool X11Windowing::SetLayered(WindowHandle window, bool layered, bool clickThrough) {
  Entry* entry = Find(window);
  if (entry == nullptr || (entry->layered == layered && entry->clickThrough == clickThrough))
    return false;
  entry->layered = layered;
  entry->clickThrough = clickThrough;
  entry->host->Shape().SetClickThrough(clickThrough);
  return true;
}

void X11Windowing::RedrawAll(WindowHandle window) {
  Invalidate(window);
}

X11Windowing::Entry* X11Windowing::PushTarget(WindowHandle window, const LayeredSource& source) {
  Entry* entry = Find(window);
  const PixelBuffer& pixels = source.pixels;
  if (entry == nullptr || pixels.bits == nullptr || pixels.width <= 0 || pixels.height <= 0 ||
      pixels.bytesPerPixel * 8 != source.bitsPerPixel) {
    return nullptr;
  }
  return entry;
}

void X11Windowing::PushWithAlpha(WindowHandle window, const LayeredSource& source,
                                 uint8_t opacity) {
  Entry* entry = PushTarget(window, source);
  if (entry == nullptr) return;
  LayeredFrame frame;
  frame.pixels = source.pixels;
  // A 32-bit source's fourth byte is its alpha.
  frame.perPixelAlpha = source.bitsPerPixel == 32;
  frame.opacity = opacity;
  entry->host->ShowFrame(frame);
}

void X11Windowing::PushColorKeyed(WindowHandle window, const LayeredSource& source,
                                  uint32_t colorKey) {
  Entry* entry = PushTarget(window, source);
  if (entry == nullptr) return;
  LayeredFrame frame;
  frame.pixels = source.pixels;
  frame.perPixelAlpha = false;
  frame.opacity = 255;
  frame.useColorKey = true;
  frame.colorKey = colorKey;
  entry->host->ShowFrame(frame);
}

void X11Windowing::RunMessageLoop() {
  loop_.Run();
}

void X11Windowing::QuitMessageLoop() {
  loop_.Quit();
}

}  // namespace platform::x11
