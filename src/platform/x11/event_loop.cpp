#include "platform/x11/event_loop.h"

#include <poll.h>

#include <algorithm>

#include "platform/posix/handler_guard.h"
#include "platform/x11/x11_connection.h"

namespace platform::x11 {

void EventLoop::Watch(::Window window, EventSink* sink) {
  sinks_[window] = sink;
}

void EventLoop::Unwatch(::Window window) {
  sinks_.erase(window);
  paints_.erase(std::remove(paints_.begin(), paints_.end(), window), paints_.end());
}

void EventLoop::WatchExtension(int opcode, EventSink* sink) {
  extensionSinks_[opcode] = sink;
}

void EventLoop::UnwatchExtension(int opcode) {
  extensionSinks_.erase(opcode);
}

EventSink* EventLoop::SinkOf(const XEvent& event) const {
  if (event.type == GenericEvent) {
    const auto found = extensionSinks_.find(event.xcookie.extension);
    return found != extensionSinks_.end() ? found->second : nullptr;
  }
  const auto found = sinks_.find(event.xany.window);
  return found != sinks_.end() ? found->second : nullptr;
}

TimerQueue::Id EventLoop::StartTimer(uint32_t intervalMilliseconds, std::function<void()> tick) {
  return timers_.Start(
      intervalMilliseconds, [tick = std::move(tick)] { posix::RunHandler(tick); },
      TimerQueue::Clock::now());
}

void EventLoop::StopTimer(TimerQueue::Id timer) {
  timers_.Stop(timer);
}

void EventLoop::WatchDescriptor(int fd, std::function<void()> ready) {
  if (fd >= 0) descriptors_.emplace_back(fd, std::move(ready));
}

void EventLoop::RequestPaint(::Window window) {
  if (std::find(paints_.begin(), paints_.end(), window) == paints_.end()) paints_.push_back(window);
}

void EventLoop::Run() {
  RunUntil([] { return false; });
  // The quit request is used up by the outermost loop, so a later Run runs again.
  if (depth_ == 0) quitting_ = false;
}

void EventLoop::RunUntil(const std::function<bool()>& done) {
  ++depth_;
  while (!quitting_ && !done()) {
    DispatchQueuedEvents();
    if (quitting_ || done()) break;
    DeliverPaints();
    timers_.RunDue(TimerQueue::Clock::now());
    if (quitting_ || done()) break;
    WaitForWork();
  }
  --depth_;
}

void EventLoop::DispatchQueuedEvents() {
  Display* display = connection_.Get();
  while (!quitting_ && XPending(display) > 0) {
    XEvent event;
    XNextEvent(display, &event);
    EventSink* sink = SinkOf(event);
    if (sink == nullptr) continue;
    posix::RunHandler([&] { sink->HandleEvent(event); });
  }
}

void EventLoop::DeliverPaints() {
  std::vector<::Window> paints;
  paints.swap(paints_);
  for (const ::Window window : paints) {
    const auto found = sinks_.find(window);
    if (found == sinks_.end()) continue;
    EventSink* sink = found->second;
    posix::RunHandler([&] { sink->HandlePaint(); });
  }
}

void EventLoop::WaitForWork() {
  Display* display = connection_.Get();
  XFlush(display);
  if (!paints_.empty() || XPending(display) > 0) return;
  int timeout = -1;
  if (const auto deadline = timers_.NextDeadline()) {
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(*deadline - TimerQueue::Clock::now());
    timeout = static_cast<int>(std::clamp<int64_t>(left.count(), 0, 60000));
  }
  std::vector<pollfd> fds{{connection_.Fd(), POLLIN, 0}};
  for (const auto& [fd, ready] : descriptors_) fds.push_back({fd, POLLIN, 0});
  if (partner_ != nullptr) partner_->BeforeWait(fds, timeout);
  // An interrupted or failed wait only means another round.
  const bool ready = poll(fds.data(), fds.size(), timeout) > 0;
  for (size_t i = 0; ready && i < descriptors_.size(); ++i) {
    if (fds[i + 1].revents != 0) posix::RunHandler(descriptors_[i].second);
  }
  if (partner_ != nullptr) posix::RunHandler([&] { partner_->AfterWait(fds); });
}

}  // namespace platform::x11
