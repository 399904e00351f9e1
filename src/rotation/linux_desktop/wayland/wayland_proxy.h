#pragma once
#include <wayland-client.h>

#include <memory>

namespace quillet::wayland {

// Frees our side of a protocol object whose interface has no destructor
// request (or whose request the compositor no longer needs: the connection
// closes soon after).
struct ProxyDeleter {
  void operator()(void* proxy) const { wl_proxy_destroy(static_cast<wl_proxy*>(proxy)); }
};
template <typename T>
using Proxy = std::unique_ptr<T, ProxyDeleter>;

// Does an event's work that may allocate. No exception may cross
// libwayland's C frames, so a failure marks what was being read as unusable.
template <typename Work>
void Unthrowing(bool& failed, Work work) noexcept {
  try {
    work();
  } catch (...) {
    failed = true;
  }
}

}  // namespace quillet::wayland
