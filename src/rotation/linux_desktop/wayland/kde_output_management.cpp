#include "rotation/linux_desktop/wayland/kde_output_management.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>
#include <vector>

#include "kde-output-device-v2-client-protocol.h"
#include "kde-output-management-v2-client-protocol.h"
#include "rotation/linux_desktop/quarter_turns.h"
#include "rotation/linux_desktop/wayland/output_protocol.h"
#include "rotation/linux_desktop/wayland/wayland_connection.h"
#include "rotation/linux_desktop/wayland/wayland_proxy.h"

namespace quillet::wayland {
namespace {

using linux_desktop::DesktopOutput;

// The versions this code knows: the device's name came with version 2.
constexpr uint32_t kDeviceVersion = 2;
constexpr uint32_t kManagementVersion = 1;

using ModeProxy = OwnedProxy<kde_output_device_mode_v2, &kde_output_device_mode_v2_destroy>;
using DeviceProxy = OwnedProxy<kde_output_device_v2, &kde_output_device_v2_destroy>;
using ManagementProxy = OwnedProxy<kde_output_management_v2, &kde_output_management_v2_destroy>;
using ConfigurationProxy =
    OwnedProxy<kde_output_configuration_v2, &kde_output_configuration_v2_destroy>;

using DeviceMode = Mode<ModeProxy>;

constexpr kde_output_device_mode_v2_listener kModeListener = {
    .size = &OnModeSize<DeviceMode, kde_output_device_mode_v2>,
    .refresh = [](void*, kde_output_device_mode_v2*, int32_t) {},
    .preferred = [](void*, kde_output_device_mode_v2*) {},
    .removed = &OnModeRemoved<DeviceMode, kde_output_device_mode_v2>,
};

// What one kde_output_device_v2 has told so far: whole once its first
// `done` came, and kept up to date after that.
class Device {
 public:
  explicit Device(kde_output_device_v2* proxy) : proxy_(proxy) {
    kde_output_device_v2_add_listener(proxy_.get(), &kListener, this);
  }
  Device(const Device&) = delete;
  Device& operator=(const Device&) = delete;

  kde_output_device_v2* proxy() const { return proxy_.get(); }
  bool done() const { return done_; }
  // Some of what it told could not be kept: it cannot be read.
  bool failed() const { return failed_; }
  // Lets go of the modes the compositor removed since.
  void DropRemoved() { DropRemovedModes(modes_, current_); }

  DesktopOutput Output() const {
    DesktopOutput output = output_;
    output.builtIn = linux_desktop::IsBuiltInPanel(output.name);
    // The layout counts in logical pixels: the mode divided by the scale.
    if (const DeviceMode* mode = FindMode(modes_, current_)) {
      const double scale = scale_ > 0 ? scale_ : 1.0;
      output.width = static_cast<int32_t>(std::lround(mode->width / scale));
      output.height = static_cast<int32_t>(std::lround(mode->height / scale));
    }
    return output;
  }

 private:
  static Device& Of(void* data) { return *static_cast<Device*>(data); }

  static void OnGeometry(void* data, kde_output_device_v2*, int32_t x, int32_t y, int32_t, int32_t,
                         int32_t, const char*, const char*, int32_t transform) {
    Device& device = Of(data);
    device.output_.x = x;
    device.output_.y = y;
    device.output_.transform = transform;
  }
  static void OnCurrentMode(void* data, kde_output_device_v2*, kde_output_device_mode_v2* mode) {
    Of(data).current_ = mode;
  }
  static void OnMode(void* data, kde_output_device_v2*, kde_output_device_mode_v2* proxy) {
    Device& device = Of(data);
    AddMode(device.modes_, device.unkept_, device.failed_, proxy, &kModeListener);
  }
  static void OnDone(void* data, kde_output_device_v2*) { Of(data).done_ = true; }
  static void OnScale(void* data, kde_output_device_v2*, wl_fixed_t factor) {
    Of(data).scale_ = wl_fixed_to_double(factor);
  }
  static void OnEnabled(void* data, kde_output_device_v2*, int32_t enabled) {
    Of(data).output_.enabled = enabled != 0;
  }
  static void OnName(void* data, kde_output_device_v2*, const char* name) {
    Device& device = Of(data);
    Unthrowing(device.failed_, [&] { device.output_.name = name != nullptr ? name : ""; });
  }

  static constexpr kde_output_device_v2_listener kListener = {
      .geometry = &OnGeometry,
      .current_mode = &OnCurrentMode,
      .mode = &OnMode,
      .done = &OnDone,
      .scale = &OnScale,
      .edid = [](void*, kde_output_device_v2*, const char*) {},
      .enabled = &OnEnabled,
      .uuid = [](void*, kde_output_device_v2*, const char*) {},
      .serial_number = [](void*, kde_output_device_v2*, const char*) {},
      .eisa_id = [](void*, kde_output_device_v2*, const char*) {},
      .capabilities = [](void*, kde_output_device_v2*, uint32_t) {},
      .overscan = [](void*, kde_output_device_v2*, uint32_t) {},
      .vrr_policy = [](void*, kde_output_device_v2*, uint32_t) {},
      .rgb_range = [](void*, kde_output_device_v2*, uint32_t) {},
      .name = &OnName,
  };

  DeviceProxy proxy_;
  DesktopOutput output_;
  std::vector<std::unique_ptr<DeviceMode>> modes_;
  UnkeptProxies unkept_;
  kde_output_device_mode_v2* current_ = nullptr;
  double scale_ = 1.0;
  bool done_ = false;
  bool failed_ = false;
};

class KdeOutputManagement final : public linux_desktop::DesktopOutputs {
 public:
  // Declared before the proxies so that it is closed after they are destroyed.
  std::unique_ptr<WaylandConnection> connection;
  ManagementProxy management;
  std::vector<std::unique_ptr<Device>> devices;

  bool AllDone() const {
    for (const auto& device : devices)
      if (!device->done()) return false;
    return true;
  }
  bool AnyFailed() const {
    for (const auto& device : devices)
      if (device->failed()) return true;
    return false;
  }

  std::optional<std::vector<DesktopOutput>> Read() override {
    // Takes in what changed since, from others too.
    if (!connection->Roundtrip() || !AllDone() || AnyFailed()) return std::nullopt;
    for (const auto& device : devices) device->DropRemoved();
    std::vector<DesktopOutput> outputs;
    for (const auto& device : devices) outputs.push_back(device->Output());
    return outputs;
  }

  bool Apply(const std::vector<DesktopOutput>& outputs) override {
    if (outputs.size() != devices.size()) return false;
    for (const DesktopOutput& output : outputs)
      if (!linux_desktop::IsTransform(output.transform)) return false;
    ConfigurationProxy configuration(
        kde_output_management_v2_create_configuration(management.get()));
    if (!configuration) return false;
    Answer answer = Answer::kPending;
    static constexpr kde_output_configuration_v2_listener kListener = {
        .applied = &OnAnswer<Answer::kApplied, kde_output_configuration_v2>,
        .failed = &OnAnswer<Answer::kFailed, kde_output_configuration_v2>,
    };
    kde_output_configuration_v2_add_listener(configuration.get(), &kListener, &answer);
    for (size_t i = 0; i < outputs.size(); ++i) {
      if (!outputs[i].enabled) continue;
      kde_output_device_v2* device = devices[i]->proxy();
      // The protocol's transforms count as wl_output counts them.
      kde_output_configuration_v2_transform(configuration.get(), device, outputs[i].transform);
      kde_output_configuration_v2_position(configuration.get(), device, outputs[i].x, outputs[i].y);
    }
    kde_output_configuration_v2_apply(configuration.get());
    return AwaitApplied(*connection, answer);
  }
};

}  // namespace

std::unique_ptr<linux_desktop::DesktopOutputs> OpenKdeOutputManagement(
    std::unique_ptr<WaylandConnection>& connection) {
  auto kwin = std::make_unique<KdeOutputManagement>();
  kwin->management.reset(static_cast<kde_output_management_v2*>(
      connection->Bind(kde_output_management_v2_interface.name, &kde_output_management_v2_interface,
                       1, kManagementVersion)));
  if (!kwin->management) return nullptr;
  for (const Global& global : connection->FindAll(kde_output_device_v2_interface.name)) {
    auto* proxy = static_cast<kde_output_device_v2*>(
        wl_registry_bind(connection->registry(), global.name, &kde_output_device_v2_interface,
                         std::min(global.version, kDeviceVersion)));
    if (proxy == nullptr) return nullptr;
    kwin->devices.push_back(std::make_unique<Device>(proxy));
  }
  if (kwin->devices.empty()) return nullptr;
  // Every device's events are taken in even when one failed: none is left
  // holding objects the compositor announced.
  if (!connection->DispatchUntil([&kwin] { return kwin->AllDone(); }) || kwin->AnyFailed())
    return nullptr;
  kwin->connection = std::move(connection);
  return kwin;
}

}  // namespace quillet::wayland
