#include "platform/posix/quit_signals.h"

#include <pthread.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace platform::posix {
namespace {

constexpr int kQuitSignals[] = {SIGTERM, SIGINT, SIGHUP};

sigset_t QuitSet() {
  sigset_t set;
  sigemptyset(&set);
  for (const int number : kQuitSignals) sigaddset(&set, number);
  return set;
}

}  // namespace

void HoldQuitSignals() {
  const sigset_t quit = QuitSet();
  pthread_sigmask(SIG_BLOCK, &quit, nullptr);
}

QuitSignals::QuitSignals() {
  HoldQuitSignals();
  const sigset_t quit = QuitSet();
  fd_ = signalfd(-1, &quit, SFD_CLOEXEC | SFD_NONBLOCK);
}

// The signals stay held: one that comes while the program ends would
// otherwise end it with the default action, not with its own exit code.
QuitSignals::~QuitSignals() {
  if (fd_ >= 0) close(fd_);
}

bool QuitSignals::Take() {
  bool came = false;
  signalfd_siginfo info;
  while (fd_ >= 0 && read(fd_, &info, sizeof info) == static_cast<ssize_t>(sizeof info))
    came = true;
  return came;
}

}  // namespace platform::posix
