#include "rotation/x11/session_bus.h"

#include <glib/gstdio.h>
#include <sys/stat.h>

#include <cstdlib>

namespace quillet::x11 {
namespace {

// The session's bus address; empty when there is none. GIO's own lookup
// would start a bus of its own (autolaunch) when it finds none.
std::string SessionAddress() {
  const char* named = std::getenv("DBUS_SESSION_BUS_ADDRESS");
  if (named != nullptr && named[0] != '\0') return named;
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime == nullptr || runtime[0] != '/') return {};
  const std::string socket = std::string(runtime) + "/bus";
  GStatBuf status;
  if (g_stat(socket.c_str(), &status) != 0 || !S_ISSOCK(status.st_mode)) return {};
  gchar* escaped = g_dbus_address_escape_value(socket.c_str());
  std::string address = std::string("unix:path=") + escaped;
  g_free(escaped);
  return address;
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

// Connects and says hello to the bus, on a main context of its own so that
// the caller's loop (if any) runs nothing of ours, within the timeout.
GDBusConnection* Connect(const std::string& address) {
  GMainContext* context = g_main_context_new();
  g_main_context_push_thread_default(context);
  GCancellable* cancellable = g_cancellable_new();
  GSource* timeout = g_timeout_source_new(SessionBus::kTimeoutMs);
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

}  // namespace

SessionBus::SessionBus() {
  const std::string address = SessionAddress();
  if (!address.empty()) connection_ = Connect(address);
}

SessionBus::~SessionBus() {
  if (connection_ == nullptr) return;
  g_dbus_connection_close_sync(connection_, nullptr, nullptr);
  g_object_unref(connection_);
}

std::vector<std::string> SessionBus::OwnedNames() {
  std::vector<std::string> names;
  const VariantPtr reply =
      Call("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "ListNames",
           nullptr, G_VARIANT_TYPE("(as)"));
  if (!reply) return names;
  GVariantIter* iter = nullptr;
  g_variant_get(reply.get(), "(as)", &iter);
  const gchar* name = nullptr;
  while (g_variant_iter_next(iter, "&s", &name)) names.emplace_back(name);
  g_variant_iter_free(iter);
  return names;
}

VariantPtr SessionBus::Call(const char* service, const char* path, const char* interface,
                            const char* method, GVariant* arguments,
                            const GVariantType* replyType) {
  if (connection_ == nullptr) {
    if (arguments != nullptr) g_variant_unref(g_variant_ref_sink(arguments));
    return nullptr;
  }
  // Never start a service for a question: one that is not running has no answer.
  GVariant* reply = g_dbus_connection_call_sync(
      connection_, service, path, interface, method, arguments, replyType,
      G_DBUS_CALL_FLAGS_NO_AUTO_START, kTimeoutMs, nullptr, nullptr);
  return VariantPtr(reply);
}

}  // namespace quillet::x11
