#include "platform/x11/timer_queue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using platform::x11::TimerQueue;
using std::chrono::milliseconds;

class TimerQueueTest : public ::testing::Test {
 protected:
  TimerQueue::Clock::time_point At(int ms) const { return start + milliseconds(ms); }

  TimerQueue queue;
  TimerQueue::Clock::time_point start = TimerQueue::Clock::now();
  std::vector<std::string> ticks;
};

TEST_F(TimerQueueTest, TicksEveryIntervalAndNotBefore) {
  queue.Start(
      100, [&] { ticks.push_back("a"); }, At(0));
  queue.Start(
      30, [&] { ticks.push_back("b"); }, At(0));
  EXPECT_EQ(queue.NextDeadline(), At(30));
  queue.RunDue(At(29));
  EXPECT_TRUE(ticks.empty());
  queue.RunDue(At(30));
  queue.RunDue(At(60));
  queue.RunDue(At(100));
  EXPECT_EQ(ticks, (std::vector<std::string>{"b", "b", "a", "b"}));
  EXPECT_EQ(queue.NextDeadline(), At(130));
}

TEST_F(TimerQueueTest, ALateTickComesOnceAndTheNextIsAWholeIntervalLater) {
  queue.Start(
      100, [&] { ticks.push_back("a"); }, At(0));
  queue.RunDue(At(550));
  EXPECT_EQ(ticks.size(), 1u);
  EXPECT_EQ(queue.NextDeadline(), At(650));
}

TEST_F(TimerQueueTest, ATickMayStopItselfOrATimerDueInTheSameRound) {
  TimerQueue::Id first = 0, second = 0;
  first = queue.Start(
      10,
      [&] {
        ticks.push_back("first");
        queue.Stop(first);
        queue.Stop(second);
      },
      At(0));
  second = queue.Start(
      10, [&] { ticks.push_back("second"); }, At(0));
  queue.RunDue(At(10));
  EXPECT_EQ(ticks, std::vector<std::string>{"first"});
  EXPECT_FALSE(queue.Running(first));
  EXPECT_FALSE(queue.NextDeadline().has_value());
}

TEST_F(TimerQueueTest, ATimerStartedByATickWaitsItsWholeInterval) {
  queue.Start(
      10,
      [&] {
        if (ticks.empty())
          queue.Start(
              50, [&] { ticks.push_back("late"); }, At(10));
        ticks.push_back("tick");
      },
      At(0));
  queue.RunDue(At(10));
  queue.RunDue(At(59));
  EXPECT_EQ(ticks, (std::vector<std::string>{"tick", "tick"}));
  queue.RunDue(At(60));
  EXPECT_EQ(ticks.back(), "late");
}

}  // namespace
