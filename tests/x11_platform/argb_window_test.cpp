// The program's window on a real Xvfb with a window manager that places it elsewhere than
// asked: the test's second connection redirects the root's children, so each move the
// program asks for reaches it as a ConfigureRequest, which it answers as it likes.
// GoogleTest comes first: Xlib defines None as a macro.
#include <gtest/gtest.h>

#include <memory>

#include "platform/x11/argb_window.h"
#include "platform/x11/x11_connection.h"

namespace {

using platform::Point;
using platform::Rect;

class ConstrainingWindowManager : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(connection.Valid() && manager) << "no X display";
    XSync(connection.Get(), False);  // the window exists for the manager
    XSelectInput(manager.get(), DefaultRootWindow(manager.get()), SubstructureRedirectMask);
    XSync(manager.get(), False);
  }
  // Every report the server has sent the program so far, in order.
  void TakeReports() {
    XSync(connection.Get(), False);
    XEvent event;
    while (XCheckTypedWindowEvent(connection.Get(), window.Id(), ConfigureNotify, &event))
      window.NoteConfigure(event.xconfigure);
  }
  // The place of the program's latest move, as the manager was asked for it.
  Point AskedPlace() {
    XSync(connection.Get(), False);
    XSync(manager.get(), False);
    XEvent event;
    Point asked{-1, -1};
    while (XCheckTypedEvent(manager.get(), ConfigureRequest, &event)) {
      if (event.xconfigurerequest.window == window.Id())
        asked = {event.xconfigurerequest.x, event.xconfigurerequest.y};
    }
    return asked;
  }
  void MoveAsManager(int x, int y) {
    XMoveWindow(manager.get(), window.Id(), x, y);
    XSync(manager.get(), False);
  }
  // As a reparenting manager tells where it put the frame, in root coordinates.
  void ReportAsManager(int x, int y) {
    XEvent event{};
    event.xconfigure.type = ConfigureNotify;
    event.xconfigure.event = event.xconfigure.window = window.Id();
    event.xconfigure.x = x;
    event.xconfigure.y = y;
    event.xconfigure.width = 100;
    event.xconfigure.height = 50;
    XSendEvent(manager.get(), window.Id(), False, StructureNotifyMask, &event);
    XSync(manager.get(), False);
  }
  static Rect At(int32_t left, int32_t top) { return Rect::OfSize(100, 50).Translated(left, top); }
  static platform::x11::ArgbWindowOptions Options() {
    platform::x11::ArgbWindowOptions options;
    options.bounds = At(10, 20);
    return options;
  }

  platform::x11::X11Connection connection;
  std::unique_ptr<Display, decltype(&XCloseDisplay)> manager{XOpenDisplay(nullptr), XCloseDisplay};
  platform::x11::ArgbWindow window{connection, Options()};
};

TEST_F(ConstrainingWindowManager, TheBoundsFollowWhereTheManagerPutsTheWindow) {
  // A report made before the move asked for is older and leaves the asked place standing.
  MoveAsManager(5, 5);
  window.Move(300, 200);
  TakeReports();
  EXPECT_EQ(window.Bounds(), At(300, 200));
  ASSERT_EQ(AskedPlace(), (Point{300, 200}));
  MoveAsManager(280, 190);
  TakeReports();
  EXPECT_EQ(window.Bounds(), At(280, 190));

  window.Move(400, 300);
  ASSERT_EQ(AskedPlace(), (Point{400, 300}));
  ReportAsManager(380, 290);
  TakeReports();
  EXPECT_EQ(window.Bounds(), At(380, 290));

  // The manager moving it on its own is followed too; the program's own place stays.
  MoveAsManager(50, 60);
  TakeReports();
  EXPECT_EQ(window.Bounds(), At(50, 60));
  EXPECT_EQ(window.OwnPlace(), (Point{400, 300}));
  EXPECT_EQ(connection.SyncAndCountErrors(), 0);  // the manager's requests included
}

}  // namespace
