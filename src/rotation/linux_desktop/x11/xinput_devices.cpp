#include "rotation/linux_desktop/x11/xinput_devices.h"

#include <X11/Xatom.h>
#include <X11/extensions/XInput2.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/udev/udev_devices.h"
#include "rotation/linux_desktop/device_bus.h"
#include "rotation/linux_desktop/x11/wacom_pens.h"

namespace quillet::x11 {
namespace {

constexpr char kTransformProperty[] = "Coordinate Transformation Matrix";
// Two 32-bit integers, vendor then product, set by the evdev and libinput drivers.
constexpr char kProductIdProperty[] = "Device Product ID";
// The kernel's event node the driver reads, "/dev/input/event12".
constexpr char kNodeProperty[] = "Device Node";

linux_desktop::DeviceUse UseOf(int use) {
  using linux_desktop::DeviceUse;
  switch (use) {
    case XIMasterPointer:
      return DeviceUse::kMasterPointer;
    case XIMasterKeyboard:
      return DeviceUse::kMasterKeyboard;
    case XISlavePointer:
      return DeviceUse::kSlavePointer;
    case XISlaveKeyboard:
      return DeviceUse::kSlaveKeyboard;
    default:
      return DeviceUse::kFloating;
  }
}

void ReadClasses(const XIDeviceInfo& info, linux_desktop::InputDevice& device) {
  for (int i = 0; i < info.num_classes; ++i) {
    const XIAnyClassInfo* any = info.classes[i];
    if (any->type == XIValuatorClass) {
      const auto* valuator = reinterpret_cast<const XIValuatorClassInfo*>(any);
      device.valuators.push_back({valuator->number, valuator->mode == XIModeAbsolute});
    } else if (any->type == XITouchClass) {
      const auto* touch = reinterpret_cast<const XITouchClassInfo*>(any);
      device.touch = touch->mode == XIDirectTouch ? linux_desktop::TouchMode::kDirect
                                                  : linux_desktop::TouchMode::kDependent;
    }
  }
}

bool MayFollowScreen(const linux_desktop::InputDevice& device) {
  return device.use == linux_desktop::DeviceUse::kSlavePointer ||
         device.use == linux_desktop::DeviceUse::kFloating;
}

}  // namespace

XInputDevices::XInputDevices(Display* display, platform::xlib::ErrorTrap& trap)
    : display_(display), trap_(trap) {}

bool XInputDevices::HasProperty(int device, Atom property) {
  int count = 0;
  Atom* properties = XIListProperties(display_, device, &count);
  const bool has = properties != nullptr &&
                   std::find(properties, properties + count, property) != properties + count;
  if (properties != nullptr) XFree(properties);
  return has;
}

std::optional<XInputDevices::PropertyValue> XInputDevices::ReadProperty(int device, Atom property,
                                                                        long items) {
  if (property == None) return std::nullopt;
  Atom type = None;
  int format = 0;
  unsigned long count = 0;
  unsigned long left = 0;
  unsigned char* data = nullptr;
  const Status status = XIGetProperty(display_, device, property, 0, items, False, AnyPropertyType,
                                      &type, &format, &count, &left, &data);
  std::unique_ptr<unsigned char, decltype(&XFree)> owned(data, &XFree);
  if (status != Success || data == nullptr || type == None) return std::nullopt;
  PropertyValue value{type, format, {}, {}};
  if (format == 8) {
    value.text.assign(reinterpret_cast<const char*>(data), count);
  } else if (format == 32) {
    // Xlib hands 32-bit items over as longs.
    const auto* numbers = reinterpret_cast<const long*>(data);
    value.numbers.assign(numbers, numbers + count);
  }
  return value;
}

void XInputDevices::ReadOrigin(linux_desktop::InputDevice& device, WacomPens& pens) {
  if (const auto ids = ReadProperty(device.id, productId_, 2);
      ids && ids->type == XA_INTEGER && ids->numbers.size() == 2) {
    device.vendorId = static_cast<uint32_t>(ids->numbers[0]);
    device.productId = static_cast<uint32_t>(ids->numbers[1]);
  }
  const auto node = ReadProperty(device.id, node_, 256);
  const auto described = node && node->type == XA_STRING
                             ? platform::udev::DescribeInputNode(node->text.c_str())
                             : std::nullopt;
  if (described) {
    device.bus = linux_desktop::ClassifyBus(described->kernelBus, described->sysPath,
                                            described->usbRemovable);
    if (device.vendorId == 0 && device.productId == 0) {
      device.vendorId = described->vendorId;
      device.productId = described->productId;
    }
  }
  if (described && described->classified) {
    using linux_desktop::DeviceKind;
    device.kind = described->touchscreen                       ? DeviceKind::kTouchscreen
                  : described->tablet && !described->tabletPad ? DeviceKind::kPen
                                                               : DeviceKind::kOther;
    if (device.kind == DeviceKind::kPen)
      device.integration = pens.IntegrationOf(node->text.c_str());
    return;
  }
  // Nothing from the device manager: the name may still tell.
  linux_desktop::ApplyNameHints(device);
}

std::vector<linux_desktop::InputDevice> XInputDevices::List() {
  int opcode = 0;
  int event = 0;
  int error = 0;
  if (!XQueryExtension(display_, "XInputExtension", &opcode, &event, &error)) return {};
  // Without asking for 2.2 the server leaves touch classes out.
  int major = 2;
  int minor = 2;
  if (XIQueryVersion(display_, &major, &minor) != Success || major < 2 ||
      (major == 2 && minor < 2)) {
    return {};
  }
  transform_ = XInternAtom(display_, kTransformProperty, True);
  productId_ = XInternAtom(display_, kProductIdProperty, True);
  node_ = XInternAtom(display_, kNodeProperty, True);

  int count = 0;
  std::unique_ptr<XIDeviceInfo, decltype(&XIFreeDeviceInfo)> infos(
      XIQueryDevice(display_, XIAllDevices, &count), &XIFreeDeviceInfo);
  std::vector<linux_desktop::InputDevice> devices;
  WacomPens pens;
  for (int i = 0; infos && i < count; ++i) {
    const XIDeviceInfo& info = infos.get()[i];
    linux_desktop::InputDevice device;
    device.id = info.deviceid;
    device.name = info.name != nullptr ? info.name : "";
    device.use = UseOf(info.use);
    ReadClasses(info, device);
    device.hasTransform = transform_ != None && HasProperty(info.deviceid, transform_);
    if (device.hasTransform && MayFollowScreen(device)) ReadOrigin(device, pens);
    devices.push_back(std::move(device));
  }
  // A device that went away meanwhile is no reason to fail a later step.
  trap_.Sync(display_);
  return devices;
}

bool XInputDevices::SetTransform(int32_t device, const linux_desktop::TransformMatrix& matrix) {
  if (transform_ == None) return false;
  const Atom floatType = XInternAtom(display_, "FLOAT", False);
  // Format 32 items travel as 32-bit values, here IEEE floats.
  static_assert(sizeof(float) == 4);
  trap_.Sync(display_);
  XIChangeProperty(display_, device, transform_, floatType, 32, PropModeReplace,
                   reinterpret_cast<unsigned char*>(const_cast<float*>(matrix.data())),
                   static_cast<int>(matrix.size()));
  return trap_.Sync(display_);
}

}  // namespace quillet::x11
