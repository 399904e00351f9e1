#!/usr/bin/env python3
"""Private X servers for the tests and scripts: an Xvfb, or an Xephyr nested in an Xvfb of its own.

Each server picks a free display itself (-displayfd) and is stopped by its process id. Standard
library only. From a shell script, this serves a display until it is told to stop:

    python3 tests/support/xservers.py [--size WxH] [--nested WxH] [--no-shm] [--reset]

prints the display (":N") on its first line, then runs until SIGTERM, SIGINT or SIGHUP, and stops
its servers. With `-- COMMAND [ARGUMENT...]` it runs the command on the display instead, stops the
servers when the command ends and exits with its status.
"""
import argparse
import os
import signal
import subprocess
import sys
import tempfile


class XServer:
    """One X server on a display it picks. `-noreset` by default: without it the server resets when
    its last client leaves, undoing root properties and the pointer between two program runs (and
    Xephyr crashes on a turn after a reset)."""

    def __init__(self, *command, env=None, reset=False):
        self._log = tempfile.TemporaryFile()
        read_end, write_end = os.pipe()
        options = ["-displayfd", str(write_end), "-nolisten", "tcp", *([] if reset else ["-noreset"])]
        self.process = subprocess.Popen([*command, *options], pass_fds=(write_end,), env=env,
                                        stdin=subprocess.DEVNULL, stdout=self._log, stderr=subprocess.STDOUT)
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            number = pipe.readline().strip()
        if not number:
            self.stop()
            raise RuntimeError(f"{command[0]} did not start: {self.log()}")
        self.display = f":{number}"

    def log(self):
        self._log.seek(0)
        return self._log.read().decode(errors="replace")

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self._log.close()


def _xvfb_command(size, shared_memory=True):
    return ["Xvfb", "-br", *([] if shared_memory else ["-extension", "MIT-SHM"]), "-screen", "0", f"{size}x24"]


class PrivateDisplay:
    """An Xvfb of `size` ("WxH"), or with `nested` ("WxH") an Xephyr of that size, which turns its screen
    for real, inside a 1920 x 1080 Xvfb that holds it both ways round. `display` is the one to use."""

    def __init__(self, size="1280x800", nested=None, shared_memory=True, reset=False):
        self.servers = []
        try:
            if nested is None:
                self.servers.append(XServer(*_xvfb_command(size, shared_memory), reset=reset))
            else:
                host = XServer(*_xvfb_command("1920x1080"), reset=reset)
                self.servers.append(host)
                self.servers.append(XServer("Xephyr", "-screen", nested, reset=reset,
                                            env=dict(os.environ, DISPLAY=host.display)))
        except BaseException:
            self.stop()
            raise
        self.display = self.servers[-1].display
        self.process = self.servers[-1].process

    def log(self):
        return "\n".join(server.log() for server in self.servers)

    def stop(self):
        """Stops the nested server before its host."""
        for server in reversed(self.servers):
            server.stop()
        self.servers.clear()

    def __enter__(self):
        return self

    def __exit__(self, *_):
        self.stop()


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--size", default="1280x800", help="the Xvfb screen, WxH")
    parser.add_argument("--nested", metavar="WxH", help="an Xephyr of this size inside the Xvfb")
    parser.add_argument("--no-shm", action="store_true", help="without the MIT-SHM extension")
    parser.add_argument("--reset", action="store_true", help="let the server reset when its last client leaves")
    parser.add_argument("command", nargs=argparse.REMAINDER, help="-- COMMAND [ARGUMENT...]")
    args = parser.parse_args(argv)
    command = args.command[1:] if args.command[:1] == ["--"] else args.command

    def leave(number, _frame):
        raise SystemExit(128 + number)

    for number in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
        signal.signal(number, leave)
    with PrivateDisplay(args.size, args.nested, not args.no_shm, args.reset) as display:
        if command:
            return subprocess.run(command, env=dict(os.environ, DISPLAY=display.display)).returncode
        print(display.display, flush=True)
        display.process.wait()
        return f"the X server ended: {display.log()}"


if __name__ == "__main__":
    sys.exit(main())
