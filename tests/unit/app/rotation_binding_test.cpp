#include "app/rotation_binding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_rotation.h"
#include "null_platform.h"

namespace {

constexpr wchar_t kLibrary[] = L"C:\\Zentara\\Images\\Quillet.dll";

using testing_support::FakeRotation;

class RotationBindingTest : public ::testing::Test {
 protected:
  RotationBindingTest() {
    FakeRotation::Reset();
    platform.libraries.available[kLibrary].exports = {
        {"RT_GetAngle", reinterpret_cast<void*>(&FakeRotation::GetAngle)},
        {"RT_SetAngle", reinterpret_cast<void*>(&FakeRotation::SetAngle)}};
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
  EXPECT_TRUE(FakeRotation::calls.empty());
  ASSERT_EQ(platform.system.debugLines.size(), 1u);
  EXPECT_NE(platform.system.debugLines[0].find(L"not loaded"), std::wstring::npos);
}

// The angle codes run 1 to 4; a turn reads the angle once and sets the next one its way.
TEST_F(RotationBindingTest, EachTurnSetsTheNextAngleItsWayFromTheOneRead) {
  struct Turning {
    int32_t read, afterLeft, afterRight;  // 0: no turn
  };
  const Turning rows[] = {{1, 2, 4},
                          {2, 3, 1},
                          {3, 4, 2},
                          {4, 1, 3},
                          // Unreadable (-1) or any other odd answer: no turn.
                          {-1, 0, 0},
                          {0, 0, 0},
                          {5, 0, 0}};
  const auto turned = [](int32_t code) {
    std::vector<std::string> calls{"RT_GetAngle"};
    if (code != 0) calls.push_back("RT_SetAngle(" + std::to_string(code) + ")");
    return calls;
  };
  RotationBinding binding;
  binding.Bind();
  for (const Turning& row : rows) {
    SCOPED_TRACE(row.read);
    FakeRotation::angle = row.read;
    FakeRotation::calls.clear();
    binding.TurnLeft();
    EXPECT_EQ(FakeRotation::calls, turned(row.afterLeft));
    FakeRotation::angle = row.read;
    FakeRotation::calls.clear();
    binding.TurnRight();
    EXPECT_EQ(FakeRotation::calls, turned(row.afterRight));
  }
}

TEST_F(RotationBindingTest, WithoutSetAngleTheAngleIsNotEvenRead) {
  platform.libraries.available[kLibrary].exports.erase("RT_SetAngle");
  RotationBinding binding;
  binding.Bind();
  binding.TurnLeft();
  binding.TurnRight();
  EXPECT_TRUE(FakeRotation::calls.empty()) << "the angle is not even read";
}

}  // namespace
