// Quillet.dll as built, loaded into this process (which has user32) and
// talking to the user32 of the system it runs on: under Wine, one virtual
// display that is not turned and no rotation sensor.
#include <cstdint>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "platform/win32/windows_api.h"

namespace {

using NoArgument = int32_t(WINAPI*)();
using OneArgument = int32_t(WINAPI*)(int32_t);

// The library sits where the program looks for it, relative to this test program.
std::wstring QuilletPath() {
  wchar_t exe[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring path(exe);
  path.erase(path.find_last_of(L"\\/") + 1);
  for (char c : std::string_view(ZENTARA_QUILLET_RELATIVE_PATH)) {
    path += c == '/' ? L'\\' : static_cast<wchar_t>(c);
  }
  return path;
}

class QuilletWithUser32 : public ::testing::Test {
 protected:
  void SetUp() override {
    // Quillet looks user32 up when it is loaded but never loads it itself.
    user32_ = LoadLibraryW(L"user32.dll");
    ASSERT_NE(user32_, nullptr);
    quillet_ = LoadLibraryW(QuilletPath().c_str());
    ASSERT_NE(quillet_, nullptr) << "cannot load Quillet.dll, error " << GetLastError();
  }
  void TearDown() override {
    if (quillet_ != nullptr) FreeLibrary(quillet_);
    if (user32_ != nullptr) FreeLibrary(user32_);
  }

  template <typename Function>
  Function Export(const char* name) {
    return platform::win32::EntryAs<Function>(GetProcAddress(quillet_, name));
  }

  HMODULE user32_ = nullptr;
  HMODULE quillet_ = nullptr;
};

TEST_F(QuilletWithUser32, ExportsItsFourFunctionsByName) {
  EXPECT_NE(Export<NoArgument>("RT_GetAngle"), nullptr);
  EXPECT_NE(Export<OneArgument>("RT_SetAngle"), nullptr);
  EXPECT_NE(Export<NoArgument>("RT_GetAutoRotationOn"), nullptr);
  EXPECT_NE(Export<OneArgument>("RT_SetAutoRotation"), nullptr);
}

TEST_F(QuilletWithUser32, ReadsTheDisplayAsNotTurned) {
  auto getAngle = Export<NoArgument>("RT_GetAngle");
  ASSERT_NE(getAngle, nullptr);
  EXPECT_EQ(getAngle(), 1);
}

TEST_F(QuilletWithUser32, SubmittingTheCurrentOrientationIsAcceptedAndChangesNothing) {
  auto getAngle = Export<NoArgument>("RT_GetAngle");
  auto setAngle = Export<OneArgument>("RT_SetAngle");
  ASSERT_NE(getAngle, nullptr);
  ASSERT_NE(setAngle, nullptr);
  const int32_t before = getAngle();
  ASSERT_GE(before, 1);
  EXPECT_EQ(setAngle(before), 1);
  EXPECT_EQ(getAngle(), before);
}

TEST_F(QuilletWithUser32, AutomaticRotationReadsOffWithoutSensor) {
  auto getOn = Export<NoArgument>("RT_GetAutoRotationOn");
  ASSERT_NE(getOn, nullptr);
  EXPECT_EQ(getOn(), 0);
}

TEST_F(QuilletWithUser32, SwitchingAutomaticRotationOffWhenOffNeedsNoSwitch) {
  auto setAutoRotation = Export<OneArgument>("RT_SetAutoRotation");
  ASSERT_NE(setAutoRotation, nullptr);
  EXPECT_EQ(setAutoRotation(0), 1);
}

TEST_F(QuilletWithUser32, SwitchingAutomaticRotationOnFailsWithoutThePlatformSwitch) {
  if (GetProcAddress(user32_, MAKEINTRESOURCEA(2507)) != nullptr) {
    GTEST_SKIP() << "this user32 has the switch; calling it would change the system's setting";
  }
  auto setAutoRotation = Export<OneArgument>("RT_SetAutoRotation");
  ASSERT_NE(setAutoRotation, nullptr);
  EXPECT_EQ(setAutoRotation(1), 0);
}

}  // namespace
