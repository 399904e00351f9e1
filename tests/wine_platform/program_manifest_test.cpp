// The test program carries Zentara.exe's manifest, and the system reads it as
// it reads the program's. (Wine reports per-monitor awareness with or without
// one, so the version and the Common Controls assembly show that the manifest
// is read.)
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

TEST(ProgramManifest, CommonControlsSixServeTheProcess) {
  // Only a dependency on the Common Controls assembly redirects comctl32.dll
  // in the process's own activation context.
  ACTCTX_SECTION_KEYED_DATA redirection{};
  redirection.cbSize = sizeof redirection;
  EXPECT_TRUE(::FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION,
                                         L"comctl32.dll", &redirection));
}

}  // namespace
