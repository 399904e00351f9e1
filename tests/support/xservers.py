#!/usr/bin/env python3
"""Private X servers for the tests and scripts: an Xvfb, or an Xephyr nested in an Xvfb of its own;
and X clients run so that a server that answers nobody for a while only delays them.

Each server picks a free display itself (-displayfd) and is stopped by its process id. Standard
library only. From a shell script, this serves a display until it is told to stop:

    python3 tests/support/xservers.py [--size WxH] [--nested WxH] [--no-shm] [--reset]

prints the display (":N") on its first line, then runs until SIGTERM, SIGINT or SIGHUP, and stops
its servers. With `-- COMMAND [ARGUMENT...]` it runs the command on the display instead, stops the
servers when the command ends and exits with its status.
"""
import argparse
import contextlib
import os
import select
import signal
import socket
import struct
import subprocess
import sys
import tempfile
import time


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


def _receive(connection, count):
    data = b""
    while len(data) < count:
        chunk = connection.recv(count - len(data))
        if not chunk:
            raise ConnectionError("the X server closed the connection")
        data += chunk
    return data


def _connect(display, timeout):
    """A connection to the local X server of `display`, set up (little-endian, no authorisation)."""
    number = display.lstrip(":").split(".")[0]
    connection = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    try:
        connection.settimeout(timeout)
        connection.connect(f"/tmp/.X11-unix/X{number}")
        connection.sendall(struct.pack("<BxHHHHxx", ord("l"), 11, 0, 0, 0))
        head = _receive(connection, 8)
        _receive(connection, struct.unpack_from("<H", head, 6)[0] * 4)
        if head[0] != 1:
            raise ConnectionError("the X server refused the connection")
        return connection
    except BaseException:
        connection.close()
        raise


def answers(display, timeout=1.0):
    """Whether the X server of `display` sets up a connection within `timeout` seconds: one held by
    another client's grab, or stuck, does not."""
    try:
        _connect(display, timeout).close()
        return True
    except OSError:
        return False


class ServerGrab:
    """Holds the X server of `display` for itself (GrabServer) until released: the server answers no
    other client meanwhile."""

    def __init__(self, display, timeout=10.0):
        # A server that resets after its last client left drops the connections it has not set up yet:
        # connect again until it answers.
        deadline = time.monotonic() + timeout
        while True:
            try:
                self._connection = _connect(display, timeout)
                break
            except ConnectionError:
                if time.monotonic() >= deadline:
                    raise
                time.sleep(0.05)
        # The grab, then a reply that tells it has been made.
        self._connection.sendall(struct.pack("<BxH", 36, 1) + struct.pack("<BxH", 43, 1))
        while _receive(self._connection, 32)[0] != 1:
            pass

    def release(self):
        self._connection.close()


def _read(path, binary=False):
    with open(path, "rb" if binary else "r") as file:
        return file.read()


def _process_line(pid):
    try:
        state = _read(f"/proc/{pid}/stat").rsplit(")", 1)[1].split()[0]
        waits = _read(f"/proc/{pid}/wchan").strip() or "-"
        name = _read(f"/proc/{pid}/cmdline", binary=True).split(b"\0")[0].decode(errors="replace")
    except OSError:
        return f"pid {pid}, gone"
    return f"{name} (pid {pid}) state {state} in {waits}"


def _cpu_seconds(pid):
    fields = _read(f"/proc/{pid}/stat").rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def _server_line(pid, window=0.5):
    """The server process, and whether it worked during `window` seconds: idle, it waits on something
    else; busy, it is stuck itself."""
    try:
        before = _cpu_seconds(pid)
        time.sleep(window)
        used = _cpu_seconds(pid) - before
    except OSError:
        return f"pid {pid}, gone"
    return f"{'idle' if used < window / 5 else 'busy'} ({used:.2f} s of CPU in {window} s): {_process_line(pid)}"


def _server_sockets(display):
    """The inodes of the sockets bound to the X socket of `display`: those it listens on, and its
    ends of the clients' connections."""
    path = "/tmp/.X11-unix/X" + display.lstrip(":").split(".")[0]
    listening, connected = set(), set()
    with contextlib.suppress(OSError):
        for line in _read("/proc/net/unix").splitlines()[1:]:
            fields = line.split()
            if len(fields) == 8 and fields[7] in (path, "@" + path):
                # State 01: not connected, so listening.
                (listening if fields[5] == "01" else connected).add(fields[6])
    return listening, connected


def _sockets_of(pid):
    """{socket inode: descriptor} of one process."""
    sockets = {}
    for fd in os.listdir(f"/proc/{pid}/fd"):
        with contextlib.suppress(OSError):
            link = os.readlink(f"/proc/{pid}/fd/{fd}")
            if link.startswith("socket:["):
                sockets[link[8:-1]] = fd
    return sockets


def _processes():
    """{pid: (parent pid, socket inodes)} of every process."""
    table = {}
    for pid in filter(str.isdigit, os.listdir("/proc")):
        with contextlib.suppress(OSError):
            table[pid] = (_read(f"/proc/{pid}/stat").rsplit(")", 1)[1].split()[1], set(_sockets_of(pid)))
    return table


def _peers():
    """{inode: inode of the other end} of the connected Unix sockets, as ss tells them."""
    try:
        listing = subprocess.run(["ss", "-x", "-n", "-H"], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                 text=True, timeout=10).stdout
    except (OSError, subprocess.TimeoutExpired):
        return {}
    return {fields[5]: fields[7] for fields in map(str.split, listing.splitlines()) if len(fields) >= 8}


def _read_interest(pid, fds):
    """Which of the descriptors `fds` the process's epoll set waits to read from."""
    reading = set()
    for fd in os.listdir(f"/proc/{pid}/fd"):
        with contextlib.suppress(OSError):
            if os.readlink(f"/proc/{pid}/fd/{fd}") == "anon_inode:[eventpoll]":
                for fields in map(str.split, _read(f"/proc/{pid}/fdinfo/{fd}").splitlines()):
                    if fields[:1] == ["tfd:"] and fields[1] in fds and int(fields[3], 16) & select.EPOLLIN:
                        reading.add(fields[1])
    return reading


def describe_server(display):
    """What keeps the X server of `display` from answering, as /proc tells: a client's grab (the server
    then reads from that client alone), a reset (after its last client left, it waits for the keymap
    compiler it started) or work of its own (busy); then the clients it leaves waiting."""
    listening, connected = _server_sockets(display)
    peers = _peers()
    processes = _processes()
    owner = {inode: pid for pid, (_, inodes) in processes.items() for inode in inodes}
    server = next((owner[inode] for inode in listening if inode in owner), None)
    if server is None:
        return "no server process found"
    lines = [f"server {_server_line(server)}"]
    helpers = [pid for pid, (parent, _) in processes.items() if parent == server]
    helpers += [pid for pid, (parent, _) in processes.items() if parent in helpers]
    if helpers:
        # As it does for the keymap compiler at a reset, after its last client left.
        lines.append("waiting for what it started: " + ", ".join(map(_process_line, helpers)))
    with contextlib.suppress(OSError):
        ends = {fd: inode for inode, fd in _sockets_of(server).items() if inode in connected}
        reading = _read_interest(server, set(ends))

        def client(fd):
            pid = owner.get(peers.get(ends[fd]))
            return _process_line(pid) if pid else f"the client on its descriptor {fd}"
        ignored = sorted(set(ends) - reading, key=int)
        if ignored and len(reading) == 1:
            lines.append(f"held by the grab of {client(next(iter(reading)))}")
        if ignored:
            lines.append("ignoring " + ", ".join(map(client, ignored)))
    return "; ".join(lines)


def _listens(display):
    return bool(_server_sockets(display)[0])


# What clients say when they find no server to talk to.
_NO_DISPLAY = ("Can't open display", "unable to open X server", "cannot open display")
# How often a client whose connection the server dropped is started again.
_STARTS = 5


def _run_once(command, env, timeout, limit, started, on_stall, text):
    """One run of run_client's client: (process, output, errors), its time extended while the server
    answers nobody."""
    display = env["DISPLAY"]
    process = subprocess.Popen(command, env=env, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                               stderr=subprocess.PIPE, text=text)
    end = time.monotonic() + timeout
    stall = None  # (when it was first seen, what held the server)
    with process:
        while True:
            try:
                # A client that is quick needs no look at the server.
                output, errors = process.communicate(timeout=max(0.05, min(1.0, end - time.monotonic())))
                break
            except subprocess.TimeoutExpired:
                pass
            asked = time.monotonic()
            if answers(display):
                if stall:
                    # The client's own time starts again once the server answers: it was only delayed.
                    end = min(started + limit, max(end, time.monotonic() + timeout))
                    if on_stall:
                        on_stall(asked - stall[0], stall[1])
                stall = None
            else:
                stall = stall or (asked, describe_server(display))
                # The client's own time counts from the last look that found the server silent.
                end = min(started + limit, max(end, time.monotonic() + timeout))
            if time.monotonic() >= end:
                process.kill()
                process.communicate()
                raise subprocess.TimeoutExpired(command, time.monotonic() - started)
    if stall and on_stall:
        on_stall(time.monotonic() - stall[0], stall[1])
    return process, output, errors


def run_client(command, env, timeout=30.0, limit=180.0, on_stall=None, check=True, text=True):
    """Runs the X client `command` on env["DISPLAY"] as subprocess.run(check=check, text=text) with its
    output captured. It gets `timeout` seconds, and more, up to `limit` in all, while the server
    answers no client: a server held or stuck for a while only delays the client, which finishes once
    the server answers again. A client that could not open the display while the server still
    listens is started again, a few times: a server that resets after its last client left drops the
    connections it has not set up yet. on_stall(seconds, account) hears of each stall, with
    describe_server()'s account of it taken when it was first seen, and of each dropped connection."""
    started = time.monotonic()
    for start in range(_STARTS):
        process, output, errors = _run_once(command, env, timeout, limit, started, on_stall, text)
        said = errors if text else errors.decode(errors="replace")
        if (process.returncode == 0 or not any(words in said for words in _NO_DISPLAY)
                or not _listens(env["DISPLAY"]) or start == _STARTS - 1):
            break
        if on_stall:
            on_stall(0.0, "the server closed the connection before setting it up, as it does when it "
                          "resets after its last client left; started again")
        time.sleep(0.1)
    if check and process.returncode != 0:
        raise subprocess.CalledProcessError(process.returncode, command, output, errors)
    return subprocess.CompletedProcess(command, process.returncode, output, errors)


def xdotool(env, *args, check=True, timeout=30.0, limit=180.0, on_stall=None):
    """What xdotool prints, stripped, for `args` on env["DISPLAY"], run as run_client runs an X client.
    With check=False a search that finds nothing (and so ends with 1) gives what it printed."""
    return run_client(["xdotool", *map(str, args)], env, timeout, limit, on_stall, check).stdout.strip()


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
