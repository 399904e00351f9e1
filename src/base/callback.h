#pragma once
#include <functional>
#include <utility>

#include "base/object.h"

// A bound callback: a target object together with one of its member functions.
// Empty by default; calling an empty callback does nothing.
template <typename... Args>
class Callback {
 public:
  Callback() = default;

  template <typename Target>
  Callback(Target* target, void (Target::*method)(Args...))
      : target_(target), invoke_([target, method](Args... args) { (target->*method)(args...); }) {}

  // For callers whose target is not a class-library object (tests, adapters).
  static Callback FromFunction(std::function<void(Args...)> function) {
    Callback callback;
    callback.invoke_ = std::move(function);
    return callback;
  }

  explicit operator bool() const { return static_cast<bool>(invoke_); }
  const void* Target() const { return target_; }

  void operator()(Args... args) const {
    if (invoke_) invoke_(args...);
  }

 private:
  const void* target_ = nullptr;
  std::function<void(Args...)> invoke_;
};

using TNotifyEvent = Callback<TObject*>;
