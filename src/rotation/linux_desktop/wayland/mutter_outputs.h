#pragma once
#include <gio/gio.h>

#include <memory>
#include <optional>
#include <vector>

#include "platform/gio/session_bus.h"
#include "rotation/linux_desktop/desktop_outputs.h"
#include "rotation/linux_desktop/wayland/mutter_layout.h"

namespace quillet::wayland {

// The two calls of Mutter's display configuration service that turning needs.
class DisplayConfigService {
 public:
  enum class Answer {
    kApplied,
    kStale,  // refused: the configuration changed since the serial was read
    kRefused,
  };

  virtual ~DisplayConfigService() = default;

  // GetCurrentState's reply; null without one.
  virtual platform::gio::VariantPtr GetCurrentState() = 0;
  // Sends ApplyMonitorsConfig with the (floating) arguments, which it consumes.
  virtual Answer ApplyMonitorsConfig(GVariant* arguments) = 0;
};

// A GNOME desktop's outputs: one per logical monitor of Mutter's layout.
class MutterOutputs : public linux_desktop::DesktopOutputs {
 public:
  explicit MutterOutputs(std::unique_ptr<DisplayConfigService> service)
      : service_(std::move(service)) {}

  std::optional<std::vector<linux_desktop::DesktopOutput>> Read() override;
  // A configuration sent on a serial that went stale meanwhile is read again
  // and sent once more, as long as the layout it was made from still stands.
  bool Apply(const std::vector<linux_desktop::DesktopOutput>& outputs) override;

 private:
  std::unique_ptr<DisplayConfigService> service_;
  std::optional<MutterLayout> read_;  // what the last Read saw, for Apply to build on
};

}  // namespace quillet::wayland
