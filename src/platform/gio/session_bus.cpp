#include "platform/gio/session_bus.h"

#include "platform/gio/bus_connection.h"

namespace platform::gio {

SessionBus::SessionBus() : connection_(ConnectBus(SessionBusAddress(), kTimeoutMs)) {}

SessionBus::~SessionBus() {
  if (connection_ == nullptr) return;
  g_dbus_connection_close_sync(connection_, nullptr, nullptr);
  g_object_unref(connection_);
}

std::vector<std::string> SessionBus::OwnedNames() {
  return platform::gio::OwnedNames(connection_, kTimeoutMs);
}

VariantPtr SessionBus::Call(const char* service, const char* path, const char* interface,
                            const char* method, GVariant* arguments, const GVariantType* replyType,
                            std::string* errorName) {
  if (connection_ == nullptr) {
    if (arguments != nullptr) g_variant_unref(g_variant_ref_sink(arguments));
    return nullptr;
  }
  // Never start a service for a question: one that is not running has no answer.
  GError* error = nullptr;
  GVariant* reply = g_dbus_connection_call_sync(
      connection_, service, path, interface, method, arguments, replyType,
      G_DBUS_CALL_FLAGS_NO_AUTO_START, kTimeoutMs, nullptr, &error);
  if (error != nullptr) {
    if (errorName != nullptr) {
      gchar* name = g_dbus_error_get_remote_error(error);
      *errorName = name != nullptr ? name : "";
      g_free(name);
    }
    g_error_free(error);
  }
  return VariantPtr(reply);
}

}  // namespace platform::gio
