#include "platform/posix/utf8_decoding.h"

#include <gtest/gtest.h>

#include "platform/posix/path_resolver.h"

namespace {

using platform::posix::FromUtf8;
using platform::posix::ToUtf8;

TEST(Utf8DecodingTest, ComesBackToWhatWasEncoded) {
  const std::wstring text = L"/home/ünïcode/\u05E9\u05DC\u05D5\u05DD/\U0001F600/zentara";
  EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
}

TEST(Utf8DecodingTest, EachBadByteBecomesOneReplacementCharacter) {
  EXPECT_EQ(FromUtf8("a\xFF"
                     "b"),
            L"a\uFFFDb");
  EXPECT_EQ(FromUtf8("\xC0\xAF"), L"\uFFFD\uFFFD");            // an overlong "/"
  EXPECT_EQ(FromUtf8("\xED\xA0\x80"), L"\uFFFD\uFFFD\uFFFD");  // a surrogate
  EXPECT_EQ(FromUtf8("x\xE2\x82"), L"x\uFFFD\uFFFD");          // cut short
}

}  // namespace
