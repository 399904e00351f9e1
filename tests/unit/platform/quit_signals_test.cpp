#include "platform/posix/quit_signals.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <initializer_list>
#include <thread>

namespace {

using platform::posix::HoldQuitSignals;
using platform::posix::QuitSignals;

bool Readable(int fd) {
  pollfd wait{fd, POLLIN, 0};
  return poll(&wait, 1, 0) == 1;
}

bool HeldInThisThread(int number) {
  sigset_t mask;
  pthread_sigmask(SIG_BLOCK, nullptr, &mask);
  return sigismember(&mask, number) == 1;
}

TEST(QuitSignalsTest, EveryThreadStartedLaterHoldsThemAndOnlyTheLoopTakesThem) {
  HoldQuitSignals();
  // A worker started now, as the picture decoder's and GLib's are, never takes one.
  bool heldInWorker[3] = {};
  std::thread worker([&] {
    for (int i = 0; const int number : {SIGTERM, SIGINT, SIGHUP})
      heldInWorker[i++] = HeldInThisThread(number);
  });
  worker.join();
  EXPECT_TRUE(heldInWorker[0] && heldInWorker[1] && heldInWorker[2]);

  QuitSignals signals;
  ASSERT_GE(signals.Fd(), 0);
  for (const int number : {SIGTERM, SIGINT, SIGHUP}) {
    EXPECT_FALSE(Readable(signals.Fd()));
    // Sent to the process, as a logout or a terminal sends it: held until taken.
    kill(getpid(), number);
    EXPECT_TRUE(Readable(signals.Fd())) << number;
    EXPECT_TRUE(signals.Take());
    EXPECT_FALSE(signals.Take());
  }
}

}  // namespace
