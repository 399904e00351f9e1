#pragma once
#include <utility>

namespace platform {

// Runs `work` where no exception may pass: the caller's caller is a C library
// or the system (an event loop, a window procedure, a library's export). An
// exception ends here, and `failure` gives what it means instead of `work`'s
// result.
template <typename Work, typename Failure>
auto Unthrowing(Work&& work, Failure&& failure) noexcept {
  try {
    return std::forward<Work>(work)();
  } catch (...) {
    return std::forward<Failure>(failure)();
  }
}

}  // namespace platform
