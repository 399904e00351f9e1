#pragma once
#include <glib.h>

#include <vector>

#include "platform/x11/event_loop.h"

namespace platform::x11 {

// GLib's default main context, run by the event loop: its descriptors join
// the loop's wait, and what they make ready is dispatched after it. So D-Bus
// answers arrive on the user-interface thread with no thread of our own.
class GlibMainContextWait final : public WaitPartner {
 public:
  GlibMainContextWait();
  ~GlibMainContextWait() override;
  GlibMainContextWait(const GlibMainContextWait&) = delete;
  GlibMainContextWait& operator=(const GlibMainContextWait&) = delete;

  void BeforeWait(std::vector<pollfd>& fds, int& timeoutMs) override;
  void AfterWait(const std::vector<pollfd>& fds) override;

 private:
  GMainContext* context_;
  bool acquired_;
  gint priority_ = 0;
  std::vector<GPollFD> glibFds_;
  size_t first_ = 0;  // where the context's descriptors start in the loop's
};

}  // namespace platform::x11
