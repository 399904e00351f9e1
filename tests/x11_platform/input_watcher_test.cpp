// The program's watching of input devices and outputs on a real Xvfb
// (DISPLAY is set by with_xvfb.sh). Another client adds and removes a master
// device through XInput, which brings and takes its slave devices as a pen
// that connects or goes would.
// GoogleTest comes first: Xlib defines None as a macro.
#include <gtest/gtest.h>

#include <X11/extensions/XInput2.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "platform/x11/desktop_watcher.h"
#include "platform/x11/event_loop.h"
#include "platform/x11/input_watcher.h"
#include "platform/x11/x11_connection.h"

namespace {

constexpr char kMaster[] = "zentara-test";

class DeviceWatching : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(connection.Valid()) << "no X display";
    ASSERT_NE(tool, nullptr);
    inputs.onDevicesAdded = [this] { ++added; };
    desktop.onOutputsChange = [this] { ++outputChanges; };
    // The selections are in place before the other client acts.
    XSync(connection.Get(), False);
  }

  void AddMaster() {
    XIAddMasterInfo add{XIAddMaster, const_cast<char*>(kMaster), True, True};
    XIChangeHierarchy(tool.get(), reinterpret_cast<XIAnyHierarchyChangeInfo*>(&add), 1);
    XSync(tool.get(), False);
  }
  void RemoveMaster() {
    int count = 0;
    XIDeviceInfo* devices = XIQueryDevice(tool.get(), XIAllMasterDevices, &count);
    const std::string pointer = std::string(kMaster) + " pointer";
    for (int i = 0; i < count; ++i) {
      if (devices[i].use != XIMasterPointer || pointer != devices[i].name) continue;
      XIRemoveMasterInfo remove{XIRemoveMaster, devices[i].deviceid, XIFloating, 0, 0};
      XIChangeHierarchy(tool.get(), reinterpret_cast<XIAnyHierarchyChangeInfo*>(&remove), 1);
    }
    XIFreeDeviceInfo(devices);
    XSync(tool.get(), False);
  }
  // The timer only ends a wait for an event that never comes.
  void RunUntil(const std::function<bool()>& done) {
    bool givenUp = false;
    const auto timer = loop.StartTimer(10000, [&] { givenUp = true; });
    loop.RunUntil([&] { return givenUp || done(); });
    loop.StopTimer(timer);
    // Whatever else the server sent by then counts too.
    XSync(connection.Get(), False);
    loop.RunUntil([&] { return XPending(connection.Get()) == 0; });
  }

  platform::x11::X11Connection connection;
  platform::x11::EventLoop loop{connection};
  platform::x11::DesktopWatcher desktop{connection, loop};
  platform::x11::InputWatcher inputs{connection, loop};
  std::unique_ptr<Display, decltype(&XCloseDisplay)> tool{XOpenDisplay(nullptr), &XCloseDisplay};
  int added = 0;
  int outputChanges = 0;
};

TEST_F(DeviceWatching, DevicesThatComeAreToldAndDevicesThatGoAreNot) {
  AddMaster();
  RunUntil([&] { return added > 0; });
  const int perAddition = added;
  ASSERT_GT(perAddition, 0);
  RemoveMaster();
  AddMaster();
  RunUntil([&] { return added > perAddition; });
  EXPECT_EQ(added, 2 * perAddition);
  RemoveMaster();
  EXPECT_EQ(outputChanges, 0);
}

TEST_F(DeviceWatching, EveryChangeOfTheOutputsIsTold) {
  ASSERT_EQ(std::system("xrandr --output screen --off --fb 800x600"), 0);
  RunUntil([&] { return outputChanges > 0; });
  const int changes = outputChanges;
  EXPECT_GT(changes, 0);
  ASSERT_EQ(std::system("xrandr --output screen --auto"), 0);
  RunUntil([&] { return outputChanges > changes; });
  EXPECT_GT(outputChanges, changes);
  EXPECT_EQ(added, 0);
}

}  // namespace
