#include "platform/x11/locale_language.h"

#include <glib.h>

#include "platform/language_ids.h"

namespace platform::x11 {
namespace {

using namespace language_ids;

struct Entry {
  std::string_view code;
  uint16_t id;
};

// ISO 639 codes and the primary language numbers they have on Windows.
constexpr Entry kPrimaryLanguages[] = {
    {"af", 0x36}, {"am", 0x5E}, {"ar", 0x01}, {"az", 0x2C}, {"be", 0x23}, {"bg", 0x02},
    {"bn", 0x45}, {"ca", 0x03}, {"cs", 0x05}, {"cy", 0x52}, {"da", 0x06}, {"de", 0x07},
    {"el", 0x08}, {"en", 0x09}, {"es", 0x0A}, {"et", 0x25}, {"eu", 0x2D}, {"fa", 0x29},
    {"fi", 0x0B}, {"fo", 0x38}, {"fr", 0x0C}, {"ga", 0x3C}, {"gl", 0x56}, {"gu", 0x47},
    {"he", 0x0D}, {"hi", 0x39}, {"hr", 0x1A}, {"hu", 0x0E}, {"hy", 0x2B}, {"id", 0x21},
    {"is", 0x0F}, {"it", 0x10}, {"iw", 0x0D}, {"ja", 0x11}, {"ka", 0x37}, {"kk", 0x3F},
    {"km", 0x53}, {"kn", 0x4B}, {"ko", 0x12}, {"ky", 0x40}, {"lt", 0x27}, {"lv", 0x26},
    {"mk", 0x2F}, {"ml", 0x4C}, {"mn", 0x50}, {"mr", 0x4E}, {"ms", 0x3E}, {"mt", 0x3A},
    {"nb", 0x14}, {"ne", 0x61}, {"nl", 0x13}, {"nn", 0x14}, {"no", 0x14}, {"pa", 0x46},
    {"pl", 0x15}, {"ps", 0x63}, {"pt", 0x16}, {"rm", 0x17}, {"ro", 0x18}, {"ru", 0x19},
    {"sk", 0x1B}, {"sl", 0x24}, {"sq", 0x1C}, {"sr", 0x1A}, {"sv", 0x1D}, {"sw", 0x41},
    {"ta", 0x49}, {"te", 0x4A}, {"tg", 0x28}, {"th", 0x1E}, {"tr", 0x1F}, {"tt", 0x44},
    {"uk", 0x22}, {"ur", 0x20}, {"uz", 0x43}, {"vi", 0x2A}, {"zh", 0x04},
};

// The Arabic-speaking countries with a language identifier of their own.
constexpr Entry kArabicCountries[] = {
    {"SA", kArabicSaudiArabia}, {"IQ", kArabicIraq},
    {"EG", kArabicEgypt},       {"LY", kArabicLibya},
    {"DZ", kArabicAlgeria},     {"MA", kArabicMorocco},
    {"TN", kArabicTunisia},     {"OM", kArabicOman},
    {"YE", kArabicYemen},       {"SY", kArabicSyria},
    {"JO", kArabicJordan},      {"LB", kArabicLebanon},
    {"KW", kArabicKuwait},      {"AE", kArabicUnitedArabEmirates},
    {"BH", kArabicBahrain},     {"QA", kArabicQatar},
};

template <size_t N>
uint16_t Find(const Entry (&table)[N], std::string_view code, uint16_t fallback) {
  for (const Entry& entry : table) {
    if (entry.code == code) return entry.id;
  }
  return fallback;
}

}  // namespace

uint16_t LanguageOfLocale(std::string_view locale) {
  // language[_territory][.codeset][@modifier]
  const std::string_view name = locale.substr(0, locale.find_first_of(".@"));
  const size_t separator = name.find('_');
  const std::string_view language = name.substr(0, separator);
  const std::string_view country =
      separator == std::string_view::npos ? std::string_view() : name.substr(separator + 1);
  const uint16_t primary = Find(kPrimaryLanguages, language, 0);
  if (primary == 0) return kEnglishUnitedStates;
  const uint16_t byDefault = kDefaultSubLanguage | primary;
  if (primary == kPrimaryArabic) return Find(kArabicCountries, country, byDefault);
  return byDefault;
}

std::string PreferredLocale() {
  for (const gchar* const* name = g_get_language_names(); *name != nullptr; ++name) {
    if (**name != '\0') return *name;
  }
  return {};
}

}  // namespace platform::x11
