#include "rotation/linux_desktop/wayland/wlr_output_management.h"

#include <wlr-output-management-unstable-v1-client-protocol.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "rotation/linux_desktop/wayland/live_outputs.h"
#include "rotation/linux_desktop/wayland/output_protocol.h"
#include "rotation/linux_desktop/wayland/wayland_connection.h"
#include "rotation/linux_desktop/wayland/wayland_proxy.h"
#include "rotation/linux_desktop/wlr_heads.h"

namespace quillet::wayland {
namespace {

// Version 2 is what sway 1.7 and the wlroots of its time offer; nothing we
// use came later.
constexpr uint32_t kManagerVersion = 2;

using HeadMode = Mode<Proxy<zwlr_output_mode_v1>>;

struct Head {
  Proxy<zwlr_output_head_v1> proxy;
  linux_desktop::WlrHead reported;
  std::vector<std::unique_ptr<HeadMode>> modes;
  UnkeptProxies unkept;
  zwlr_output_mode_v1* currentMode = nullptr;
  bool gone = false;
  bool failed = false;  // some of its state could not be kept

  // What was reported, with the current mode's size as known now.
  linux_desktop::WlrHead State() const {
    linux_desktop::WlrHead state = reported;
    const HeadMode* current = FindMode(modes, currentMode);
    state.hasCurrentMode = current != nullptr;
    state.modeWidth = current != nullptr ? current->width : 0;
    state.modeHeight = current != nullptr ? current->height : 0;
    return state;
  }
};

Head& HeadOf(void* data) {
  return *static_cast<Head*>(data);
}

constexpr zwlr_output_mode_v1_listener kModeListener = {
    &OnModeSize<HeadMode, zwlr_output_mode_v1>,
    [](void*, zwlr_output_mode_v1*, int32_t) {},
    [](void*, zwlr_output_mode_v1*) {},
    &OnModeRemoved<HeadMode, zwlr_output_mode_v1>,
};

void OnHeadMode(void* data, zwlr_output_head_v1*, zwlr_output_mode_v1* proxy) {
  Head& head = HeadOf(data);
  AddMode(head.modes, head.unkept, head.failed, proxy, &kModeListener);
}

void OnHeadName(void* data, zwlr_output_head_v1*, const char* name) {
  Unthrowing(HeadOf(data).failed, [&] { HeadOf(data).reported.name = name; });
}

constexpr zwlr_output_head_v1_listener kHeadListener = {
    &OnHeadName,
    [](void*, zwlr_output_head_v1*, const char*) {},
    [](void*, zwlr_output_head_v1*, int32_t, int32_t) {},
    &OnHeadMode,
    [](void* data, zwlr_output_head_v1*, int32_t enabled) {
      HeadOf(data).reported.enabled = enabled != 0;
      if (enabled == 0) HeadOf(data).currentMode = nullptr;
    },
    [](void* data, zwlr_output_head_v1*, zwlr_output_mode_v1* mode) {
      HeadOf(data).currentMode = mode;
    },
    [](void* data, zwlr_output_head_v1*, int32_t x, int32_t y) {
      HeadOf(data).reported.x = x;
      HeadOf(data).reported.y = y;
    },
    [](void* data, zwlr_output_head_v1*, int32_t transform) {
      HeadOf(data).reported.transform = transform;
    },
    [](void* data, zwlr_output_head_v1*, wl_fixed_t scale) {
      HeadOf(data).reported.scale = wl_fixed_to_double(scale);
    },
    [](void* data, zwlr_output_head_v1*) { HeadOf(data).gone = true; },
    [](void*, zwlr_output_head_v1*, const char*) {},
    [](void*, zwlr_output_head_v1*, const char*) {},
    [](void*, zwlr_output_head_v1*, const char*) {},
};

// A head without a record: its modes are kept with it, the rest is let pass.
constexpr zwlr_output_head_v1_listener kUnkeptHeadListener = {
    [](void*, zwlr_output_head_v1*, const char*) {},
    [](void*, zwlr_output_head_v1*, const char*) {},
    [](void*, zwlr_output_head_v1*, int32_t, int32_t) {},
    [](void*, zwlr_output_head_v1* head, zwlr_output_mode_v1* mode) {
      UnkeptProxies::KeepAnnounced(head, mode);
    },
    [](void*, zwlr_output_head_v1*, int32_t) {},
    [](void*, zwlr_output_head_v1*, zwlr_output_mode_v1*) {},
    [](void*, zwlr_output_head_v1*, int32_t, int32_t) {},
    [](void*, zwlr_output_head_v1*, int32_t) {},
    [](void*, zwlr_output_head_v1*, wl_fixed_t) {},
    [](void*, zwlr_output_head_v1*) {},
    [](void*, zwlr_output_head_v1*, const char*) {},
    [](void*, zwlr_output_head_v1*, const char*) {},
    [](void*, zwlr_output_head_v1*, const char*) {},
};

constexpr zwlr_output_configuration_v1_listener kConfigurationListener = {
    &OnAnswer<Answer::kApplied, zwlr_output_configuration_v1>,
    &OnAnswer<Answer::kFailed, zwlr_output_configuration_v1>,
    &OnAnswer<Answer::kCancelled, zwlr_output_configuration_v1>,
};

class WlrOutputManagement : public linux_desktop::DesktopOutputs {
 public:
  explicit WlrOutputManagement(std::unique_ptr<WaylandConnection> connection)
      : connection_(std::move(connection)) {}

  bool Open() {
    if (!connection_->IsConnected()) return false;
    manager_.reset(static_cast<zwlr_output_manager_v1*>(
        connection_->Bind(zwlr_output_manager_v1_interface.name, &zwlr_output_manager_v1_interface,
                          1, kManagerVersion)));
    if (!manager_) return false;
    zwlr_output_manager_v1_add_listener(manager_.get(), &kManagerListener, this);
    live_ = std::make_unique<LiveOutputs>(*connection_);
    // The heads come first, then `done`; the outputs' own events by the
    // round trip after it.
    if (!connection_->DispatchUntil([this] { return serial_.has_value() || finished_; }))
      return false;
    return Refresh();
  }

  std::optional<std::vector<linux_desktop::DesktopOutput>> Read() override {
    if (!Refresh()) return std::nullopt;
    readSerial_ = serial_;
    std::vector<linux_desktop::DesktopOutput> outputs;
    for (const auto& head : heads_) outputs.push_back(linux_desktop::OutputOfHead(Running(*head)));
    // Heads come in no order of their own: the enabled ones first, from the
    // layout's origin on, so that without a built-in panel the output at the
    // origin counts as the tablet's.
    std::stable_sort(outputs.begin(), outputs.end(), [](const auto& a, const auto& b) {
      return std::tuple(!a.enabled, a.x, a.y) < std::tuple(!b.enabled, b.x, b.y);
    });
    return outputs;
  }

  bool Apply(const std::vector<linux_desktop::DesktopOutput>& outputs) override {
    if (!Refresh() || !readSerial_) return false;
    // A configuration must name every head once, and the list must be about
    // these: a head that came or went since it was read makes it stale.
    if (outputs.size() != heads_.size()) return false;
    std::vector<const linux_desktop::DesktopOutput*> wanted;
    for (const auto& head : heads_) {
      const auto named =
          std::ranges::find(outputs, head->reported.name, &linux_desktop::DesktopOutput::name);
      if (named == outputs.end() || std::ranges::find(wanted, &*named) != wanted.end())
        return false;
      wanted.push_back(&*named);
    }

    // The serial of the read: the compositor cancels when anything changed
    // since.
    OwnedProxy<zwlr_output_configuration_v1, &zwlr_output_configuration_v1_destroy> configuration(
        zwlr_output_manager_v1_create_configuration(manager_.get(), *readSerial_));
    if (!configuration) return false;
    Answer answer = Answer::kPending;
    zwlr_output_configuration_v1_add_listener(configuration.get(), &kConfigurationListener,
                                              &answer);
    std::vector<Proxy<zwlr_output_configuration_head_v1>> configured;
    for (size_t i = 0; i < heads_.size(); ++i) {
      const Head& head = *heads_[i];
      const linux_desktop::WlrHeadRequest request =
          linux_desktop::RequestForHead(Running(head), *wanted[i]);
      if (!request.enable) {
        zwlr_output_configuration_v1_disable_head(configuration.get(), head.proxy.get());
        continue;
      }
      zwlr_output_configuration_head_v1* settings =
          zwlr_output_configuration_v1_enable_head(configuration.get(), head.proxy.get());
      if (settings == nullptr) return false;
      configured.emplace_back(settings);
      if (request.currentMode)
        zwlr_output_configuration_head_v1_set_mode(settings, head.currentMode);
      else if (request.customWidth > 0)
        zwlr_output_configuration_head_v1_set_custom_mode(settings, request.customWidth,
                                                          request.customHeight, 0);
      zwlr_output_configuration_head_v1_set_position(settings, request.x, request.y);
      zwlr_output_configuration_head_v1_set_transform(settings, request.transform);
      zwlr_output_configuration_head_v1_set_scale(settings, wl_fixed_from_double(request.scale));
    }
    zwlr_output_configuration_v1_apply(configuration.get());
    return AwaitApplied(*connection_, answer);
  }

 private:
  static void OnHead(void* data, zwlr_output_manager_v1*, zwlr_output_head_v1* proxy) {
    auto& self = *static_cast<WlrOutputManagement*>(data);
    Proxy<zwlr_output_head_v1> owned(proxy);
    Unthrowing(self.failed_, [&] {
      self.heads_.push_back(std::make_unique<Head>());
      Head& head = *self.heads_.back();
      head.proxy = std::move(owned);
      zwlr_output_head_v1_add_listener(proxy, &kHeadListener, &head);
    });
    // Its events to come announce its modes.
    if (owned) self.unkept_.Keep(owned.release(), &kUnkeptHeadListener);
  }
  static void OnDone(void* data, zwlr_output_manager_v1*, uint32_t serial) {
    static_cast<WlrOutputManagement*>(data)->serial_ = serial;
  }
  static void OnFinished(void* data, zwlr_output_manager_v1*) {
    static_cast<WlrOutputManagement*>(data)->finished_ = true;
  }
  static constexpr zwlr_output_manager_v1_listener kManagerListener = {&OnHead, &OnDone,
                                                                       &OnFinished};

  // Takes in what changed since and lets go of what is gone; false when the
  // compositor no longer answers or no longer manages outputs for us.
  bool Refresh() {
    if (!connection_->Roundtrip() || finished_ || failed_ || !serial_) return false;
    // An output that came since tells its state by another round trip.
    if (live_->Update() && !connection_->Roundtrip()) return false;
    std::erase_if(heads_, [](const auto& head) { return head->gone; });
    if (!live_->IsComplete() || std::ranges::any_of(heads_, &Head::failed)) return false;
    for (auto& head : heads_) DropRemovedModes(head->modes, head->currentMode);
    return true;
  }

  linux_desktop::WlrHead Running(const Head& head) const {
    return linux_desktop::RunningHead(head.State(), live_->Find(head.reported.name));
  }

  // Declared first: every object below is freed before the connection closes.
  std::unique_ptr<WaylandConnection> connection_;
  Proxy<zwlr_output_manager_v1> manager_;
  std::unique_ptr<LiveOutputs> live_;
  std::vector<std::unique_ptr<Head>> heads_;
  UnkeptProxies unkept_;
  std::optional<uint32_t> serial_;
  std::optional<uint32_t> readSerial_;
  bool finished_ = false;
  bool failed_ = false;  // a head could not be kept
};

}  // namespace

std::unique_ptr<linux_desktop::DesktopOutputs> OpenWlrOutputManagement(
    std::unique_ptr<WaylandConnection>& connection) {
  auto outputs = std::make_unique<WlrOutputManagement>(std::move(connection));
  if (!outputs->Open()) return nullptr;
  return outputs;
}

}  // namespace quillet::wayland
