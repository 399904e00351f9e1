#include "platform/x11/locale_language.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

namespace {

using platform::x11::LanguageOfLocale;
using platform::x11::PreferredLocale;

TEST(LocaleLanguageTest, ArabicGoesByCountryAndHebrewIsItsOwn) {
  EXPECT_EQ(LanguageOfLocale("ar_SA.UTF-8"), 0x0401);
  EXPECT_EQ(LanguageOfLocale("ar_IQ"), 0x0801);
  EXPECT_EQ(LanguageOfLocale("ar_EG.UTF-8"), 0x0C01);
  EXPECT_EQ(LanguageOfLocale("ar_AE.utf8"), 0x3801);
  EXPECT_EQ(LanguageOfLocale("ar_QA.UTF-8"), 0x4001);
  // Arabic of a country without an identifier of its own, or of none, is still Arabic.
  EXPECT_EQ(LanguageOfLocale("ar_SD.UTF-8"), 0x0401);
  EXPECT_EQ(LanguageOfLocale("ar"), 0x0401);
  EXPECT_EQ(LanguageOfLocale("he_IL.UTF-8"), 0x040D);
  EXPECT_EQ(LanguageOfLocale("iw_IL"), 0x040D);
}

TEST(LocaleLanguageTest, OtherLanguagesTakeTheirDefaultSubLanguage) {
  EXPECT_EQ(LanguageOfLocale("en_US.UTF-8"), 0x0409);
  EXPECT_EQ(LanguageOfLocale("en_GB.UTF-8"), 0x0409);
  EXPECT_EQ(LanguageOfLocale("de_DE@euro"), 0x0407);
  EXPECT_EQ(LanguageOfLocale("fr_CA.ISO-8859-1"), 0x040C);
  EXPECT_EQ(LanguageOfLocale("fa_IR"), 0x0429);
  for (const char* english : {"C", "POSIX", "C.UTF-8", "", "xx_YY", "_SA", "arabic"})
    EXPECT_EQ(LanguageOfLocale(english), 0x0409) << english;
}

// Sets an environment variable for one test and puts the old value back.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const char* value) : name_(name) {
    if (const char* old = getenv(name)) old_ = old;
    had_ = getenv(name) != nullptr;
    setenv(name, value, 1);
  }
  ~ScopedVariable() {
    if (had_)
      setenv(name_, old_.c_str(), 1);
    else
      unsetenv(name_);
  }

 private:
  const char* name_;
  std::string old_;
  bool had_ = false;
};

TEST(LocaleLanguageTest, LanguageComesFirstThenTheFirstNonEmptyOfLcAllLcMessagesAndLang) {
  ScopedVariable language("LANGUAGE", "");
  ScopedVariable all("LC_ALL", "");
  ScopedVariable messages("LC_MESSAGES", "he_IL.UTF-8");
  ScopedVariable lang("LANG", "de_DE.UTF-8");
  EXPECT_EQ(PreferredLocale(), "he_IL.UTF-8");
  {
    ScopedVariable arabic("LC_ALL", "ar_SA.UTF-8");
    EXPECT_EQ(PreferredLocale(), "ar_SA.UTF-8");
    // A Hebrew desktop over an English or Arabic locale: the first of its languages counts.
    ScopedVariable hebrew("LANGUAGE", "he:en");
    EXPECT_EQ(PreferredLocale(), "he");
    ScopedVariable english("LANGUAGE", "en_GB:he");
    EXPECT_EQ(LanguageOfLocale(PreferredLocale()), 0x0409);
  }
  ScopedVariable noMessages("LC_MESSAGES", "");
  EXPECT_EQ(PreferredLocale(), "de_DE.UTF-8");
  ScopedVariable noLang("LANG", "");
  EXPECT_EQ(LanguageOfLocale(PreferredLocale()), 0x0409);
}

}  // namespace
