#include "platform/posix/quit_signals.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>

namespace {

using platform::posix::QuitSignals;
using platform::posix::RunWithQuitSignalsHeld;

bool Readable(int fd) {
  pollfd wait{fd, POLLIN, 0};
  return poll(&wait, 1, 0) == 1;
}

TEST(QuitSignalsTest, EachQuitSignalWakesTheWaitAndOneDuringHeldWorkComesAfterIt) {
  QuitSignals signals;
  ASSERT_GE(signals.Fd(), 0);
  for (const int number : {SIGTERM, SIGINT, SIGHUP}) {
    EXPECT_FALSE(Readable(signals.Fd()));
    raise(number);
    EXPECT_TRUE(Readable(signals.Fd())) << number;
    EXPECT_TRUE(signals.Take());
    EXPECT_FALSE(signals.Take());
  }
  bool cameDuringWork = true;
  RunWithQuitSignalsHeld([&] {
    raise(SIGTERM);
    cameDuringWork = Readable(signals.Fd());
  });
  EXPECT_FALSE(cameDuringWork);
  EXPECT_TRUE(signals.Take());
}

}  // namespace
