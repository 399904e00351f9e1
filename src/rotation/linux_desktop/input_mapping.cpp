#include "rotation/linux_desktop/input_mapping.h"

#include <algorithm>
#include <array>

#include "rotation/linux_desktop/device_bus.h"
#include "rotation/linux_desktop/quarter_turns.h"

namespace quillet::linux_desktop {
namespace {

bool HasAbsoluteAxis(const InputDevice& device, int32_t number) {
  return std::any_of(device.valuators.begin(), device.valuators.end(),
                     [number](const Valuator& v) { return v.number == number && v.absolute; });
}

using Matrix = std::array<double, 9>;

Matrix Multiply(const Matrix& a, const Matrix& b) {
  Matrix product{};
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column) {
      for (int k = 0; k < 3; ++k) product[row * 3 + column] += a[row * 3 + k] * b[k * 3 + column];
    }
  }
  return product;
}

// Where a panel position (u across, v down) lies in the picture the panel
// shows, both 0 to 1. Turned counter-clockwise by a quarter (code 2), the
// picture's top runs down the panel's left edge: its top-left corner sits at
// the panel's bottom-left and its top-right corner at the panel's top-left.
Matrix PictureOfPanel(int32_t code) {
  switch (NormaliseCode(code)) {
    case 2:
      return {0, -1, 1, 1, 0, 0, 0, 0, 1};  // x = 1 - v, y = u
    case 3:
      return {-1, 0, 1, 0, -1, 1, 0, 0, 1};  // x = 1 - u, y = 1 - v
    case 4:
      return {0, 1, 0, -1, 0, 1, 0, 0, 1};  // x = v, y = 1 - u
    default:
      return {1, 0, 0, 0, 1, 0, 0, 0, 1};
  }
}

bool SharesATouchscreensIds(const InputDevice& device, const std::vector<InputDevice>& all) {
  return device.vendorId != 0 &&
         std::any_of(all.begin(), all.end(), [&device, &all](const InputDevice& other) {
           return &other != &device && other.vendorId == device.vendorId &&
                  other.productId == device.productId &&
                  (other.kind == DeviceKind::kTouchscreen ||
                   (other.kind == DeviceKind::kUnknown && other.touch == TouchMode::kDirect)) &&
                  FollowsScreen(other, all);
         });
}

// As the device manager and the tablet database tell: touchscreens follow,
// and the pens of a display (the tablet's own, or one that shares a
// touchscreen's ids); a pen the database does not know follows where it is
// built in. Mice (the absolute pointers of virtual machines among them),
// touchpads, keyboards and the buttons of tablets never do.
bool FollowsAsTold(const InputDevice& device, const std::vector<InputDevice>& all) {
  if (device.kind == DeviceKind::kTouchscreen) return true;
  if (device.kind != DeviceKind::kPen) return false;
  if (!HasAbsoluteAxis(device, 0) || !HasAbsoluteAxis(device, 1)) return false;
  switch (device.integration) {
    case PenIntegration::kSystemDisplay:
      return true;
    case PenIntegration::kNoDisplay:
      return false;
    case PenIntegration::kOwnDisplay:
      return SharesATouchscreensIds(device, all);
    case PenIntegration::kUnknown:
      break;
  }
  return device.bus == DeviceBus::kBuiltIn || SharesATouchscreensIds(device, all);
}

}  // namespace

bool FollowsScreen(const InputDevice& device, const std::vector<InputDevice>& all) {
  if (!device.hasTransform) return false;
  if (device.use != DeviceUse::kSlavePointer && device.use != DeviceUse::kFloating) return false;
  if (device.kind != DeviceKind::kUnknown) return FollowsAsTold(device, all);
  // Without the device manager's word, XInput's classes, the bus and the name tell.
  if (device.bus == DeviceBus::kVirtual || IsVirtualPointerName(device.name)) return false;
  if (device.touch == TouchMode::kDependent) return false;
  if (device.touch == TouchMode::kDirect) return true;
  if (!HasAbsoluteAxis(device, 0) || !HasAbsoluteAxis(device, 1)) return false;
  return device.bus == DeviceBus::kBuiltIn || SharesATouchscreensIds(device, all);
}

size_t PanelCrtc(const ScreenState& state) {
  const auto& crtcs = state.crtcs;
  const auto builtIn = std::find_if(crtcs.begin(), crtcs.end(), [](const Crtc& crtc) {
    return crtc.panelConnector ||
           std::any_of(crtc.outputNames.begin(), crtc.outputNames.end(),
                       [](const std::string& name) { return IsBuiltInPanel(name); });
  });
  if (builtIn != crtcs.end()) return static_cast<size_t>(builtIn - crtcs.begin());
  const auto primary =
      std::find_if(crtcs.begin(), crtcs.end(), [](const Crtc& crtc) { return crtc.primary; });
  return primary != crtcs.end() ? static_cast<size_t>(primary - crtcs.begin()) : 0;
}

TransformMatrix PanelTransform(int32_t code, const platform::Rect& panel,
                               const ScreenSize& screen) {
  const double width = screen.width > 0 ? screen.width : 1;
  const double height = screen.height > 0 ? screen.height : 1;
  // The picture's 0 to 1 onto the panel's share of the screen.
  const double across = static_cast<double>(panel.ExactWidth()) / width;
  const double left = static_cast<double>(panel.left) / width;
  const double down = static_cast<double>(panel.ExactHeight()) / height;
  const double top = static_cast<double>(panel.top) / height;
  const Matrix place = {across, 0, left, 0, down, top, 0, 0, 1};
  const Matrix product = Multiply(place, PictureOfPanel(code));
  TransformMatrix matrix{};
  std::transform(product.begin(), product.end(), matrix.begin(),
                 [](double value) { return static_cast<float>(value); });
  return matrix;
}

size_t CrtcOfDevice(const InputDevice& device, const ScreenState& state, size_t panel) {
  const bool external =
      device.bus == DeviceBus::kExternal || device.integration == PenIntegration::kOwnDisplay;
  if (!external || state.crtcs.size() != 2) return panel;
  return panel == 0 ? 1 : 0;
}

void FollowScreen(InputDevices& devices, const ScreenState& before, const ScreenLayout& layout) {
  const size_t panel = PanelCrtc(before);
  const std::vector<InputDevice> all = devices.List();
  for (const InputDevice& device : all) {
    if (!FollowsScreen(device, all)) continue;
    const size_t crtc = CrtcOfDevice(device, before, panel);
    const CrtcConfig& config = layout.crtcs[crtc];
    devices.SetTransform(device.id,
                         PanelTransform(CodeOfRotation(config.rotation),
                                        Footprint(before.crtcs[crtc], config), layout.size));
  }
}

}  // namespace quillet::linux_desktop
