#include "platform/posix/quit_signals.h"

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

namespace platform::posix {
namespace {

constexpr int kQuitSignals[] = {SIGTERM, SIGINT, SIGHUP};

volatile sig_atomic_t pipeToWake = -1;

extern "C" void WakeTheLoop(int /*signal*/) {
  const int savedErrno = errno;
  const char byte = 1;
  // A full pipe already holds a request; nothing is lost.
  if (pipeToWake >= 0) (void)!write(pipeToWake, &byte, 1);
  errno = savedErrno;
}

void SetAction(void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int number : kQuitSignals) sigaction(number, &action, nullptr);
}

sigset_t QuitSet() {
  sigset_t set;
  sigemptyset(&set);
  for (const int number : kQuitSignals) sigaddset(&set, number);
  return set;
}

}  // namespace

QuitSignals::QuitSignals() {
  int ends[2];
  if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) return;
  readFd_ = ends[0];
  writeFd_ = ends[1];
  pipeToWake = writeFd_;
  SetAction(WakeTheLoop);
}

QuitSignals::~QuitSignals() {
  if (readFd_ < 0) return;
  SetAction(SIG_DFL);
  pipeToWake = -1;
  close(readFd_);
  close(writeFd_);
}

bool QuitSignals::Take() {
  bool came = false;
  char bytes[16];
  while (readFd_ >= 0 && read(readFd_, bytes, sizeof bytes) > 0) came = true;
  return came;
}

void RunWithQuitSignalsHeld(const std::function<void()>& work) {
  // Restores the thread's mask also when the work throws.
  struct Held {
    Held() {
      const sigset_t quit = QuitSet();
      pthread_sigmask(SIG_BLOCK, &quit, &before);
    }
    ~Held() { pthread_sigmask(SIG_SETMASK, &before, nullptr); }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
    sigset_t before;
  } held;
  work();
}

}  // namespace platform::posix
