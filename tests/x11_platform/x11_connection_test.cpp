// The program's X connection on a real Xvfb: a refused request is counted once, and a trap
// set up inside it (as the rotation library does during a call) takes its own errors.
// GoogleTest comes first: Xlib defines None as a macro.
#include <gtest/gtest.h>

#include "platform/x11/x11_connection.h"
#include "platform/xlib/error_trap.h"

namespace {

// No client owns this window id, so mapping it is refused with BadWindow.
void MapAWindowThatDoesNotExist(Display* display) {
  XMapWindow(display, 0x1);
}

TEST(X11Connection, RefusedRequestsAreCountedOnceAndAnInnerTrapKeepsItsOwn) {
  platform::x11::X11Connection connection;
  ASSERT_TRUE(connection.Valid()) << "no X display";
  Display* display = connection.Get();
  EXPECT_EQ(connection.SyncAndCountErrors(), 0);
  MapAWindowThatDoesNotExist(display);
  MapAWindowThatDoesNotExist(display);
  EXPECT_EQ(connection.SyncAndCountErrors(), 2);
  EXPECT_EQ(connection.SyncAndCountErrors(), 0);
  {
    platform::xlib::ErrorTrap inner;
    MapAWindowThatDoesNotExist(display);
    EXPECT_FALSE(inner.Sync(display));
    EXPECT_TRUE(inner.Sync(display));
  }
  EXPECT_EQ(connection.SyncAndCountErrors(), 0);
  MapAWindowThatDoesNotExist(display);
  EXPECT_EQ(connection.SyncAndCountErrors(), 1);
}

}  // namespace
