#pragma once
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "rotation/linux_desktop/wayland/wayland_connection.h"
#include "rotation/linux_desktop/wayland/wayland_proxy.h"
#include "rotation/linux_desktop/wlr_heads.h"

struct zxdg_output_manager_v1;

namespace quillet::wayland {

// The outputs the compositor shows clients now (wl_output, with xdg_output's
// place in the layout where offered); their events arrive with the
// connection's next dispatch. Lives no longer than the connection.
class LiveOutputs {
 public:
  explicit LiveOutputs(WaylandConnection& connection);
  ~LiveOutputs();
  LiveOutputs(const LiveOutputs&) = delete;
  LiveOutputs& operator=(const LiveOutputs&) = delete;

  // Binds the outputs that came since and lets go of those that went; true
  // when it bound any (their state comes with the next round trip).
  bool Update();

  // Whether everything the outputs told could be kept.
  bool IsComplete() const { return !failed_; }

  // The output of that name once it told its current mode.
  std::optional<linux_desktop::WlrLiveOutput> Find(std::string_view name) const;

  struct Output;

 private:
  WaylandConnection& connection_;
  Proxy<zxdg_output_manager_v1> xdgManager_;
  std::vector<std::unique_ptr<Output>> outputs_;
  bool failed_ = false;
};

}  // namespace quillet::wayland
