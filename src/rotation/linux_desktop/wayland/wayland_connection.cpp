#include "rotation/linux_desktop/wayland/wayland_connection.h"

#include <sys/epoll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <iterator>

#include "rotation/linux_desktop/wayland/wayland_proxy.h"

namespace quillet::wayland {
namespace {

// 1 when `fd` can be read (or has broken) within the time, 0 when the time
// ran out, -1 with errno on failure. Through epoll rather than poll: the
// fortified C library leaves a poll of one descriptor unchecked, and Debian's
// package checks then take the whole library for one built without fortified
// calls.
int WaitReadable(int fd, int timeoutMs) {
  const int epoll = epoll_create1(EPOLL_CLOEXEC);
  if (epoll < 0) return -1;
  epoll_event wanted{};
  wanted.events = EPOLLIN;
  wanted.data.fd = fd;
  int ready = epoll_ctl(epoll, EPOLL_CTL_ADD, fd, &wanted);
  if (ready == 0) {
    epoll_event got{};
    ready = epoll_wait(epoll, &got, 1, timeoutMs);
  }
  const int error = errno;
  close(epoll);
  errno = error;
  return ready;
}

}  // namespace
void WaylandConnection::OnGlobal(void* data, wl_registry*, uint32_t name, const char* interface,
                                 uint32_t version) {
  auto& self = *static_cast<WaylandConnection*>(data);
  Unthrowing(self.failed_, [&] { self.globals_.push_back({name, interface, version}); });
}

void WaylandConnection::OnGlobalRemove(void* data, wl_registry*, uint32_t name) {
  auto& globals = static_cast<WaylandConnection*>(data)->globals_;
  std::erase_if(globals, [name](const Global& global) { return global.name == name; });
}

WaylandConnection::WaylandConnection() {
  static constexpr wl_registry_listener listener = {&OnGlobal, &OnGlobalRemove};
  display_ = wl_display_connect(nullptr);
  if (display_ == nullptr) return;
  registry_ = wl_display_get_registry(display_);
  if (registry_ == nullptr) return;
  wl_registry_add_listener(registry_, &listener, this);
  if (!Roundtrip()) {
    wl_registry_destroy(registry_);
    registry_ = nullptr;
  }
}

WaylandConnection::~WaylandConnection() {
  if (registry_ != nullptr) wl_registry_destroy(registry_);
  if (display_ != nullptr) wl_display_disconnect(display_);
}

std::optional<Global> WaylandConnection::Find(std::string_view interface) const {
  for (const Global& global : globals_)
    if (global.interface == interface) return global;
  return std::nullopt;
}

std::vector<Global> WaylandConnection::FindAll(std::string_view interface) const {
  std::vector<Global> found;
  std::copy_if(globals_.begin(), globals_.end(), std::back_inserter(found),
               [interface](const Global& global) { return global.interface == interface; });
  return found;
}

void* WaylandConnection::Bind(std::string_view interface, const wl_interface* type, uint32_t oldest,
                              uint32_t newest) {
  const std::optional<Global> global = Find(interface);
  if (!IsConnected() || !global || global->version < oldest) return nullptr;
  return wl_registry_bind(registry_, global->name, type, std::min(global->version, newest));
}

bool WaylandConnection::DispatchUntil(const std::function<bool()>& done, int timeoutMs) {
  if (display_ == nullptr || failed_) return false;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!done()) {
    if (wl_display_dispatch_pending(display_) < 0) return false;
    if (done()) break;
    // Everything queued is handled; wait for more.
    if (wl_display_prepare_read(display_) != 0) continue;
    if (wl_display_flush(display_) < 0 && errno != EAGAIN) {
      wl_display_cancel_read(display_);
      return false;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      wl_display_cancel_read(display_);
      return false;
    }
    const int ready = WaitReadable(wl_display_get_fd(display_), static_cast<int>(left.count()));
    if (ready <= 0) {
      wl_display_cancel_read(display_);
      if (ready < 0 && errno == EINTR) continue;
      return false;
    }
    if (wl_display_read_events(display_) < 0) return false;
  }
  return !failed_;
}

bool WaylandConnection::Roundtrip(int timeoutMs) {
  if (display_ == nullptr) return false;
  bool done = false;
  static constexpr wl_callback_listener listener = {
      [](void* data, wl_callback*, uint32_t) { *static_cast<bool*>(data) = true; }};
  wl_callback* callback = wl_display_sync(display_);
  if (callback == nullptr) return false;
  wl_callback_add_listener(callback, &listener, &done);
  const bool answered = DispatchUntil([&done] { return done; }, timeoutMs);
  wl_callback_destroy(callback);
  return answered;
}

}  // namespace quillet::wayland
