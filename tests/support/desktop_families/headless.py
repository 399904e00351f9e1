"""What every headless desktop session of the tests has in common: its own runtime folder, bus and
log, the compositor's process, and stopping it all by process id. Standard library only."""
import os
import re
import shutil
import subprocess
import tempfile

from private_bus import PrivateBus, stop_process
from waiting import wait_for

_START_TIMEOUT = 20


def available(*programs):
    """The programs of this list that are missing, as one message; empty when all are there."""
    missing = [program for program in programs if shutil.which(program) is None]
    return f"not installed: {', '.join(missing)}" if missing else ""


def as_user(owner, *command):
    """The command run as the unprivileged user `owner` (sway and Weston refuse root)."""
    return ["setpriv", f"--reuid={owner}", f"--regid={owner}", "--clear-groups", *command]


class HeadlessSession:
    """What every desktop's session has: a runtime folder, the compositor's log, stopping. A family's
    Session says in `_launch` how it starts; what started is stopped again when a later step fails."""
    name = "compositor"
    owner = None

    def __init__(self):
        self.runtime = tempfile.mkdtemp(prefix=f"zentara-{self.name}-")
        os.chmod(self.runtime, 0o700)
        if self.owner is not None:
            os.chown(self.runtime, self.owner, self.owner)
        self._log = tempfile.TemporaryFile()
        self._bus = None
        self.process = None
        self.env = dict(os.environ, XDG_RUNTIME_DIR=self.runtime)
        for variable in ("WAYLAND_DISPLAY", "DISPLAY", "XAUTHORITY", "SWAYSOCK", "DBUS_SESSION_BUS_ADDRESS"):
            self.env.pop(variable, None)
        self.env["HOME"] = self.runtime
        try:
            self._launch()
        except BaseException:
            self.stop()
            raise

    def _launch(self):
        raise NotImplementedError

    def _start_bus(self):
        self._bus = PrivateBus(env=self.env)
        self.env["DBUS_SESSION_BUS_ADDRESS"] = self._bus.address

    def _start(self, command, env):
        self.process = subprocess.Popen(command, env=env, cwd=self.runtime, stdin=subprocess.DEVNULL,
                                        stdout=self._log, stderr=subprocess.STDOUT)

    def _wait_for(self, predicate, what):
        """The predicate's first true value, while the compositor runs; its log with the failure."""
        def ended():
            return self.process.poll() is not None and f"{self.name} ended with {self.process.returncode}"
        try:
            return wait_for(predicate, _START_TIMEOUT, what=what, gave_up=ended)
        except AssertionError as error:
            raise RuntimeError(f"{error}: {self.log()}") from None

    def _wait_for_socket(self):
        def socket():
            names = [name for name in os.listdir(self.runtime) if re.fullmatch(r"wayland-\d+", name)]
            return names[0] if names else ""
        self.env["WAYLAND_DISPLAY"] = self._wait_for(socket, f"{self.name}'s Wayland socket")

    def _runtime_file(self, prefix):
        """The path of the first file in the runtime folder whose name starts so, or ""."""
        return next((os.path.join(self.runtime, name) for name in os.listdir(self.runtime)
                     if name.startswith(prefix)), "")

    def _written_display(self):
        """The XWayland display a program started by the desktop wrote to the runtime folder."""
        try:
            with open(os.path.join(self.runtime, "display")) as file:
                return file.read().strip()
        except OSError:
            return ""

    def log(self):
        if self._log.closed:
            return ""
        self._log.seek(0)
        return self._log.read().decode(errors="replace")[-4000:]

    def stop(self):
        if self.process is not None:
            stop_process(self.process)
        if self._bus is not None:
            self._bus.stop()
            self._bus = None
        self._log.close()
        shutil.rmtree(self.runtime, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *_):
        self.stop()
