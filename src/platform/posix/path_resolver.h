#pragma once
#include <string>
#include <string_view>

namespace platform::posix {

// The UTF-8 form of a wide string; code points that cannot be encoded
// (lone surrogates, values past U+10FFFF) become U+FFFD.
std::string ToUtf8(std::wstring_view text);

// Turns a file name written as the program writes it on Windows ("\"
// separators, any letter case) into one this file system opens: backslashes
// become slashes, and a component that does not exist as spelled is matched
// against its folder's entries without regard to ASCII letter case, so that
// "images\" and "Images\" reach the same folder. When several entries match,
// the first in byte order wins; when none does, the rest is kept as spelled.
std::string ResolvePath(std::wstring_view path);

}  // namespace platform::posix
