#include "platform/unthrowing.h"

#include <gtest/gtest.h>

#include <new>

namespace {

TEST(UnthrowingTest, GivesTheWorksResultOrWhatTheFailureSaysWhenTheWorkThrows) {
  EXPECT_EQ(platform::Unthrowing([] { return 7; }, [] { return -1; }), 7);
  EXPECT_EQ(platform::Unthrowing([]() -> int { throw std::bad_alloc(); }, [] { return -1; }), -1);
  int failures = 0;
  platform::Unthrowing([] {}, [&] { ++failures; });
  platform::Unthrowing([] { throw 1; }, [&] { ++failures; });
  EXPECT_EQ(failures, 1);
}

}  // namespace
