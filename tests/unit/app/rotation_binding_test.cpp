#include "app/rotation_binding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "null_platform.h"

namespace {

constexpr wchar_t kLibrary[] = L"C:\\Zentara\\Images\\Quillet.dll";

// The rotation library's angle exports; each turn is noted.
struct FakeAngle {
  static inline int32_t angle = 1;
  static inline std::vector<int32_t> turns;

  static int32_t ZENTARA_WINAPI Get() { return angle; }
  static int32_t ZENTARA_WINAPI Set(int32_t code) {
    turns.push_back(code);
    angle = code;
    return 1;
  }
};

class RotationBindingTest : public ::testing::Test {
 protected:
  RotationBindingTest() {
    FakeAngle::angle = 1;
    FakeAngle::turns.clear();
    platform.libraries.available[kLibrary].exports = {
        {"RT_GetAngle", reinterpret_cast<void*>(&FakeAngle::Get)},
        {"RT_SetAngle", reinterpret_cast<void*>(&FakeAngle::Set)}};
  }

  testing_support::NullPlatform platform;
};

TEST_F(RotationBindingTest, WithoutItsOwnFolderTheProgramLoadsNoLibraryAndSaysSoOnce) {
  platform.system.executableName.clear();
  RotationBinding binding;
  binding.Bind();
  binding.Bind();
  binding.TurnLeft();
  EXPECT_TRUE(platform.libraries.loadRequests.empty());
  EXPECT_TRUE(FakeAngle::turns.empty());
  ASSERT_EQ(platform.system.debugLines.size(), 1u);
  EXPECT_NE(platform.system.debugLines[0].find(L"not loaded"), std::wstring::npos);
}

}  // namespace
