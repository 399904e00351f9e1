#pragma once
#include <wayland-client.h>

#include <memory>
#include <utility>

#include "platform/unthrowing.h"

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

// Proxies the compositor announced that a handler could not give a record
// of their own. libwayland lets go of its hold on a proxy that a queued
// event names only if the proxy is still alive when that event is
// dispatched, and of the objects announced to a proxy only through its
// handlers; so these are kept, without a record, until their owner ends,
// after its events. Chained through their user data, so that keeping one
// needs no memory.
class UnkeptProxies {
 public:
  UnkeptProxies() = default;
  UnkeptProxies(const UnkeptProxies&) = delete;
  UnkeptProxies& operator=(const UnkeptProxies&) = delete;
  ~UnkeptProxies() {
    while (last_ != nullptr) {
      wl_proxy* proxy = last_;
      last_ = static_cast<wl_proxy*>(wl_proxy_get_user_data(proxy));
      wl_proxy_destroy(proxy);
    }
  }

  // A proxy whose events announce no objects: it gets no listener.
  template <typename T>
  void Keep(T* proxy) noexcept {
    Link(reinterpret_cast<wl_proxy*>(proxy));
  }
  // A proxy whose events announce objects: `listener` does nothing but keep
  // those with KeepAnnounced.
  template <typename T, typename Listener>
  void Keep(T* proxy, const Listener* listener) noexcept {
    auto* kept = reinterpret_cast<wl_proxy*>(proxy);
    Link(kept);
    wl_proxy_add_listener(kept, reinterpret_cast<void (**)(void)>(const_cast<Listener*>(listener)),
                          wl_proxy_get_user_data(kept));
  }
  // An object announced to a kept proxy, kept with it.
  template <typename T, typename U>
  static void KeepAnnounced(T* announcer, U* proxy) noexcept {
    auto* to = reinterpret_cast<wl_proxy*>(announcer);
    wl_proxy_set_user_data(reinterpret_cast<wl_proxy*>(proxy), wl_proxy_get_user_data(to));
    wl_proxy_set_user_data(to, proxy);
  }

 private:
  void Link(wl_proxy* proxy) noexcept {
    wl_proxy_set_user_data(proxy, last_);
    last_ = proxy;
  }

  wl_proxy* last_ = nullptr;
};

// Does an event's work that may allocate. No exception may cross
// libwayland's C frames, so a failure marks what was being read as unusable.
template <typename Work>
void Unthrowing(bool& failed, Work work) noexcept {
  platform::Unthrowing(std::move(work), [&failed] { failed = true; });
}

}  // namespace quillet::wayland
