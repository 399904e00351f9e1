#include "platform/gio/accelerometer_orientation.h"

#include <gtest/gtest.h>

namespace {

TEST(AccelerometerOrientation, EachNameOfTheSensorServiceHasItsRotationCode) {
  const struct {
    const char* name;
    int32_t code;
  } cases[] = {{"normal", 1},    {"left-up", 2}, {"bottom-up", 3}, {"right-up", 4},
               {"undefined", 0}, {"", 0},        {"Normal", 0},    {"left-up ", 0}};
  for (const auto& c : cases) EXPECT_EQ(platform::gio::OrientationCode(c.name), c.code) << c.name;
}

}  // namespace
