#!/usr/bin/env python3
"""Medians of the X11 program's start-up as a user sees it, at each display scale, on a private Xvfb:

    bench/x11/startup_medians.py build/linux/dist/zentara [--runs 7] [--scales 100 200 300] [--openbox]

Each run is a fresh start of the program itself, in a copy of its folder. It is timed from outside, from
just before the process is started until the panel is shown at rest: its window mapped, its first frame
drawn into it, and no further frame for a while after that (the X Damage extension reports each drawing).
The table gives the median time to the shown panel, the median time beyond the pauses the program asks
for (the start-up pause and the slide's frame pauses: the floor), the median time from the last frame to
rest (frames drawn after the first one) and the median VmHWM of the program once it is at rest. With
--openbox the display has openbox for its window manager. It uses the shared test library:
PYTHONPATH=tests/support."""
import argparse
import ctypes
import os
import select
import shutil
import statistics
import subprocess
import tempfile
import time
from pathlib import Path

import xlib as x11
from xservers import PrivateDisplay

TITLE = b"KOVA Zentara"
# What the program sleeps on purpose before its panel shows: the pause at its start and one pause before
# each of the collapse slide's 15 frames and after the last.
PAUSES_MS = 500 + 16 * 30
# No frame for this long after the last one: the panel is at rest.
REST_S = 0.4

CREATE_NOTIFY, MAP_NOTIFY = 16, 19
SUBSTRUCTURE_NOTIFY_MASK = 1 << 19
DAMAGE_REPORT_NON_EMPTY = 3


class Xlib:
    """The probe's own connection: the shared test library's libX11 calls, and the Damage extension,
    which only the probe uses."""

    def __init__(self, display):
        self.damage = ctypes.CDLL("libXdamage.so.1")
        self.damage.XDamageQueryExtension.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_int),
                                                      ctypes.POINTER(ctypes.c_int)]
        self.damage.XDamageQueryVersion.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_int),
                                                    ctypes.POINTER(ctypes.c_int)]
        self.damage.XDamageCreate.restype = ctypes.c_ulong
        self.damage.XDamageCreate.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int]
        self.damage.XDamageSubtract.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_ulong]
        # A window gone before it is asked about is no error of the probe's.
        self._ignore = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(lambda d, e: 0)
        x11.XSetErrorHandler(ctypes.cast(self._ignore, ctypes.c_void_p))
        self.dpy = x11.XOpenDisplay(display.encode())
        event, error = ctypes.c_int(), ctypes.c_int()
        if not self.dpy or not self.damage.XDamageQueryExtension(self.dpy, ctypes.byref(event), ctypes.byref(error)):
            raise RuntimeError("no display with the Damage extension")
        self.damage_notify = event.value
        major, minor = ctypes.c_int(1), ctypes.c_int(1)
        self.damage.XDamageQueryVersion(self.dpy, ctypes.byref(major), ctypes.byref(minor))
        self.net_wm_name = x11.XInternAtom(self.dpy, b"_NET_WM_NAME", 0)
        self.root = x11.XDefaultRootWindow(self.dpy)
        x11.XSelectInput(self.dpy, self.root, SUBSTRUCTURE_NOTIFY_MASK)
        x11.XSync(self.dpy, 0)

    def name(self, window):
        """The window's _NET_WM_NAME."""
        kind, size, count, after, data = (ctypes.c_ulong(), ctypes.c_int(), ctypes.c_ulong(), ctypes.c_ulong(),
                                          ctypes.POINTER(ctypes.c_uint8)())
        if x11.XGetWindowProperty(self.dpy, window, self.net_wm_name, 0, 256, 0, 0, ctypes.byref(kind),
                                  ctypes.byref(size), ctypes.byref(count), ctypes.byref(after),
                                  ctypes.byref(data)) != 0 or not data:
            return b""
        name = ctypes.string_at(data, count.value) if size.value == 8 else b""
        x11.XFree(data)
        return name

    def events(self, deadline):
        """(monotonic time, type, window, the event's next field) of each event until the time `deadline()`."""
        buffer = (ctypes.c_long * 24)()
        fd = x11.XConnectionNumber(self.dpy)
        while True:
            while x11.XPending(self.dpy):
                x11.XNextEvent(self.dpy, buffer)
                now = time.monotonic()
                raw = bytes(buffer)
                kind = int.from_bytes(raw[0:4], "little")
                # The window after type, serial, send_event and display; Create and Map events name
                # the created or mapped window in the next field, a Damage event its damage object.
                window, after = (int.from_bytes(raw[at:at + 8], "little") for at in (32, 40))
                yield now, kind, (after if kind in (CREATE_NOTIFY, MAP_NOTIFY) else window), after
            left = deadline() - time.monotonic()
            if left <= 0:
                return
            select.select([fd], [], [], left)


def start_once(program, env, xlib):
    """One fresh start: (shown_ms, last frame after shown in ms, VmHWM in kB)."""
    started = time.monotonic()
    process = subprocess.Popen([str(program)], cwd=program.parent.parent, env=env,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        mapped = {}
        frames = []
        panel = None
        deadline = started + 30
        for now, kind, window, damage in xlib.events(lambda: deadline):
            if kind == CREATE_NOTIFY:
                # Watched from its creation, so that no drawing escapes.
                xlib.damage.XDamageCreate(xlib.dpy, window, DAMAGE_REPORT_NON_EMPTY)
            elif kind == MAP_NOTIFY:
                mapped[window] = now
            elif kind == xlib.damage_notify:
                if panel is None and window in mapped and xlib.name(window) == TITLE:
                    panel = window
                if window == panel:
                    frames.append(now)
                    deadline = now + REST_S
                # Repaired, so that the next drawing is reported again.
                xlib.damage.XDamageSubtract(xlib.dpy, damage, 0, 0)
            x11.XFlush(xlib.dpy)
        if not frames:
            raise RuntimeError("the panel never showed")
        status = Path(f"/proc/{process.pid}/status").read_text()
        hwm = next(int(line.split()[1]) for line in status.splitlines() if line.startswith("VmHWM:"))
        return (frames[0] - started) * 1000, (frames[-1] - frames[0]) * 1000, hwm
    finally:
        process.terminate()
        process.wait(timeout=10)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("program", type=Path, help="the built zentara, beside its images folder")
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("--scales", type=int, nargs="+", default=[100, 200, 300])
    parser.add_argument("--openbox", action="store_true", help="with openbox as the window manager")
    parser.add_argument("--env", nargs="*", default=[], help="NAME=VALUE settings for the program")
    args = parser.parse_args()
    with tempfile.TemporaryDirectory(prefix="zentara-start-") as folder, PrivateDisplay("1920x1080") as display:
        # A copy, so that a build running meanwhile does not change the files under the program.
        copy = Path(folder) / "app"
        shutil.copytree(args.program.parent, copy)
        program = copy / args.program.name
        env = dict(os.environ, DISPLAY=display.display, **dict(arg.split("=", 1) for arg in args.env), XDG_RUNTIME_DIR=folder, LANG="en_US.UTF-8",
                   LANGUAGE="", LC_ALL="", LC_MESSAGES="")
        manager = subprocess.Popen(["openbox"], env=env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL) if args.openbox else None
        while manager and "window id" not in subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=env,
                                                            stdout=subprocess.PIPE, text=True).stdout:
            time.sleep(0.1)
        xlib = Xlib(display.display)
        print(f"load average {' '.join(f'{value:.2f}' for value in os.getloadavg())}")
        print("scale  shown_ms  beyond_pauses_ms  after_first_frame_ms  vmhwm_mb")
        for scale in args.scales:
            subprocess.run(["xprop", "-root", "-f", "RESOURCE_MANAGER", "8s", "-set", "RESOURCE_MANAGER",
                            f"Xft.dpi:\t{96 * scale // 100}\n"], env=env, check=True)
            runs = [start_once(program, env, xlib) for _ in range(args.runs)]
            shown, after, hwm = (statistics.median(values) for values in zip(*runs))
            print(f"{scale:5d}  {shown:8.0f}  {shown - PAUSES_MS:16.0f}  {after:20.0f}  {hwm / 1024:8.1f}",
                  flush=True)
        if manager:
            manager.terminate()
            manager.wait(timeout=10)


if __name__ == "__main__":
    main()
