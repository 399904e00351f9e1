#include "rotation/x11/xinput_devices.h"

#include <X11/Xatom.h>
#include <X11/extensions/XInput2.h>

#include <algorithm>
#include <memory>

namespace quillet::x11 {
namespace {

constexpr char kTransformProperty[] = "Coordinate Transformation Matrix";

xdesktop::DeviceUse UseOf(int use) {
  using xdesktop::DeviceUse;
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

void ReadClasses(const XIDeviceInfo& info, xdesktop::InputDevice& device) {
  for (int i = 0; i < info.num_classes; ++i) {
    const XIAnyClassInfo* any = info.classes[i];
    if (any->type == XIValuatorClass) {
      const auto* valuator = reinterpret_cast<const XIValuatorClassInfo*>(any);
      device.valuators.push_back({valuator->number, valuator->mode == XIModeAbsolute});
    } else if (any->type == XITouchClass) {
      const auto* touch = reinterpret_cast<const XITouchClassInfo*>(any);
      device.touch = touch->mode == XIDirectTouch ? xdesktop::TouchMode::kDirect
                                                  : xdesktop::TouchMode::kDependent;
    }
  }
}

}  // namespace

XInputDevices::XInputDevices(Display* display, XErrorTrap& trap) : display_(display), trap_(trap) {}

bool XInputDevices::HasProperty(int device, Atom property) {
  int count = 0;
  Atom* properties = XIListProperties(display_, device, &count);
  const bool has = properties != nullptr &&
                   std::find(properties, properties + count, property) != properties + count;
  if (properties != nullptr) XFree(properties);
  return has;
}

std::vector<xdesktop::InputDevice> XInputDevices::List() {
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

  int count = 0;
  std::unique_ptr<XIDeviceInfo, decltype(&XIFreeDeviceInfo)> infos(
      XIQueryDevice(display_, XIAllDevices, &count), &XIFreeDeviceInfo);
  std::vector<xdesktop::InputDevice> devices;
  for (int i = 0; infos && i < count; ++i) {
    const XIDeviceInfo& info = infos.get()[i];
    xdesktop::InputDevice device;
    device.id = info.deviceid;
    device.name = info.name != nullptr ? info.name : "";
    device.use = UseOf(info.use);
    ReadClasses(info, device);
    device.hasTransform = transform_ != None && HasProperty(info.deviceid, transform_);
    devices.push_back(std::move(device));
  }
  // A device that went away meanwhile is no reason to fail a later step.
  trap_.Sync(display_);
  return devices;
}

bool XInputDevices::SetTransform(int32_t device, const xdesktop::TransformMatrix& matrix) {
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
