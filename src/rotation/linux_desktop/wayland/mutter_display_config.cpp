#include "rotation/linux_desktop/wayland/mutter_display_config.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/gio/session_bus.h"
#include "rotation/linux_desktop/wayland/mutter_outputs.h"

namespace quillet::wayland {
namespace {

constexpr char kPath[] = "/org/gnome/Mutter/DisplayConfig";
constexpr char kInterface[] = "org.gnome.Mutter.DisplayConfig";
// Mutter's answer to a configuration made from a serial that is no longer current.
constexpr char kStaleSerial[] = "org.freedesktop.DBus.Error.AccessDenied";

class BusDisplayConfigService : public DisplayConfigService {
 public:
  BusDisplayConfigService(std::unique_ptr<platform::gio::SessionBus> bus, const char* service)
      : bus_(std::move(bus)), service_(service) {}

  platform::gio::VariantPtr GetCurrentState() override {
    return bus_->Call(service_, kPath, kInterface, "GetCurrentState", nullptr,
                      G_VARIANT_TYPE(kCurrentStateType));
  }

  Answer ApplyMonitorsConfig(GVariant* arguments) override {
    std::string error;
    const platform::gio::VariantPtr reply =
        bus_->Call(service_, kPath, kInterface, "ApplyMonitorsConfig", arguments,
                   G_VARIANT_TYPE("()"), &error);
    if (reply) return Answer::kApplied;
    return error == kStaleSerial ? Answer::kStale : Answer::kRefused;
  }

 private:
  std::unique_ptr<platform::gio::SessionBus> bus_;
  const char* service_;
};

}  // namespace

std::unique_ptr<linux_desktop::DesktopOutputs> OpenMutterDisplayConfig(const char* service) {
  auto bus = std::make_unique<platform::gio::SessionBus>();
  if (!bus->IsConnected()) return nullptr;
  const std::vector<std::string> names = bus->OwnedNames();
  if (std::find(names.begin(), names.end(), std::string(service)) == names.end()) return nullptr;
  return std::make_unique<MutterOutputs>(
      std::make_unique<BusDisplayConfigService>(std::move(bus), service));
}

}  // namespace quillet::wayland
