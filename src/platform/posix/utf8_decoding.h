#pragma once
#include <string>
#include <string_view>

namespace platform::posix {

// The wide form of UTF-8 text; bytes that are not well-formed UTF-8 become
// U+FFFD each.
std::wstring FromUtf8(std::string_view text);

}  // namespace platform::posix
