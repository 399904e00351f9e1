#pragma once

namespace platform::posix {

// The requests to end the program that a process gets as signals (SIGTERM,
// SIGINT, SIGHUP: a logout, Ctrl+C, a closed terminal) are held back in every
// thread and taken only where the event loop waits, so that none ever cuts a
// turn or any other change in half, whichever thread the system hands it to.

// Holds the quit signals back in the calling thread and in every thread it
// starts from then on. Called first in main, before any thread starts (the
// picture decoding worker, GLib's and D-Bus' own threads): a thread started
// earlier would take a quit signal at any moment, with the default action of
// ending the process.
void HoldQuitSignals();

// The quit signals that came, on a descriptor the event loop waits on; the
// loop then ends the program as its close button does. Holds them back in the
// calling thread too. One object at a time.
class QuitSignals {
 public:
  QuitSignals();
  ~QuitSignals();
  QuitSignals(const QuitSignals&) = delete;
  QuitSignals& operator=(const QuitSignals&) = delete;

  // The descriptor to wait on; -1 when none could be made.
  int Fd() const { return fd_; }
  // Takes the signals that came; true when there was one.
  bool Take();

 private:
  int fd_ = -1;
};

}  // namespace platform::posix
