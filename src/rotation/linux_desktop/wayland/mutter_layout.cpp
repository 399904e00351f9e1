#include "rotation/linux_desktop/wayland/mutter_layout.h"

#include <algorithm>
#include <cmath>

#include "platform/gio/session_bus.h"

namespace quillet::wayland {
namespace {

using platform::gio::VariantPtr;

constexpr uint32_t kLogicalLayout = 1;
// Applied at once and forgotten at the next start: no confirmation dialog.
constexpr uint32_t kTemporary = 1;

bool BooleanIn(GVariant* properties, const char* key) {
  gboolean value = FALSE;
  return g_variant_lookup(properties, key, "b", &value) != FALSE && value != FALSE;
}

// The current mode and properties of one entry of GetCurrentState's monitors,
// a((ssss)a(siiddada{sv})a{sv}); nothing without a current mode.
std::optional<MutterMonitor> MonitorAtCurrentMode(GVariant* entry) {
  const gchar* connector = nullptr;
  GVariant* modes = nullptr;
  GVariant* properties = nullptr;
  g_variant_get(entry, "((&ssss)@a(siiddada{sv})@a{sv})", &connector, nullptr, nullptr, nullptr,
                &modes, &properties);
  const VariantPtr ownedModes(modes);
  const VariantPtr ownedProperties(properties);
  MutterMonitor monitor;
  monitor.connector = connector;
  monitor.builtIn = BooleanIn(properties, "is-builtin");
  monitor.underscanning = BooleanIn(properties, "is-underscanning");
  for (size_t i = 0; i < g_variant_n_children(modes); ++i) {
    const VariantPtr mode(g_variant_get_child_value(modes, i));
    const gchar* id = nullptr;
    GVariant* modeProperties = nullptr;
    g_variant_get(mode.get(), "(&siiddad@a{sv})", &id, &monitor.width, &monitor.height, nullptr,
                  nullptr, nullptr, &modeProperties);
    const VariantPtr ownedModeProperties(modeProperties);
    if (BooleanIn(modeProperties, "is-current")) {
      monitor.modeId = id;
      return monitor;
    }
  }
  return std::nullopt;
}

bool IsBuiltIn(const MutterLogicalMonitor& logical) {
  return std::any_of(logical.monitors.begin(), logical.monitors.end(),
                     [](const MutterMonitor& monitor) { return monitor.builtIn; });
}

int32_t InLayout(int32_t pixels, const MutterLayout& layout, double scale) {
  if (layout.layoutMode != kLogicalLayout || scale <= 0) return pixels;
  return static_cast<int32_t>(std::lround(pixels / scale));
}

}  // namespace

std::optional<MutterLayout> ParseCurrentState(GVariant* reply) {
  if (reply == nullptr || !g_variant_is_of_type(reply, G_VARIANT_TYPE(kCurrentStateType)))
    return std::nullopt;
  MutterLayout layout;
  GVariant* monitors = nullptr;
  GVariant* logicalMonitors = nullptr;
  GVariant* properties = nullptr;
  g_variant_get(reply, "(u@a((ssss)a(siiddada{sv})a{sv})@a(iiduba(ssss)a{sv})@a{sv})",
                &layout.serial, &monitors, &logicalMonitors, &properties);
  const VariantPtr ownedMonitors(monitors);
  const VariantPtr ownedLogicalMonitors(logicalMonitors);
  const VariantPtr ownedProperties(properties);
  g_variant_lookup(properties, "layout-mode", "u", &layout.layoutMode);
  layout.layoutModeChangeable = BooleanIn(properties, "supports-changing-layout-mode");

  std::vector<std::optional<MutterMonitor>> shown;
  for (size_t i = 0; i < g_variant_n_children(monitors); ++i) {
    const VariantPtr entry(g_variant_get_child_value(monitors, i));
    shown.push_back(MonitorAtCurrentMode(entry.get()));
  }
  const auto monitorNamed = [&](const char* connector) -> std::optional<MutterMonitor> {
    for (const std::optional<MutterMonitor>& monitor : shown)
      if (monitor && monitor->connector == connector) return monitor;
    return std::nullopt;
  };

  for (size_t i = 0; i < g_variant_n_children(logicalMonitors); ++i) {
    const VariantPtr entry(g_variant_get_child_value(logicalMonitors, i));
    MutterLogicalMonitor logical;
    gboolean primary = FALSE;
    GVariant* members = nullptr;
    g_variant_get(entry.get(), "(iidub@a(ssss)a{sv})", &logical.x, &logical.y, &logical.scale,
                  &logical.transform, &primary, &members, nullptr);
    const VariantPtr ownedMembers(members);
    logical.primary = primary != FALSE;
    for (size_t m = 0; m < g_variant_n_children(members); ++m) {
      const gchar* connector = nullptr;
      g_variant_get_child(members, m, "(&ssss)", &connector, nullptr, nullptr, nullptr);
      std::optional<MutterMonitor> monitor = monitorNamed(connector);
      if (!monitor) return std::nullopt;
      logical.monitors.push_back(std::move(*monitor));
    }
    if (logical.monitors.empty()) return std::nullopt;
    layout.logicalMonitors.push_back(std::move(logical));
  }

  auto& order = layout.logicalMonitors;
  if (std::none_of(order.begin(), order.end(), IsBuiltIn))
    std::stable_partition(order.begin(), order.end(),
                          [](const MutterLogicalMonitor& logical) { return logical.primary; });
  return layout;
}

std::vector<linux_desktop::DesktopOutput> OutputsOf(const MutterLayout& layout) {
  std::vector<linux_desktop::DesktopOutput> outputs;
  for (const MutterLogicalMonitor& logical : layout.logicalMonitors) {
    const MutterMonitor& first = logical.monitors.front();
    linux_desktop::DesktopOutput output;
    output.name = first.connector;
    output.builtIn = IsBuiltIn(logical);
    output.x = logical.x;
    output.y = logical.y;
    output.width = InLayout(first.width, layout, logical.scale);
    output.height = InLayout(first.height, layout, logical.scale);
    output.transform = static_cast<int32_t>(logical.transform);
    outputs.push_back(std::move(output));
  }
  return outputs;
}

GVariant* ApplyArguments(const MutterLayout& layout,
                         const std::vector<linux_desktop::DesktopOutput>& outputs) {
  if (outputs.size() != layout.logicalMonitors.size()) return nullptr;
  GVariantBuilder logicalMonitors;
  g_variant_builder_init(&logicalMonitors, G_VARIANT_TYPE("a(iiduba(ssa{sv}))"));
  for (size_t i = 0; i < outputs.size(); ++i) {
    const MutterLogicalMonitor& logical = layout.logicalMonitors[i];
    const linux_desktop::DesktopOutput& output = outputs[i];
    // Mutter takes a transform beyond 7 and then ends the whole session.
    if (output.name != logical.monitors.front().connector || !output.enabled ||
        !linux_desktop::IsTransform(output.transform)) {
      g_variant_builder_clear(&logicalMonitors);
      return nullptr;
    }
    GVariantBuilder monitors;
    g_variant_builder_init(&monitors, G_VARIANT_TYPE("a(ssa{sv})"));
    for (const MutterMonitor& monitor : logical.monitors) {
      GVariantBuilder properties;
      g_variant_builder_init(&properties, G_VARIANT_TYPE_VARDICT);
      if (monitor.underscanning)
        g_variant_builder_add(&properties, "{sv}", "underscanning", g_variant_new_boolean(TRUE));
      g_variant_builder_add(&monitors, "(ss@a{sv})", monitor.connector.c_str(),
                            monitor.modeId.c_str(), g_variant_builder_end(&properties));
    }
    g_variant_builder_add(&logicalMonitors, "(iidub@a(ssa{sv}))", output.x, output.y, logical.scale,
                          static_cast<uint32_t>(output.transform), logical.primary ? TRUE : FALSE,
                          g_variant_builder_end(&monitors));
  }
  GVariantBuilder properties;
  g_variant_builder_init(&properties, G_VARIANT_TYPE_VARDICT);
  // Named only where it may be: elsewhere Mutter refuses any layout mode.
  if (layout.layoutModeChangeable)
    g_variant_builder_add(&properties, "{sv}", "layout-mode",
                          g_variant_new_uint32(layout.layoutMode));
  return g_variant_new("(uu@a(iiduba(ssa{sv}))@a{sv})", layout.serial, kTemporary,
                       g_variant_builder_end(&logicalMonitors), g_variant_builder_end(&properties));
}

}  // namespace quillet::wayland
