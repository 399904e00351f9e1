#include "platform/gio/sensor_proxy.h"

#include <utility>
#include <vector>

#include "platform/gio/accelerometer_orientation.h"
#include "platform/gio/bus_connection.h"
#include "platform/gio/desktop_rotation_services.h"
#include "platform/posix/handler_guard.h"

namespace platform::gio {
namespace {

constexpr char kService[] = "net.hadess.SensorProxy";
constexpr char kPath[] = "/net/hadess/SensorProxy";
constexpr char kInterface[] = "net.hadess.SensorProxy";
constexpr char kProperties[] = "org.freedesktop.DBus.Properties";
// No wait on a bus or a service is longer than this.
constexpr int kTimeoutMs = 1000;

bool DesktopHasRotationService() {
  GDBusConnection* session = ConnectBus(SessionBusAddress(), kTimeoutMs);
  if (session == nullptr) return false;
  const std::vector<std::string> names = OwnedNames(session, kTimeoutMs);
  g_dbus_connection_close_sync(session, nullptr, nullptr);
  g_object_unref(session);
  return DesktopTurnsScreens(names);
}

// The reply of an asynchronous call, or null. Null also when the call was
// cancelled, which happens only once its SensorProxy is gone.
GVariant* Finish(GObject* bus, GAsyncResult* result, bool& cancelled) {
  GError* error = nullptr;
  GVariant* reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(bus), result, &error);
  cancelled = error != nullptr && g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED);
  if (error != nullptr) g_error_free(error);
  return reply;
}

}  // namespace

SensorProxy::~SensorProxy() {
  Release();
}

void SensorProxy::Follow(std::function<void(int32_t code)> reading) {
  if (bus_ != nullptr || DesktopHasRotationService()) return;
  bus_ = ConnectBus(SystemBusAddress(), kTimeoutMs);
  if (bus_ == nullptr) return;
  reading_ = std::move(reading);
  cancellable_ = g_cancellable_new();
  subscription_ = g_dbus_connection_signal_subscribe(
      bus_, nullptr, kProperties, "PropertiesChanged", kPath, kInterface, G_DBUS_SIGNAL_FLAGS_NONE,
      &OnPropertiesChanged, this, nullptr);
  watch_ = g_bus_watch_name_on_connection(bus_, kService, G_BUS_NAME_WATCHER_FLAGS_NONE,
                                          &OnAppeared, &OnVanished, this, nullptr);
}

void SensorProxy::Release() {
  if (bus_ == nullptr) return;
  g_bus_unwatch_name(watch_);
  g_dbus_connection_signal_unsubscribe(bus_, subscription_);
  g_cancellable_cancel(cancellable_);
  // A claim on its way may have arrived: give that back too.
  if (!owner_.empty() && (claimed_ || claiming_)) {
    GVariant* reply = g_dbus_connection_call_sync(
        bus_, owner_.c_str(), kPath, kInterface, "ReleaseAccelerometer", nullptr, nullptr,
        G_DBUS_CALL_FLAGS_NO_AUTO_START, kTimeoutMs, nullptr, nullptr);
    if (reply != nullptr) g_variant_unref(reply);
  }
  g_dbus_connection_close_sync(bus_, nullptr, nullptr);
  g_object_unref(bus_);
  g_object_unref(cancellable_);
  bus_ = nullptr;
  cancellable_ = nullptr;
  reading_ = nullptr;
  owner_.clear();
  claiming_ = claimed_ = hasAccelerometer_ = false;
  reported_ = 0;
}

void SensorProxy::OnAppeared(GDBusConnection*, const gchar*, const gchar* owner, gpointer self) {
  auto& proxy = *static_cast<SensorProxy*>(self);
  proxy.owner_ = owner;
  proxy.claiming_ = proxy.claimed_ = proxy.hasAccelerometer_ = false;
  g_dbus_connection_call(proxy.bus_, owner, kPath, kProperties, "GetAll",
                         g_variant_new("(s)", kInterface), G_VARIANT_TYPE("(a{sv})"),
                         G_DBUS_CALL_FLAGS_NO_AUTO_START, kTimeoutMs, proxy.cancellable_,
                         &OnProperties, self);
}

void SensorProxy::OnVanished(GDBusConnection*, const gchar*, gpointer self) {
  auto& proxy = *static_cast<SensorProxy*>(self);
  proxy.owner_.clear();
  proxy.claiming_ = proxy.claimed_ = proxy.hasAccelerometer_ = false;
  proxy.reported_ = 0;
}

void SensorProxy::OnPropertiesChanged(GDBusConnection*, const gchar* sender, const gchar*,
                                      const gchar*, const gchar*, GVariant* parameters,
                                      gpointer self) {
  auto& proxy = *static_cast<SensorProxy*>(self);
  // Anyone may send the signal; only the service's own counts.
  if (proxy.owner_.empty() || sender == nullptr || proxy.owner_ != sender) return;
  if (!g_variant_is_of_type(parameters, G_VARIANT_TYPE("(sa{sv}as)"))) return;
  GVariant* changed = g_variant_get_child_value(parameters, 1);
  proxy.Take(changed);
  g_variant_unref(changed);
}

void SensorProxy::OnProperties(GObject* bus, GAsyncResult* result, gpointer self) {
  bool cancelled = false;
  GVariant* reply = Finish(bus, result, cancelled);
  if (cancelled || reply == nullptr) return;
  GVariant* properties = g_variant_get_child_value(reply, 0);
  static_cast<SensorProxy*>(self)->Take(properties);
  g_variant_unref(properties);
  g_variant_unref(reply);
}

void SensorProxy::OnClaimed(GObject* bus, GAsyncResult* result, gpointer self) {
  bool cancelled = false;
  GVariant* reply = Finish(bus, result, cancelled);
  if (cancelled) return;
  auto& proxy = *static_cast<SensorProxy*>(self);
  proxy.claiming_ = false;
  if (reply == nullptr) return;  // refused: nothing to follow
  g_variant_unref(reply);
  proxy.claimed_ = true;
  proxy.Report();
}

void SensorProxy::Take(GVariant* properties) {
  gboolean has = FALSE;
  if (g_variant_lookup(properties, "HasAccelerometer", "b", &has)) {
    hasAccelerometer_ = has != FALSE;
    if (!hasAccelerometer_) claimed_ = false;
  }
  const gchar* orientation = nullptr;
  if (g_variant_lookup(properties, "AccelerometerOrientation", "&s", &orientation))
    orientation_ = orientation;
  if (hasAccelerometer_ && !claimed_ && !claiming_) Claim();
  Report();
}

void SensorProxy::Claim() {
  claiming_ = true;
  g_dbus_connection_call(bus_, owner_.c_str(), kPath, kInterface, "ClaimAccelerometer", nullptr,
                         nullptr, G_DBUS_CALL_FLAGS_NO_AUTO_START, kTimeoutMs, cancellable_,
                         &OnClaimed, this);
}

void SensorProxy::Report() {
  const int32_t code = OrientationCode(orientation_);
  if (!claimed_ || code == 0 || code == reported_) return;
  reported_ = code;
  // The reading runs inside a GLib callback: nothing may be thrown through it.
  posix::RunHandler([&] {
    if (reading_) reading_(code);
  });
}

}  // namespace platform::gio
