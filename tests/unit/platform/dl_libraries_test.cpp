#include "platform/posix/dl_libraries.h"

#include <gtest/gtest.h>

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

}  // namespace
