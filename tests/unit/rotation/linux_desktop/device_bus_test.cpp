#include "rotation/linux_desktop/device_bus.h"

#include <string>

#include <gtest/gtest.h>

namespace {

using quillet::linux_desktop::ApplyNameHints;
using quillet::linux_desktop::ClassifyBus;
using quillet::linux_desktop::DeviceBus;
using quillet::linux_desktop::InputDevice;
using quillet::linux_desktop::IsVirtualPointerName;

TEST(DeviceBus, TheKernelsBusAndWhereTheDeviceLivesTellBuiltInFromExternal) {
  const std::string pci = "/sys/devices/pci0000:00/0000:00:15.0";
  EXPECT_EQ(ClassifyBus(0x18, pci + "/i2c-ELAN9008:00/0018:04F3:2A49.0001/input/input12", ""),
            DeviceBus::kBuiltIn);
  EXPECT_EQ(ClassifyBus(0x03, pci + "/usb1/1-7/1-7:1.0/input/input20", "fixed"),
            DeviceBus::kBuiltIn);
  EXPECT_EQ(ClassifyBus(0x03, pci + "/usb1/1-2/1-2:1.0/input/input21", "removable"),
            DeviceBus::kExternal);
  EXPECT_EQ(ClassifyBus(0x03, pci + "/usb1/1-2/1-2:1.0/input/input21", "unknown"),
            DeviceBus::kExternal);
  EXPECT_EQ(
      ClassifyBus(0x05, "/sys/devices/virtual/misc/uhid/0005:056A:0377.0004/input/input25", ""),
      DeviceBus::kExternal);
  // uinput may claim any bus.
  EXPECT_EQ(ClassifyBus(0x03, "/sys/devices/virtual/input/input30", "fixed"), DeviceBus::kVirtual);
  EXPECT_EQ(ClassifyBus(0x06, "", ""), DeviceBus::kVirtual);
  EXPECT_EQ(ClassifyBus(0, "", ""), DeviceBus::kUnknown);
}

TEST(DeviceBus, AnI2cHidNameMakesADeviceBuiltInWithItsIds) {
  InputDevice pen;
  pen.name = "ELAN9008:00 04F3:2A49 Stylus";
  ApplyNameHints(pen);
  EXPECT_EQ(pen.bus, DeviceBus::kBuiltIn);
  EXPECT_EQ(pen.vendorId, 0x04F3u);
  EXPECT_EQ(pen.productId, 0x2A49u);

  // What the driver told stays.
  InputDevice told = pen;
  told.bus = DeviceBus::kExternal;
  told.vendorId = 1;
  told.productId = 2;
  ApplyNameHints(told);
  EXPECT_EQ(told.bus, DeviceBus::kExternal);
  EXPECT_EQ(told.vendorId, 1u);

  for (const char* name : {"Wacom Intuos S Pen", "ELAN9008:00 04F3", "elan9008:00 04F3:2A49",
                           "ELAN9008:00 04F3:2A49X", "ELAN9008:0 004F3:2A49", ""}) {
    InputDevice other;
    other.name = name;
    ApplyNameHints(other);
    EXPECT_EQ(other.bus, DeviceBus::kUnknown) << name;
    EXPECT_EQ(other.vendorId, 0u) << name;
  }
}

TEST(DeviceBus, VirtualMachinesRemoteDesktopsAndXWaylandMakeUpPointers) {
  for (const char* name : {"QEMU QEMU USB Tablet", "VirtualBox USB Tablet",
                           "VMware VMware Virtual USB Mouse", "spice vdagent tablet", "xrdpMouse",
                           "xwayland-tablet stylus:14", "Virtual core XTEST pointer"}) {
    EXPECT_TRUE(IsVirtualPointerName(name)) << name;
  }
  for (const char* name : {"Wacom HID 5256 Pen", "ELAN9008:00 04F3:2A49", "my-xwayland-pen"}) {
    EXPECT_FALSE(IsVirtualPointerName(name)) << name;
  }
}

}  // namespace
