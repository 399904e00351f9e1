"""The Plasma family as KWin: started headless on its virtual backend with its own session bus, its outputs
read back through the core Wayland interfaces (wl_output, xdg_output) as wayland-info lists them, turned
through Plasma's own screen settings (kscreen-doctor), and the lock in Plasma's screen module, stood in
for on the session's bus (the real one needs a whole Plasma session). Standard library only."""
import os
import re
import shutil
import subprocess

from desktop_families.headless import HeadlessSession
from private_bus import SYSTEM_PYTHON, start_stand_in, stop_process

TOOLS = ("kwin_wayland", "wayland-info", "kscreen-doctor", "gdbus", "dbus-daemon", SYSTEM_PYTHON)
# KWin names its virtual outputs Virtual-0, Virtual-1 ... left to right.
TABLET = "Virtual-0"
_SCREEN_MODULE = ["-d", "org.kde.KScreen", "-o", "/modules/kscreen"]


class Session(HeadlessSession):
    """KWin on its virtual backend with `count` outputs of one size. Debian's kwin_wayland carries a file
    capability that unprivileged sandboxes refuse to execute, so a copy of the binary without it is run."""
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


def outputs(env):
    """Every output's name -> (x, y, width, height as laid out, wl_output transform)."""
    text = subprocess.run(["wayland-info"], env=env, capture_output=True, text=True, timeout=30,
                          check=True).stdout
    places, transforms = {}, {}
    turns = {"normal": 0, "90°": 1, "180°": 2, "270°": 3}
    for block in re.split(r"\n(?=\s*xdg_output_v1\n|interface: )", text):
        place = re.search(r"name: '([^']+)'.*logical_x: (-?\d+), logical_y: (-?\d+)\s+"
                          r"logical_width: (\d+), logical_height: (\d+)", block, re.DOTALL)
        if place:
            places[place[1]] = tuple(int(n) for n in place.groups()[1:])
        output = re.search(r"^interface: 'wl_output'.*\n\s+name: (\S+)\n.*output_transform: ([^,]+),", block,
                           re.DOTALL)
        if output:
            transforms[output[1]] = turns.get(output[2], 4)
    if not places or places.keys() != transforms.keys():
        raise AssertionError(f"wayland-info lists no outputs that can be read:\n{text}")
    return {name: (*place, transforms[name]) for name, place in places.items()}


def kscreen_doctor(env, *arguments):
    """Plasma's own screen settings tool; what it prints."""
    return subprocess.run(["kscreen-doctor", *arguments], env=dict(env, QT_QPA_PLATFORM="wayland"), check=True,
                          capture_output=True, text=True, timeout=30).stdout


def turn(env, quarters, output=TABLET):
    """Turns the output `quarters` quarter turns to the left of upright (0-3) through Plasma's settings."""
    kscreen_doctor(env, f"output.{output}.rotation.{('normal', 'left', 'inverted', 'right')[quarters]}")


class ScreenModule:
    """The stand-in of Plasma's screen module on the session's bus, automatic rotation on; stopped by
    process id."""

    def __init__(self, env):
        self._env = env
        self._process = start_stand_in("org.kde.KScreen", env)

    def automatic_rotation(self):
        """Whether the module has automatic rotation on, as a client of Plasma's asks it."""
        answer = subprocess.run(["gdbus", "call", "--address", self._env["DBUS_SESSION_BUS_ADDRESS"],
                                 *_SCREEN_MODULE, "-m", "org.kde.KScreen.getAutoRotate"],
                                capture_output=True, text=True, timeout=30, check=True).stdout.strip()
        return {"(true,)": True, "(false,)": False}[answer]

    def stop(self):
        stop_process(self._process)
        self._process.stdout.close()
