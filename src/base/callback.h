#pragma once
#include <functional>
#include <type_traits>
#include <utility>

#include "base/object.h"

// A bound callback: a target object together with one of its member functions.
// Empty by default; calling an empty callback does nothing.
template <typename... Args>
class Callback {
 public:
  Callback() = default;

  // The method may belong to a base class of the target. A null target gives
  // an empty callback.
  template <typename Target, typename Owner>
  requires std::is_base_of_v<Owner, Target> Callback(Target* target,
                                                     void (Owner::*method)(Args...)) {
    if (target == nullptr || method == nullptr) return;
    Owner* owner = target;
    invoke_ = [owner, method](Args... args) { (owner->*method)(args...); };
  }

  explicit operator bool() const { return static_cast<bool>(invoke_); }

  void operator()(Args... args) const {
    if (invoke_) invoke_(args...);
  }

 private:
  std::function<void(Args...)> invoke_;
};

using TNotifyEvent = Callback<TObject*>;
