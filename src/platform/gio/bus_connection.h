#pragma once
#include <gio/gio.h>

#include <string>
#include <vector>

// Reaching a D-Bus message bus without ever waiting on it for long and
// without ever starting one: shared by the program and the rotation library.
namespace platform::gio {

// The session's bus address; empty when there is none. GIO's own lookup
// would start a bus of its own (autolaunch) when it finds none.
std::string SessionBusAddress();
// The system bus's address, named or at its usual place; empty without one.
std::string SystemBusAddress();

// A new private connection that has said hello to the bus at `address`, or
// null when that fails or takes longer than `timeoutMs`. Connecting runs on
// a main context of its own, so the caller's loop runs nothing meanwhile.
GDBusConnection* ConnectBus(const std::string& address, int timeoutMs);

// The names owned on the bus now; empty without an answer within `timeoutMs`.
std::vector<std::string> OwnedNames(GDBusConnection* connection, int timeoutMs);

}  // namespace platform::gio
