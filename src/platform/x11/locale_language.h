#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace platform::x11 {

// The language identifier (as Windows numbers languages) of a POSIX locale
// name such as "ar_SA.UTF-8" or "he_IL@euro": Arabic by its country
// (0x0401 Saudi Arabia, 0x0801 Iraq, ... 0x4001 Qatar), every other language
// as its primary language with the default sub-language (he: 0x040D,
// en: 0x0409). "C", "POSIX", an empty name and unknown languages give 0x0409.
uint16_t LanguageOfLocale(std::string_view locale);

// The user's first language, as GLib ranks them for messages: the first
// entry of LANGUAGE (a list such as "he:en"), else the first non-empty of
// LC_ALL, LC_MESSAGES and LANG; "C" when none is set.
std::string PreferredLocale();

}  // namespace platform::x11
