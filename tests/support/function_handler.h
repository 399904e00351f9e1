#pragma once
// An event handler made of a test's own function. Events bind a method of an
// object, so the handler is that object: it must outlive every use of Event().
#include <functional>
#include <utility>

#include "base/callback.h"

namespace testing_support {

template <typename... Args>
class FunctionHandler {
 public:
  explicit FunctionHandler(std::function<void(Args...)> function)
      : function_(std::move(function)) {}
  FunctionHandler(const FunctionHandler&) = delete;
  FunctionHandler& operator=(const FunctionHandler&) = delete;

  Callback<Args...> Event() { return Callback<Args...>(this, &FunctionHandler::Handle); }

 private:
  void Handle(Args... args) { function_(args...); }

  std::function<void(Args...)> function_;
};

}  // namespace testing_support
