#include "platform/posix/path_resolver.h"

#include <gtest/gtest.h>

#include <fstream>

#include "scratch_folder.h"

namespace {

using platform::posix::ResolvePath;
using platform::posix::ToUtf8;

class PathResolverTest : public ::testing::Test {
 protected:
  void SetUp() override { root = folder.Path().string(); }
  void Touch(const std::string& relative) {
    const std::filesystem::path file = folder.Path() / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file).put('x');
  }
  std::wstring Wide(const std::string& text) { return std::filesystem::path(text).wstring(); }

  testing_support::ScratchFolder folder;
  std::string root;
};

TEST_F(PathResolverTest, TheImagesFolderAndTheLibraryFolderAreOneFolderWhateverTheCase) {
  Touch("app/images/Quillet.dll");
  Touch("app/images/None.png");
  EXPECT_EQ(ResolvePath(Wide(root) + L"\\app\\Images\\Quillet.dll"),
            root + "/app/images/Quillet.dll");
  EXPECT_EQ(ResolvePath(Wide(root) + L"\\app\\images\\none.PNG"), root + "/app/images/None.png");
}

TEST_F(PathResolverTest, AnExactSpellingWinsOverOtherCases) {
  Touch("Images/a");
  Touch("images/b");
  EXPECT_EQ(ResolvePath(Wide(root) + L"/images/b"), root + "/images/b");
  EXPECT_EQ(ResolvePath(Wide(root) + L"/Images/a"), root + "/Images/a");
  // Neither spelled so: the first in byte order ("I" < "i").
  EXPECT_EQ(ResolvePath(Wide(root) + L"/IMAGES/a"), root + "/Images/a");
}

TEST_F(PathResolverTest, WhatExistsNowhereIsKeptAsSpelled) {
  Touch("Button/X/n.png");
  EXPECT_EQ(ResolvePath(Wide(root) + L"\\button\\Turn Left\\N.png"),
            root + "/Button/Turn Left/N.png");
  EXPECT_EQ(ResolvePath(L"\\\\no\\such\\place\\"), "/no/such/place/");
  EXPECT_EQ(ResolvePath(L""), "");
}

TEST_F(PathResolverTest, ARelativeNameResolvesFromTheCurrentFolder) {
  Touch("Button/Turn Left/n.png");
  const testing_support::CurrentFolder current(folder.Path());
  EXPECT_EQ(ResolvePath(L"button\\turn left\\N.png"), "Button/Turn Left/n.png");
  EXPECT_EQ(ResolvePath(L".\\BUTTON\\..\\button"), "./Button/../Button");
}

TEST_F(PathResolverTest, NonAsciiNamesMatchByTheirAsciiLetters) {
  Touch(
      "B\xC3\xBC"
      "cher/x");
  EXPECT_EQ(ResolvePath(Wide(root) + L"/b\u00FCcher/X"), root +
                                                             "/B\xC3\xBC"
                                                             "cher/x");
}

TEST(Utf8Test, WideTextBecomesUtf8) {
  EXPECT_EQ(ToUtf8(L"a\\b"), "a\\b");
  EXPECT_EQ(ToUtf8(L"\u00E4\u20AC"), "\xC3\xA4\xE2\x82\xAC");
  EXPECT_EQ(ToUtf8(std::wstring(1, static_cast<wchar_t>(0x1F600))), "\xF0\x9F\x98\x80");
  // A UTF-16 pair in a wide string is one code point; a lone half is replaced.
  EXPECT_EQ(ToUtf8(std::wstring{static_cast<wchar_t>(0xD83D), static_cast<wchar_t>(0xDE00)}),
            "\xF0\x9F\x98\x80");
  EXPECT_EQ(ToUtf8(std::wstring{static_cast<wchar_t>(0xD800), L'x'}), "\xEF\xBF\xBDx");
  EXPECT_EQ(ToUtf8(std::wstring(1, static_cast<wchar_t>(0x110000))), "\xEF\xBF\xBD");
}

}  // namespace
