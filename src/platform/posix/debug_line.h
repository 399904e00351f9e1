#pragma once
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace platform::posix {

// The program's debug output: a line on standard error, written only while
// ZENTARA_DEBUG is set to a non-empty value. Started at every login, the
// program would otherwise add its lines to the session's journal each time.
inline void WriteDebugLine(std::string_view line) {
  const char* asked = std::getenv("ZENTARA_DEBUG");
  if (asked == nullptr || *asked == '\0') return;
  const std::string text = std::string(line) + '\n';
  std::fwrite(text.data(), 1, text.size(), stderr);
}

}  // namespace platform::posix
