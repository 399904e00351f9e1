#pragma once
#include <functional>

namespace platform::posix {

// Turns the requests to end the program that a process gets as signals
// (SIGTERM, SIGINT, SIGHUP: a logout, Ctrl+C, a closed terminal) into bytes
// on a pipe, so that the event loop sees them in its wait and ends the
// program as its close button does. One object at a time; its end restores
// the default actions.
class QuitSignals {
 public:
  QuitSignals();
  ~QuitSignals();
  QuitSignals(const QuitSignals&) = delete;
  QuitSignals& operator=(const QuitSignals&) = delete;

  // The end of the pipe to wait on; -1 when no pipe could be made.
  int Fd() const { return readFd_; }
  // Empties the pipe; true when a request had come.
  bool Take();

 private:
  int readFd_ = -1;
  int writeFd_ = -1;
};

// Runs `work` with the quit signals held back; one that comes meanwhile is
// delivered when the work is done, so that it never cuts a change in half.
void RunWithQuitSignalsHeld(const std::function<void()>& work);

}  // namespace platform::posix
