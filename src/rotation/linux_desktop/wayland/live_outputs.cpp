#include "rotation/linux_desktop/wayland/live_outputs.h"

#include <xdg-output-unstable-v1-client-protocol.h>

#include <algorithm>
#include <string>

#include "rotation/linux_desktop/wayland/wayland_proxy.h"

namespace quillet::wayland {

struct LiveOutputs::Output {
  uint32_t global = 0;
  Proxy<wl_output> output;
  Proxy<zxdg_output_v1> xdgOutput;
  std::string name;
  linux_desktop::WlrLiveOutput shown;
  bool* failed = nullptr;  // its owner's
};

namespace {

using Output = LiveOutputs::Output;

Output& Of(void* data) {
  return *static_cast<Output*>(data);
}

void OnGeometry(void* data, wl_output*, int32_t, int32_t, int32_t, int32_t, int32_t, const char*,
                const char*, int32_t transform) {
  Of(data).shown.transform = transform;
}

void OnMode(void* data, wl_output*, uint32_t flags, int32_t width, int32_t height, int32_t) {
  if ((flags & WL_OUTPUT_MODE_CURRENT) == 0) return;
  Of(data).shown.modeWidth = width;
  Of(data).shown.modeHeight = height;
}

void Name(Output& output, const char* name) {
  Unthrowing(*output.failed, [&] { output.name = name; });
}

void OnName(void* data, wl_output*, const char* name) {
  Name(Of(data), name);
}

constexpr wl_output_listener kOutputListener = {
    &OnGeometry,
    &OnMode,
    [](void*, wl_output*) {},
    [](void*, wl_output*, int32_t) {},
    &OnName,
    [](void*, wl_output*, const char*) {},
};

constexpr zxdg_output_v1_listener kXdgOutputListener = {
    [](void* data, zxdg_output_v1*, int32_t x, int32_t y) {
      Of(data).shown.x = x;
      Of(data).shown.y = y;
    },
    [](void* data, zxdg_output_v1*, int32_t width, int32_t height) {
      Of(data).shown.logicalWidth = width;
      Of(data).shown.logicalHeight = height;
    },
    [](void*, zxdg_output_v1*) {},
    [](void* data, zxdg_output_v1*, const char* name) { Name(Of(data), name); },
    [](void*, zxdg_output_v1*, const char*) {},
};

// wl_output 4 names its output; xdg_output 2 does too where it is older.
constexpr uint32_t kOutputVersion = 4;
constexpr uint32_t kXdgVersion = 3;
constexpr uint32_t kXdgNamedVersion = 2;

}  // namespace

LiveOutputs::LiveOutputs(WaylandConnection& connection) : connection_(connection) {
  if (!connection_.IsConnected()) return;
  xdgManager_.reset(static_cast<zxdg_output_manager_v1*>(
      connection_.Bind(zxdg_output_manager_v1_interface.name, &zxdg_output_manager_v1_interface,
                       kXdgNamedVersion, kXdgVersion)));
  Update();
}

bool LiveOutputs::Update() {
  if (!connection_.IsConnected()) return false;
  const std::vector<Global> globals = connection_.FindAll(wl_output_interface.name);
  std::erase_if(outputs_, [&globals](const auto& output) {
    return std::ranges::find(globals, output->global, &Global::name) == globals.end();
  });
  bool bound = false;
  for (const Global& global : globals) {
    if (std::ranges::find(outputs_, global.name,
                          [](const auto& output) { return output->global; }) != outputs_.end())
      continue;
    auto output = std::make_unique<Output>();
    output->global = global.name;
    output->failed = &failed_;
    output->output.reset(static_cast<wl_output*>(
        wl_registry_bind(connection_.registry(), global.name, &wl_output_interface,
                         std::min(global.version, kOutputVersion))));
    if (!output->output) continue;
    wl_output_add_listener(output->output.get(), &kOutputListener, output.get());
    if (xdgManager_) {
      output->xdgOutput.reset(
          zxdg_output_manager_v1_get_xdg_output(xdgManager_.get(), output->output.get()));
      if (output->xdgOutput)
        zxdg_output_v1_add_listener(output->xdgOutput.get(), &kXdgOutputListener, output.get());
    }
    outputs_.push_back(std::move(output));
    bound = true;
  }
  return bound;
}

LiveOutputs::~LiveOutputs() = default;

std::optional<linux_desktop::WlrLiveOutput> LiveOutputs::Find(std::string_view name) const {
  for (const auto& output : outputs_)
    if (!output->name.empty() && output->name == name && output->shown.modeWidth > 0)
      return output->shown;
  return std::nullopt;
}

}  // namespace quillet::wayland
