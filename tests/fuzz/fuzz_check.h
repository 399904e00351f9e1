#pragma once
#include <cstdio>
#include <cstdlib>

namespace fuzzing {

// A property of the code under test that failed ends the run as a crash, so
// that libFuzzer keeps the input that broke it.
inline void Require(bool holds, const char* property) {
  if (holds) return;
  std::fprintf(stderr, "Property failed: %s\n", property);
  std::abort();
}

}  // namespace fuzzing
