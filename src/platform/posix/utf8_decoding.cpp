#include "platform/posix/utf8_decoding.h"

namespace platform::posix {
namespace {

constexpr wchar_t kReplacement = 0xFFFD;

// The length of a sequence led by `lead`, 0 for a byte that cannot lead one.
size_t SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

void Append(std::wstring& out, char32_t c) {
  if constexpr (sizeof(wchar_t) >= 4) {
    out.push_back(static_cast<wchar_t>(c));
  } else if (c >= 0x10000) {
    c -= 0x10000;
    out.push_back(static_cast<wchar_t>(0xD800 + (c >> 10)));
    out.push_back(static_cast<wchar_t>(0xDC00 + (c & 0x3FF)));
  } else {
    out.push_back(static_cast<wchar_t>(c));
  }
}

}  // namespace

std::wstring FromUtf8(std::string_view text) {
  std::wstring out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const size_t length = SequenceLength(lead);
    if (length == 0 || i + length > text.size()) {
      out.push_back(kReplacement);
      ++i;
      continue;
    }
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    bool valid = true;
    for (size_t k = 1; k < length && valid; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      valid = (next & 0xC0) == 0x80;
      c = (c << 6) | (next & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are refused.
    const char32_t least[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (!valid || c < least[length] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) {
      out.push_back(kReplacement);
      ++i;
      continue;
    }
    Append(out, c);
    i += length;
  }
  return out;
}

}  // namespace platform::posix
