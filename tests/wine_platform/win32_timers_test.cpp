// Timers under Wine: each timers object keeps its own, and ends only those.
#include "platform/win32/win32_timers.h"

#include "platform/win32/windows_api.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using platform::win32::Win32Timers;

// Handles messages until `done` holds; false when that takes over ten seconds.
template <typename Done>
bool PumpUntil(Done done) {
  const DWORD start = ::GetTickCount();
  while (!done()) {
    if (::GetTickCount() - start > 10000) return false;
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
    ::Sleep(5);
  }
  return true;
}

TEST(Win32TimersTest, EndingOneTimersObjectLeavesTheOthersTicking) {
  auto ending = std::make_unique<Win32Timers>();
  Win32Timers staying;
  int endingTicks = 0, stayingTicks = 0, selfStoppingTicks = 0;
  ASSERT_NE(ending->Start(10, [&] { ++endingTicks; }), 0u);
  ASSERT_NE(staying.Start(10, [&] { ++stayingTicks; }), 0u);
  platform::TimerId selfStopping = 0;
  selfStopping = staying.Start(10, [&] {
    ++selfStoppingTicks;
    staying.Stop(selfStopping);
  });
  ASSERT_TRUE(PumpUntil([&] { return endingTicks >= 2 && stayingTicks >= 2; }));

  ending.reset();
  const int endedAt = endingTicks, stayedAt = stayingTicks;
  ASSERT_TRUE(PumpUntil([&] { return stayingTicks >= stayedAt + 3; }));
  EXPECT_EQ(endingTicks, endedAt);
  EXPECT_EQ(selfStoppingTicks, 1);
}

}  // namespace
