#pragma once
#include <cstdint>

#include "base/callback.h"
#include "base/object.h"
#include "platform/types.h"

// A periodic timer. Like the class library's, it is enabled from the start and
// runs whenever it is enabled, has a non-zero interval and a tick handler.
class TTimer : public TObject {
 public:
  TTimer() = default;
  ~TTimer() override;

  uint32_t Interval() const { return interval_; }
  void SetInterval(uint32_t milliseconds);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  void SetOnTimer(Callback<TObject*> handler);
  bool Running() const { return running_ != 0; }

 private:
  void Update();

  uint32_t interval_ = 1000;
  bool enabled_ = true;
  Callback<TObject*> onTimer_;
  platform::TimerId running_ = 0;
};
