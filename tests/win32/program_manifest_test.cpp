// The test program carries Zentara.exe's manifest, and the system reads it as
// it reads the program's. (Wine reports per-monitor awareness with or without
// one, so only the version shows that the manifest is read.)
#include <windows.h>

#include <gtest/gtest.h>

namespace {

TEST(ProgramManifest, VersionQueriesTellTheTruthOnTheSessionsWindows10) {
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  ASSERT_TRUE(::GetVersionExW(&version));
#pragma GCC diagnostic pop
  // Without Windows 10 among the supported systems the answer would be 6.2.
  EXPECT_EQ(version.dwMajorVersion, 10u);
  EXPECT_EQ(version.dwMinorVersion, 0u);
}

}  // namespace
