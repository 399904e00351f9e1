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

  static inline int32_t reads = 0;

  static int32_t ZENTARA_WINAPI Get() {
    ++reads;
    return angle;
  }
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
    FakeAngle::reads = 0;
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

// The angle codes run 1 to 4; a turn sets the next one its way from the angle read.
TEST_F(RotationBindingTest, EachTurnSetsTheNextAngleItsWayFromTheOneRead) {
  struct Turning {
    int32_t read;
    std::vector<int32_t> afterLeft, afterRight;
  };
  const Turning rows[] = {{1, {2}, {4}},
                          {2, {3}, {1}},
                          {3, {4}, {2}},
                          {4, {1}, {3}},
                          // Unreadable (-1) or any other odd answer: no turn.
                          {-1, {}, {}},
                          {0, {}, {}},
                          {5, {}, {}}};
  RotationBinding binding;
  binding.Bind();
  for (const Turning& row : rows) {
    SCOPED_TRACE(row.read);
    FakeAngle::angle = row.read;
    FakeAngle::turns.clear();
    binding.TurnLeft();
    EXPECT_EQ(FakeAngle::turns, row.afterLeft);
    FakeAngle::angle = row.read;
    FakeAngle::turns.clear();
    binding.TurnRight();
    EXPECT_EQ(FakeAngle::turns, row.afterRight);
  }
}

TEST_F(RotationBindingTest, WithoutSetAngleTheAngleIsNotEvenRead) {
  platform.libraries.available[kLibrary].exports.erase("RT_SetAngle");
  RotationBinding binding;
  binding.Bind();
  binding.TurnLeft();
  binding.TurnRight();
  EXPECT_EQ(FakeAngle::reads, 0);
  EXPECT_TRUE(FakeAngle::turns.empty());
}

}  // namespace
