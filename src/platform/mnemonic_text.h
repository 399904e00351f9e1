#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Text with its mnemonic prefixes read: each '&' is gone, and `marks` holds
// where each character it marked now starts (in code units). "&&" stands for
// one literal '&', and a lone '&' at the very end stays as it is.
template <typename Char>
struct MnemonicText {
  std::basic_string<Char> text;
  std::vector<size_t> marks;
};

// Works on UTF-8 as well as on UTF-16 or UTF-32: '&' is never part of a
// longer sequence.
template <typename Char>
MnemonicText<Char> ReadMnemonics(std::basic_string_view<Char> text) {
  MnemonicText<Char> read;
  read.text.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == Char('&') && i + 1 < text.size()) {
      ++i;
      if (text[i] != Char('&')) read.marks.push_back(read.text.size());
    }
    read.text.push_back(text[i]);
  }
  return read;
}

}  // namespace platform
