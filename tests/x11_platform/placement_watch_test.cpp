// Whether the window manager keeps the panel at its place, told from what it does, on a real
// Xvfb: the test's second connection redirects the root's children and answers the program's
// map and configure requests as the window managers met in use do.
// GoogleTest comes first: Xlib defines None as a macro.
#include <gtest/gtest.h>

#include <X11/Xutil.h>
#include <X11/extensions/shape.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "platform/x11/argb_window.h"
#include "platform/x11/event_loop.h"
#include "platform/x11/host_window.h"
#include "platform/x11/placement_watch.h"
#include "platform/x11/x11_connection.h"

namespace {

using platform::Rect;
using platform::x11::ArgbWindow;
using platform::x11::ArgbWindowOptions;

constexpr int kLeft = 300, kTop = 20, kWidth = 100, kHeight = 50;

// How a window manager answers a request of the program's window `client`.
using Answer = std::function<void(Display* manager, const XEvent& request)>;

void Honour(Display* manager, const XEvent& request) {
  if (request.type == MapRequest) {
    XMapWindow(manager, request.xmaprequest.window);
    return;
  }
  const XConfigureRequestEvent& asked = request.xconfigurerequest;
  XWindowChanges changes{asked.x, asked.y, asked.width, asked.height, 0, 0, 0};
  XConfigureWindow(manager, asked.window, asked.value_mask & (CWX | CWY | CWWidth | CWHeight),
                   &changes);
}

// As a reparenting window manager tells a client where its frame put it.
void Report(Display* manager, ::Window client, int x, int y) {
  XEvent event{};
  event.xconfigure.type = ConfigureNotify;
  event.xconfigure.event = event.xconfigure.window = client;
  event.xconfigure.x = x;
  event.xconfigure.y = y;
  event.xconfigure.width = kWidth;
  event.xconfigure.height = kHeight;
  XSendEvent(manager, client, False, StructureNotifyMask, &event);
}

// The window in a frame `above` pixels higher than the window and as much taller; frame and window
// move together, as the program asked.
Answer Framed(int above) {
  auto frame = std::make_shared<::Window>(0);
  return [above, frame](Display* manager, const XEvent& request) {
    const ::Window root = DefaultRootWindow(manager);
    if (request.type == MapRequest) {
      const ::Window client = request.xmaprequest.window;
      *frame =
          XCreateSimpleWindow(manager, root, kLeft, kTop - above, kWidth, kHeight + above, 0, 0, 0);
      XReparentWindow(manager, client, *frame, 0, above);
      XMapWindow(manager, client);
      XMapWindow(manager, *frame);
      return;
    }
    const XConfigureRequestEvent& asked = request.xconfigurerequest;
    XMoveWindow(manager, *frame, asked.x, asked.y - above);
    Report(manager, asked.window, asked.x, asked.y);
  };
}

// Maps the window, then moves it to the corner while telling it it is where it asked (fluxbox).
void CornerWhileClaimingThePlace(Display* manager, const XEvent& request) {
  const ::Window client =
      request.type == MapRequest ? request.xmaprequest.window : request.xconfigurerequest.window;
  if (request.type == MapRequest) XMapWindow(manager, client);
  XMoveWindow(manager, client, 0, 0);
  Report(manager, client, kLeft, kTop);
}

class PlayedWindowManager : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(connection.Valid() && manager) << "no X display";
    XSelectInput(manager.get(), DefaultRootWindow(manager.get()), SubstructureRedirectMask);
    XSync(manager.get(), False);
    loop.WatchDescriptor(ConnectionNumber(manager.get()), [this] { Serve(); });
  }
  void Serve() {
    while (XPending(manager.get()) > 0) {
      XEvent request;
      XNextEvent(manager.get(), &request);
      if (request.type == MapRequest || request.type == ConfigureRequest)
        answer(manager.get(), request);
    }
    XFlush(manager.get());
  }
  // Runs the program's loop until `done`; the timer only ends a wait that never ends.
  bool RunUntil(const std::function<bool()>& done) {
    bool givenUp = false;
    const auto timer = loop.StartTimer(5000, [&] { givenUp = true; });
    loop.RunUntil([&] { return givenUp || done(); });
    loop.StopTimer(timer);
    return !givenUp;
  }
  static ArgbWindowOptions PanelOptions() {
    ArgbWindowOptions options;
    options.bounds = Rect::OfSize(kWidth, kHeight).Translated(kLeft, kTop);
    options.utility = true;
    return options;
  }
  XWindowAttributes Attributes(::Window window) {
    XWindowAttributes attributes{};
    XGetWindowAttributes(manager.get(), window, &attributes);
    return attributes;
  }

  platform::x11::X11Connection connection;
  platform::x11::EventLoop loop{connection};
  std::unique_ptr<Display, decltype(&XCloseDisplay)> manager{XOpenDisplay(nullptr), XCloseDisplay};
  Answer answer = Honour;
};

// The watch on its own window, told of every event of it.
class Watched : public platform::x11::EventSink {
 public:
  Watched(platform::x11::X11Connection& connection, platform::x11::EventLoop& loop)
      : loop_(loop),
        window(connection, Options()),
        watch(connection, loop, window, [this] { ++refusals; }) {
    window.onPlaceAsked = [this](unsigned long serial) { watch.Asked(serial); };
    loop_.Watch(window.Id(), this);
  }
  ~Watched() override { loop_.Unwatch(window.Id()); }
  void HandleEvent(const XEvent& event) override {
    watch.Take(event);
    if (event.type == ConfigureNotify) window.NoteConfigure(event.xconfigure);
  }
  static ArgbWindowOptions Options() {
    ArgbWindowOptions options;
    options.bounds = Rect::OfSize(kWidth, kHeight).Translated(kLeft, kTop);
    return options;
  }

  platform::x11::EventLoop& loop_;
  ArgbWindow window;
  platform::x11::PlacementWatch watch;
  int refusals = 0;
};

struct Manner {
  const char* name;
  Answer answer;
  bool keepsThePlace;
};

TEST_F(PlayedWindowManager, OnlyAWindowManagerThatKeepsThePlaceKeepsTheWindow) {
  const Answer resize = [](Display* display, const XEvent& request) {
    Honour(display, request);
    XResizeWindow(display, request.xmaprequest.window, kWidth + 10, kHeight);
  };
  const Answer ignore = [](Display*, const XEvent&) {};
  const std::vector<Manner> manners = {
      {"maps it where it asks", Honour, true},
      {"frames it with no border", Framed(0), true},
      {"maps it in the corner, claiming the place", CornerWhileClaimingThePlace, false},
      {"frames it with a title bar", Framed(20), false},
      {"resizes it", resize, false},
      {"never maps it", ignore, false},
  };
  for (const Manner& manner : manners) {
    SCOPED_TRACE(manner.name);
    answer = manner.answer;
    Watched watched(connection, loop);
    watched.window.Show();
    ASSERT_TRUE(watched.watch.Judging());
    ASSERT_TRUE(RunUntil([&] { return !watched.watch.Judging(); }));
    EXPECT_EQ(watched.refusals, manner.keepsThePlace ? 0 : 1);
  }
}

TEST_F(PlayedWindowManager, EachMoveTheProgramAsksForIsJudgedToo) {
  Watched watched(connection, loop);
  watched.window.Show();
  ASSERT_TRUE(RunUntil([&] { return !watched.watch.Judging(); }));
  watched.window.Move(kLeft - 40, kTop + 30);  // honoured
  ASSERT_TRUE(RunUntil([&] { return !watched.watch.Judging(); }));
  EXPECT_EQ(watched.refusals, 0);
  answer = [](Display*, const XEvent&) {};  // a move it never answers
  watched.window.Move(kLeft, kTop);
  ASSERT_TRUE(watched.watch.Judging());
  ASSERT_TRUE(RunUntil([&] { return !watched.watch.Judging(); }));
  EXPECT_EQ(watched.refusals, 1);
}

// A test pattern: opaque blue on the left half, fully transparent on the right.
std::vector<uint8_t> HalfBlue() {
  std::vector<uint8_t> pixels(static_cast<size_t>(kWidth) * kHeight * 4, 0);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth / 2; ++x) {
      uint8_t* p = &pixels[(static_cast<size_t>(y) * kWidth + x) * 4];
      p[0] = 255;
      p[3] = 255;
    }
  }
  return pixels;
}

TEST_F(PlayedWindowManager, FramesGivenBeforeTheWindowShowsShapeItAsTheLastOneDoes) {
  ArgbWindowOptions options = PanelOptions();
  options.unmanaged = true;
  platform::x11::HostWindow host(connection, loop, options, nullptr);
  std::vector<uint8_t> opaque(static_cast<size_t>(kWidth) * kHeight * 4, 255);
  std::vector<uint8_t> halfBlue = HalfBlue();
  platform::x11::LayeredFrame frame;
  for (std::vector<uint8_t>* pixels : {&opaque, &halfBlue}) {
    frame.pixels = {pixels->data(), kWidth, kHeight, kWidth * 4, 4};
    host.ShowFrame(frame);
  }
  host.Show();
  ASSERT_TRUE(RunUntil([&] { return Attributes(host.Window().Id()).map_state == IsViewable; }));
  int shapes = 0, ordering = 0;
  XRectangle* shape =
      XShapeGetRectangles(manager.get(), host.Window().Id(), ShapeBounding, &shapes, &ordering);
  ASSERT_GT(shapes, 0);
  for (int i = 0; i < shapes; ++i) EXPECT_LE(shape[i].x + shape[i].width, kWidth / 2);
  XFree(shape);
  EXPECT_EQ(connection.SyncAndCountErrors(), 0);
}

TEST_F(PlayedWindowManager, AWindowTheManagerMovesAwayIsMadeAnewOutOfItsHands) {
  answer = CornerWhileClaimingThePlace;
  platform::x11::HostWindow host(connection, loop, PanelOptions(), nullptr);
  int left = 0;
  host.onLeftWindowManager = [&] { ++left; };
  std::vector<uint8_t> pixels = HalfBlue();
  platform::x11::LayeredFrame frame;
  frame.pixels = {pixels.data(), kWidth, kHeight, kWidth * 4, 4};
  host.ShowFrame(frame);
  const ::Window held = host.Window().Id();
  host.Window().Show();
  ASSERT_TRUE(RunUntil(
      [&] { return left == 1 && Attributes(host.Window().Id()).map_state == IsViewable; }));
  const ::Window made = host.Window().Id();
  ASSERT_NE(made, held);
  const XWindowAttributes attributes = Attributes(made);
  EXPECT_TRUE(attributes.override_redirect);
  EXPECT_EQ(
      Rect::OfSize(attributes.width, attributes.height).Translated(attributes.x, attributes.y),
      Rect::OfSize(kWidth, kHeight).Translated(kLeft, kTop));
  EXPECT_TRUE(host.Window().Options().unmanaged);
  // The window the manager held is gone; the new one shows the frame and its shape.
  ::Window root = 0, parent = 0, *children = nullptr;
  unsigned count = 0;
  XQueryTree(manager.get(), DefaultRootWindow(manager.get()), &root, &parent, &children, &count);
  const std::vector<::Window> tops(children, children + count);
  XFree(children);
  EXPECT_EQ(std::count(tops.begin(), tops.end(), held), 0);
  ASSERT_TRUE(RunUntil([&] {
    XImage* image = XGetImage(manager.get(), made, 0, 0, kWidth, kHeight, AllPlanes, ZPixmap);
    const bool blue = image != nullptr && XGetPixel(image, 10, 10) == 0xFF0000FFul;
    if (image != nullptr) XDestroyImage(image);
    return blue;
  }));
  int shapes = 0, ordering = 0;
  XRectangle* shape = XShapeGetRectangles(manager.get(), made, ShapeBounding, &shapes, &ordering);
  ASSERT_GT(shapes, 0);
  for (int i = 0; i < shapes; ++i) EXPECT_LE(shape[i].x + shape[i].width, kWidth / 2);
  XFree(shape);
  // Out of the manager's hands, a move goes where it is asked.
  host.Window().Move(kLeft - 50, kTop + 40);
  ASSERT_TRUE(RunUntil([&] { return Attributes(made).x == kLeft - 50; }));
  EXPECT_EQ(left, 1);
  EXPECT_EQ(connection.SyncAndCountErrors(), 0);
}

}  // namespace
