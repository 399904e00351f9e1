#!/usr/bin/env python3
"""Private Wayland desktops for the tests, started headless: sway (wlroots), Mutter (GNOME), KWin
(Plasma) and Weston, each with XWayland, its own runtime folder and, where it needs one, its own
session bus.

    with SwaySession(outputs=["1280x800", "1920x1080"]) as desktop:
        subprocess.run([...], env=desktop.env)

`env` holds what a program of that desktop's session sees: WAYLAND_DISPLAY, XDG_RUNTIME_DIR, DISPLAY
(its XWayland), XAUTHORITY and DBUS_SESSION_BUS_ADDRESS where the desktop has them, SWAYSOCK for sway.
Everything is stopped by process id. Standard library only.
"""
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


class _Session:
    """What the three have in common: a runtime folder, the compositor's log, stopping. A desktop says in
    `_launch` how it starts; what started is stopped again when a later step fails."""
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


class SwaySession(_Session):
    """sway on the headless backend, one output per size ("WxH"), as an unprivileged user (sway refuses
    root), with XWayland started at once and open to root's clients."""
    name = "sway"
    owner = 65534

    def __init__(self, outputs=("1280x800",)):
        self.outputs = outputs
        super().__init__()

    def _launch(self):
        config = os.path.join(self.runtime, "config")
        lines = ["xwayland force"]
        lines += [f"output HEADLESS-{n} mode --custom {size}" for n, size in enumerate(self.outputs, 1)]
        lines += ["exec sh -c 'xhost +si:localuser:root >/dev/null; echo \"$DISPLAY\" > \"$XDG_RUNTIME_DIR/display\"'"]
        with open(config, "w") as file:
            file.write("\n".join(lines) + "\n")
        env = dict(self.env, WLR_BACKENDS="headless", WLR_LIBINPUT_NO_DEVICES="1", WLR_RENDERER="pixman",
                   WLR_HEADLESS_OUTPUTS=str(len(self.outputs)))
        self._start(["setpriv", f"--reuid={self.owner}", f"--regid={self.owner}", "--clear-groups",
                     "sway", "--config", config], env)
        self._wait_for_socket()
        self.env["DISPLAY"] = self._wait_for(self._written_display, "sway's XWayland")
        self.env["SWAYSOCK"] = self._wait_for(lambda: self._runtime_file("sway-ipc."), "sway's IPC socket")


class MutterSession(_Session):
    """Mutter headless with one virtual monitor per size ("WxH") on its own session bus."""
    name = "mutter"

    def __init__(self, outputs=("1280x800",)):
        self.outputs = outputs
        super().__init__()

    def _launch(self):
        self._start_bus()
        monitors = [option for size in self.outputs for option in ("--virtual-monitor", size)]
        self._start(["mutter", "--headless", "--wayland", *monitors], self.env)
        self._wait_for_socket()
        display = self._wait_for(lambda: re.search(r"Using public X11 display (:\d+)", self.log()),
                                 "Mutter's XWayland")
        self.env["DISPLAY"] = display.group(1)
        self.env["XAUTHORITY"] = self._wait_for(lambda: self._runtime_file(".mutter-Xwaylandauth"),
                                                "Mutter's XWayland cookie")


class KWinSession(_Session):
    """KWin on its virtual backend with `count` outputs of one size, on its own session bus. Debian's
    kwin_wayland carries a file capability that unprivileged sandboxes refuse to execute, so a copy
    of the binary without it is run."""
    name = "kwin"

    def __init__(self, size="1280x800", count=1):
        self.size, self.count = size, count
        super().__init__()

    def _launch(self):
        self._start_bus()
        binary = os.path.join(self.runtime, "kwin_wayland")
        shutil.copy(shutil.which("kwin_wayland"), binary)
        width, height = self.size.split("x")
        # KWin starts its programs from a command line of its own reading: a script says it simplest.
        writer = os.path.join(self.runtime, "write-display")
        with open(writer, "w") as file:
            file.write(f'#!/bin/sh\necho "$DISPLAY" > {self.runtime}/display\n')
        os.chmod(writer, 0o755)
        self._start([binary, "--virtual", "--width", width, "--height", height, "--output-count",
                     str(self.count), "--xwayland", writer],
                    dict(self.env, QT_QPA_PLATFORM="wayland", KWIN_SCREENSHOT_NO_PERMISSION_CHECKS="1"))
        self._wait_for_socket()
        self.env["DISPLAY"] = self._wait_for(self._written_display, "KWin's XWayland")


class WestonSession(_Session):
    """Weston on its headless backend with one output of `size` ("WxH") turned by `transform` (its own
    names: normal, rotate-90, rotate-180, rotate-270; it turns no output while it runs), drawn by Pixman so that its
    screenshooter, open to every client (--debug), shows what it composes; as an unprivileged user. Its
    XWayland starts at the first X client and ends with the last: a client of the desktop's user lets
    root's clients in and holds it open."""
    name = "weston"
    owner = 65534

    def __init__(self, size="1280x800", transform="normal"):
        self.size, self.transform = size, transform
        self._holder = None
        super().__init__()

    def _launch(self):
        width, height = self.size.split("x")
        self._start(["setpriv", f"--reuid={self.owner}", f"--regid={self.owner}", "--clear-groups", "weston",
                     "--backend=headless-backend.so", f"--width={width}", f"--height={height}",
                     f"--transform={self.transform}", "--use-pixman", "--xwayland", "--debug", "--idle-time=0"],
                    self.env)
        self._wait_for_socket()
        display = self._wait_for(lambda: re.search(r"xserver listening on display (:\d+)", self.log()),
                                 "Weston's X display").group(1)
        self._holder = subprocess.Popen(
            ["setpriv", f"--reuid={self.owner}", f"--regid={self.owner}", "--clear-groups", "sh", "-c",
             "xhost +si:localuser:root >/dev/null && exec xprop -root -spy _NET_SUPPORTING_WM_CHECK"],
            env=dict(self.env, DISPLAY=display), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL)
        self._wait_for(lambda: "created wm" in self.log(), "Weston's XWayland")
        self.env["DISPLAY"] = display

    def stop(self):
        if self._holder is not None:
            stop_process(self._holder)
            self._holder = None
        super().stop()
