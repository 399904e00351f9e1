#pragma once
#include <wayland-client.h>

#include <memory>

namespace quillet::wayland {

// Our side of a protocol object, ended by `Destroy`: the interface's
// destructor request where it has one, so that the compositor lets go too.
template <typename T, void (*Destroy)(T*)>
struct ProxyDeleter {
  void operator()(T* proxy) const { Destroy(proxy); }
};
template <typename T, void (*Destroy)(T*)>
using OwnedProxy = std::unique_ptr<T, ProxyDeleter<T, Destroy>>;

// Frees only our side: for interfaces without a destructor request, or
// whose request the compositor no longer needs (the connection closes soon
// after).
template <typename T>
void FreeProxy(T* proxy) {
  wl_proxy_destroy(reinterpret_cast<wl_proxy*>(proxy));
}
template <typename T>
using Proxy = OwnedProxy<T, &FreeProxy<T>>;

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
