#pragma once
#include <gio/gio.h>

#include <memory>
#include <string>
#include <vector>

namespace platform::gio {

struct VariantUnref {
  void operator()(GVariant* value) const { g_variant_unref(value); }
};
using VariantPtr = std::unique_ptr<GVariant, VariantUnref>;

// A private connection to the session's bus, closed again with this object.
// Every wait is bounded: a desktop service that never answers must not hold
// the caller, so connecting and each call give up after a short while.
class SessionBus {
 public:
  static constexpr int kTimeoutMs = 1000;

  // Without a session bus (none named and none at its usual place) the
  // object stays unconnected: a bus is never started on the session's behalf.
  SessionBus();
  ~SessionBus();
  SessionBus(const SessionBus&) = delete;
  SessionBus& operator=(const SessionBus&) = delete;

  bool IsConnected() const { return connection_ != nullptr; }

  // The names owned on the bus now; empty without a bus or an answer.
  std::vector<std::string> OwnedNames();

  // The reply of a method call, of the given type; null on any failure,
  // refusal or silence. Floating arguments are consumed. When the service
  // refuses with a D-Bus error, its name goes to `errorName` if given.
  VariantPtr Call(const char* service, const char* path, const char* interface, const char* method,
                  GVariant* arguments, const GVariantType* replyType,
                  std::string* errorName = nullptr);

 private:
  GDBusConnection* connection_ = nullptr;
};

}  // namespace platform::gio
