#include "platform/gio/bus_connection.h"

#include <glib/gstdio.h>
#include <sys/stat.h>

#include <cstdlib>

namespace platform::gio {
namespace {

// "unix:path=…" for a socket that is there; empty otherwise.
std::string SocketAddress(const std::string& socket) {
  GStatBuf status;
  if (g_stat(socket.c_str(), &status) != 0 || !S_ISSOCK(status.st_mode)) return {};
  gchar* escaped = g_dbus_address_escape_value(socket.c_str());
  std::string address = std::string("unix:path=") + escaped;
  g_free(escaped);
  return address;
}

std::string Named(const char* variable) {
  const char* named = std::getenv(variable);
  return named != nullptr ? named : "";
}

struct Connecting {
  GDBusConnection* connection = nullptr;
  bool done = false;
};

void Connected(GObject*, GAsyncResult* result, gpointer data) {
  auto* connecting = static_cast<Connecting*>(data);
  connecting->connection = g_dbus_connection_new_for_address_finish(result, nullptr);
  connecting->done = true;
}

gboolean GiveUp(gpointer cancellable) {
  g_cancellable_cancel(static_cast<GCancellable*>(cancellable));
  return G_SOURCE_REMOVE;
}

}  // namespace

std::string SessionBusAddress() {
  if (std::string named = Named("DBUS_SESSION_BUS_ADDRESS"); !named.empty()) return named;
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime == nullptr || runtime[0] != '/') return {};
  return SocketAddress(std::string(runtime) + "/bus");
}

std::string SystemBusAddress() {
  if (std::string named = Named("DBUS_SYSTEM_BUS_ADDRESS"); !named.empty()) return named;
  return SocketAddress("/run/dbus/system_bus_socket");
}

GDBusConnection* ConnectBus(const std::string& address, int timeoutMs) {
  if (address.empty()) return nullptr;
  GMainContext* context = g_main_context_new();
  g_main_context_push_thread_default(context);
  GCancellable* cancellable = g_cancellable_new();
  GSource* timeout = g_timeout_source_new(static_cast<guint>(timeoutMs));
  g_source_set_callback(timeout, &GiveUp, cancellable, nullptr);
  g_source_attach(timeout, context);

  Connecting connecting;
  g_dbus_connection_new_for_address(
      address.c_str(),
      static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                        G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
      nullptr, cancellable, &Connected, &connecting);
  while (!connecting.done) g_main_context_iteration(context, TRUE);

  g_source_destroy(timeout);
  g_source_unref(timeout);
  g_object_unref(cancellable);
  g_main_context_pop_thread_default(context);
  g_main_context_unref(context);
  return connecting.connection;
}

std::vector<std::string> OwnedNames(GDBusConnection* connection, int timeoutMs) {
  std::vector<std::string> names;
  if (connection == nullptr) return names;
  GVariant* reply = g_dbus_connection_call_sync(
      connection, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
      "ListNames", nullptr, G_VARIANT_TYPE("(as)"), G_DBUS_CALL_FLAGS_NO_AUTO_START, timeoutMs,
      nullptr, nullptr);
  if (reply == nullptr) return names;
  GVariantIter* iter = nullptr;
  g_variant_get(reply, "(as)", &iter);
  const gchar* name = nullptr;
  while (g_variant_iter_next(iter, "&s", &name)) names.emplace_back(name);
  g_variant_iter_free(iter);
  g_variant_unref(reply);
  return names;
}

}  // namespace platform::gio
