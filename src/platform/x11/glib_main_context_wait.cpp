#include "platform/x11/glib_main_context_wait.h"

namespace platform::x11 {

GlibMainContextWait::GlibMainContextWait()
    : context_(g_main_context_default()), acquired_(g_main_context_acquire(context_) != FALSE) {}

GlibMainContextWait::~GlibMainContextWait() {
  if (acquired_) g_main_context_release(context_);
}

void GlibMainContextWait::BeforeWait(std::vector<pollfd>& fds, int& timeoutMs) {
  if (!acquired_) return;
  const bool ready = g_main_context_prepare(context_, &priority_) != FALSE;
  gint glibTimeout = -1;
  gint count = 0;
  while ((count = g_main_context_query(context_, priority_, &glibTimeout, glibFds_.data(),
                                       static_cast<gint>(glibFds_.size()))) >
         static_cast<gint>(glibFds_.size()))
    glibFds_.resize(static_cast<size_t>(count));
  glibFds_.resize(static_cast<size_t>(count));
  first_ = fds.size();
  for (const GPollFD& glibFd : glibFds_)
    fds.push_back({glibFd.fd, static_cast<short>(glibFd.events), 0});
  if (ready) glibTimeout = 0;
  if (glibTimeout >= 0 && (timeoutMs < 0 || glibTimeout < timeoutMs)) timeoutMs = glibTimeout;
}

void GlibMainContextWait::AfterWait(const std::vector<pollfd>& fds) {
  if (!acquired_) return;
  for (size_t i = 0; i < glibFds_.size() && first_ + i < fds.size(); ++i)
    glibFds_[i].revents = static_cast<gushort>(fds[first_ + i].revents);
  if (g_main_context_check(context_, priority_, glibFds_.data(),
                           static_cast<gint>(glibFds_.size())))
    g_main_context_dispatch(context_);
}

}  // namespace platform::x11
