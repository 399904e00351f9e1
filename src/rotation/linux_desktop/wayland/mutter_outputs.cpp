#include "rotation/linux_desktop/wayland/mutter_outputs.h"

namespace quillet::wayland {

std::optional<std::vector<linux_desktop::DesktopOutput>> MutterOutputs::Read() {
  const platform::gio::VariantPtr state = service_->GetCurrentState();
  read_ = ParseCurrentState(state.get());
  if (!read_) return std::nullopt;
  return OutputsOf(*read_);
}

bool MutterOutputs::Apply(const std::vector<linux_desktop::DesktopOutput>& outputs) {
  if (!read_ && !Read()) return false;
  for (int attempt = 0; attempt < 2; ++attempt) {
    GVariant* arguments = ApplyArguments(*read_, outputs);
    if (arguments == nullptr) return false;
    switch (service_->ApplyMonitorsConfig(arguments)) {
      case DisplayConfigService::Answer::kApplied:
        return true;
      case DisplayConfigService::Answer::kRefused:
        return false;
      case DisplayConfigService::Answer::kStale:
        break;
    }
    const std::vector<linux_desktop::DesktopOutput> before = OutputsOf(*read_);
    // What was asked was made from that layout; after any change it may no longer fit.
    if (Read() != before) return false;
  }
  return false;
}

}  // namespace quillet::wayland
