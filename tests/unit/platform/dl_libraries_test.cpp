#include "platform/posix/dl_libraries.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "scratch_folder.h"

namespace {

using platform::posix::DlLibraries;

TEST(DlLibrariesTest, NamesLibrariesTheUnixWay) {
  DlLibraries libraries;
  EXPECT_EQ(libraries.FileName(L"Quillet"), L"libquillet.so");
}

TEST(DlLibrariesTest, LoadsLooksUpAndRefusesWhatIsMissing) {
  DlLibraries libraries;
  EXPECT_EQ(libraries.Load(L"/nonexistent/Images\\libquillet.so"), 0u);
  EXPECT_EQ(libraries.Symbol(0, "RT_GetAngle"), nullptr);
  const platform::LibraryHandle math = libraries.Load(L"libm.so.6");
  ASSERT_NE(math, 0u);
  EXPECT_NE(libraries.Symbol(math, "cos"), nullptr);
  EXPECT_EQ(libraries.Symbol(math, "RT_GetAngle"), nullptr);
  libraries.Free(math);
}

TEST(DlLibrariesTest, NeverLoadsFromThePlaceTheProgramWasStartedIn) {
  testing_support::ScratchFolder folder;
  std::filesystem::create_directory(folder.Path() / "images");
  std::filesystem::copy_file("/lib/x86_64-linux-gnu/libm.so.6",
                             folder.Path() / "images" / "libm.so.6");
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(folder.Path());
  DlLibraries libraries;
  EXPECT_EQ(libraries.Load(L"images\\libm.so.6"), 0u);
  EXPECT_EQ(libraries.Load(L"./images/libm.so.6"), 0u);
  std::filesystem::current_path(before);
  const platform::LibraryHandle math =
      libraries.Load((folder.Path() / "images" / "libm.so.6").wstring());
  EXPECT_NE(math, 0u);
  libraries.Free(math);
}

}  // namespace
