#include "base/timer.h"

#include "platform/services.h"
#include "platform/timers.h"

TTimer::~TTimer() {
  if (running_ != 0) platform::GetTimers().Stop(running_);
}

void TTimer::SetInterval(uint32_t milliseconds) {
  if (milliseconds == interval_) return;
  interval_ = milliseconds;
  Update();
}

void TTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Update();
}

void TTimer::SetOnTimer(Callback<TObject*> handler) {
  onTimer_ = std::move(handler);
  Update();
}

void TTimer::Update() {
  if (running_ != 0) {
    platform::GetTimers().Stop(running_);
    running_ = 0;
  }
  if (enabled_ && interval_ != 0 && onTimer_) {
    running_ = platform::GetTimers().Start(interval_, [this] { onTimer_(this); });
  }
}
