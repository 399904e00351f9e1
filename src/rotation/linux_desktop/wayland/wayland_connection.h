#pragma once
#include <wayland-client.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillet::wayland {

// A global the compositor offers: its number, interface and version.
struct Global {
  uint32_t name = 0;
  std::string interface;
  uint32_t version = 0;
};

// A connection of our own to the compositor of $WAYLAND_DISPLAY, with the
// globals it offered when we connected. Closed again with this object.
class WaylandConnection {
 public:
  // Every wait is bounded: some compositors never answer some requests.
  static constexpr int kTimeoutMs = 2000;

  // Unconnected when no compositor answers.
  WaylandConnection();
  ~WaylandConnection();
  WaylandConnection(const WaylandConnection&) = delete;
  WaylandConnection& operator=(const WaylandConnection&) = delete;

  bool IsConnected() const { return display_ != nullptr && registry_ != nullptr; }
  wl_registry* registry() const { return registry_; }

  std::optional<Global> Find(std::string_view interface) const;
  // Every global of the interface, as for the outputs, offered once each, in
  // the order offered.
  std::vector<Global> FindAll(std::string_view interface) const;

  // Binds the global at a version both sides know; null when it is missing
  // or older than `oldest`.
  void* Bind(std::string_view interface, const wl_interface* type, uint32_t oldest,
             uint32_t newest);

  // Dispatches the compositor's events until `done` says so; false when the
  // time runs out first, the connection breaks, or the list of globals could
  // not be kept.
  bool DispatchUntil(const std::function<bool()>& done, int timeoutMs = kTimeoutMs);
  // Waits until the compositor has handled everything sent so far.
  bool Roundtrip(int timeoutMs = kTimeoutMs);

 private:
  static void OnGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface,
                       uint32_t version);
  static void OnGlobalRemove(void* data, wl_registry* registry, uint32_t name);

  wl_display* display_ = nullptr;
  wl_registry* registry_ = nullptr;
  std::vector<Global> globals_;
  bool failed_ = false;
};

}  // namespace quillet::wayland
