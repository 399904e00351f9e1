#pragma once
#include <wayland-client.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "rotation/linux_desktop/wayland/wayland_connection.h"
#include "rotation/linux_desktop/wayland/wayland_proxy.h"

// What every adapter of an output-management protocol does the same way: the
// modes an output announces, and the compositor's answer to a configuration.
namespace quillet::wayland {

// One mode an output announced, with the size it gave. A mode the compositor
// removes is only marked in its own event and let go of at the next read
// (DropRemovedModes): no proxy is destroyed inside its own handler.
template <typename ModeProxy>
struct Mode {
  ModeProxy proxy;
  int32_t width = 0;
  int32_t height = 0;
  bool removed = false;
};

// The handlers of a mode's size and removal events, for its listener.
template <typename ModeRecord, typename Wire>
void OnModeSize(void* data, Wire*, int32_t width, int32_t height) {
  static_cast<ModeRecord*>(data)->width = width;
  static_cast<ModeRecord*>(data)->height = height;
}
template <typename ModeRecord, typename Wire>
void OnModeRemoved(void* data, Wire*) {
  static_cast<ModeRecord*>(data)->removed = true;
}

// Keeps a mode an output announced, listened to by `listener`. When its record
// cannot be made the output is marked failed and the proxy is kept unrecorded:
// a later current-mode event may still name it.
template <typename ModeRecord, typename Wire, typename Listener>
void AddMode(std::vector<std::unique_ptr<ModeRecord>>& modes, UnkeptProxies& unkept, bool& failed,
             Wire* proxy, const Listener* listener) {
  decltype(ModeRecord::proxy) owned(proxy);
  Unthrowing(failed, [&] {
    modes.push_back(std::make_unique<ModeRecord>());
    ModeRecord& mode = *modes.back();
    mode.proxy = std::move(owned);
    wl_proxy_add_listener(reinterpret_cast<wl_proxy*>(proxy),
                          reinterpret_cast<void (**)(void)>(const_cast<Listener*>(listener)),
                          &mode);
  });
  if (owned) unkept.Keep(owned.release());
}

// The record of the mode `current` names, or null.
template <typename ModeRecord, typename Wire>
const ModeRecord* FindMode(const std::vector<std::unique_ptr<ModeRecord>>& modes,
                           const Wire* current) {
  for (const auto& mode : modes)
    if (mode->proxy.get() == current) return mode.get();
  return nullptr;
}

// Lets go of the modes the compositor removed; `current` no longer names one.
template <typename ModeRecord, typename Wire>
void DropRemovedModes(std::vector<std::unique_ptr<ModeRecord>>& modes, Wire*& current) {
  std::erase_if(modes, [&current](const std::unique_ptr<ModeRecord>& mode) {
    if (!mode->removed) return false;
    if (mode->proxy.get() == current) current = nullptr;
    return true;
  });
}

// The compositor's answer to a configuration, set by OnAnswer handlers.
enum class Answer { kPending, kApplied, kFailed, kCancelled };
template <Answer kAnswer, typename Wire>
void OnAnswer(void* data, Wire*) {
  *static_cast<Answer*>(data) = kAnswer;
}

// Waits for the answer, within the connection's bounded time: some
// compositors never answer. True only when the configuration was applied.
inline bool AwaitApplied(WaylandConnection& connection, const Answer& answer) {
  connection.DispatchUntil([&answer] { return answer != Answer::kPending; });
  return answer == Answer::kApplied;
}

}  // namespace quillet::wayland
