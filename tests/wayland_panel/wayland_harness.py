"""The Wayland driver of the panel checks: zentara through XWayland on a headless sway, Mutter or KWin
that the test class starts, acted on as its user through the X server (xdotool), the screen turned and
read back by the desktop's own tool, automatic rotation switched in the desktop's own lock and, on sway,
the screen seen through grim.

Standard library only; the X11 driver's helpers (tests/support/x11_panel_harness.py) do the rest.
"""
import ctypes
import json
import re
import subprocess
import sys
import unittest
from pathlib import Path

import wayland_sessions
from x11_panel_harness import PANEL_TITLE, Display, Image, PanelTestBase, build_dir
import xlib

REPO = Path(__file__).resolve().parents[2]

# The colour of the newer window the panel must stay above.
OTHER_WINDOW_COLOUR = (255, 0, 0)

_MUTTER_CONFIG = ["gdbus", "call", "--session", "-d", "org.gnome.Mutter.DisplayConfig", "-o",
                  "/org/gnome/Mutter/DisplayConfig", "-m"]
# Plasma's screen module, stood in for on the desktop's bus (its own needs a whole Plasma session).
_KSCREEN_STAND_IN = REPO / "tests" / "support" / "bus_stand_in.py"
_SYSTEM_PYTHON = "/usr/bin/python3"  # the one Debian's GObject bindings (python3-gi) belong to


_IGNORE_ERRORS = xlib.ERROR_HANDLER(lambda display, error: 0)


class DesktopDisplay(Display):
    """A Wayland desktop's XWayland display, used as the X11 driver uses its private display. A subclass
    starts its desktop (`session`), names the tools it needs and says how the desktop turns its screen
    (quarter turns to the left, 0-3)."""

    tools = ()

    def __init__(self):  # pylint: disable=super-init-not-called
        self.session = self.start()
        self.name = self.session.env["DISPLAY"]

    def start(self):
        raise NotImplementedError

    def close(self):
        self.session.stop()

    def env(self, extra=None):
        # The desktop's session folder is the program's: one panel per desktop.
        return {**self.session.env, **(extra or {})}

    def turn(self, quarters):
        raise NotImplementedError

    def rotation_code(self):
        """The tablet's output's turn as the desktop's own tool reads it back, counted as the rotation
        library counts it: 1 normal, 2 a quarter turn to the left, 3 upside down, 4 to the right."""
        raise NotImplementedError

    def automatic_rotation_on(self, folder):
        """Switches automatic rotation on in the lock this desktop keeps (which the turn buttons need);
        gives what the program's environment needs for it. `folder` is the test's own."""
        raise NotImplementedError

    def geometry(self, window):
        """The window's place on the screen as the X server tells it (xdotool counts a frame twice)."""
        info = self.run("xwininfo", "-id", window)
        left, top, width, height = (int(re.search(rf"{name}:\s+(-?\d+)", info).group(1)) for name in
                                    ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"))
        return left, top, left + width, top + height

    def top_level(self, window):
        """The child of the root that holds `window` (its frame where the desktop gives it one)."""
        while True:
            tree = self.run("xwininfo", "-children", "-id", window)
            parent, root = (int(re.search(rf"{name} window id: (0x[0-9a-f]+)", tree).group(1), 16)
                            for name in ("Parent", "Root"))
            if parent == root:
                return window
            window = parent

    def stacking(self):
        """The root's children as the X server stacks them, the top one first (as xwininfo lists them)."""
        return [int(w, 16) for w in re.findall(r"^\s+(0x[0-9a-f]+)", self.run("xwininfo", "-root", "-children"),
                                               re.MULTILINE)]

    def ask_to_close(self, window):
        """What a window manager's close does: WM_DELETE_WINDOW sent to the window (by a client of the
        desktop's session, which holds its X authority)."""
        subprocess.run([sys.executable, __file__, "close", str(window)], env=self.env(), check=True, timeout=30)

    def screenshot(self):
        """The desktop composed from what the X server holds of each shown top-level window, bottom one
        first, over black (XWayland's root itself holds no picture)."""
        width, height = self.size()
        rgb = bytearray(width * height * 3)
        for window in reversed(self.stacking()):
            if "IsViewable" not in self.run("xwininfo", "-id", window):
                continue
            left, top, right, bottom = self.geometry(window)
            w, h = right - left, bottom - top
            raw = subprocess.run(["import", "-window", str(window), "-depth", "8", "rgb:-"], env=self.env(),
                                 stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=60).stdout
            if len(raw) != w * h * 3:
                continue
            for y in range(max(0, -top), min(h, height - top)):
                x0, x1 = max(0, -left), min(w, width - left)
                if x0 < x1:
                    start = ((top + y) * width + left + x0) * 3
                    rgb[start:start + (x1 - x0) * 3] = raw[(y * w + x0) * 3:(y * w + x1) * 3]
        return Image(width, height, bytes(rgb))


def _send_close_request(window):
    with xlib.connection() as display:
        event = xlib.ClientMessageEvent(type=xlib.CLIENT_MESSAGE, window=window, format=32,
                                        message_type=xlib.XInternAtom(display, b"WM_PROTOCOLS", 0))
        event.data[0] = xlib.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
        xlib.XSendEvent(display, window, 0, 0, ctypes.byref(event))
        xlib.XSync(display, 0)


class SwayDisplay(DesktopDisplay):
    tools = ("sway", "swaymsg", "grim")

    def start(self):
        return wayland_sessions.SwaySession()

    def turn(self, quarters):
        # sway counts its transforms clockwise: a quarter turn to the left is 270.
        transform = ("normal", "270", "180", "90")[quarters]
        self.run("swaymsg", "output", "HEADLESS-1", "transform", transform)

    def rotation_code(self):
        outputs = json.loads(self.run("swaymsg", "-t", "get_outputs", "-r"))
        transform = next(output["transform"] for output in outputs if output["name"] == "HEADLESS-1")
        return {"normal": 1, "270": 2, "180": 3, "90": 4}.get(transform, 0)

    def automatic_rotation_on(self, folder):
        """sway keeps no lock: Zentara's own setting it is."""
        setting = Path(folder) / "config" / "zentara" / "rotation.conf"
        setting.parent.mkdir(parents=True, exist_ok=True)
        setting.write_text("[Rotation]\nAutomatic=true\n")
        return {"XDG_CONFIG_HOME": str(setting.parents[1])}

    def screenshot(self):
        ppm = subprocess.run(["grim", "-t", "ppm", "-"], env=self.env(), check=True, stdout=subprocess.PIPE,
                             timeout=60).stdout
        width, height, header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", ppm).group(1, 2, 0)
        return Image(int(width), int(height), ppm[len(header):])


class MutterDisplay(DesktopDisplay):
    tools = ("mutter", "gdbus", "gsettings", "import")

    def start(self):
        return wayland_sessions.MutterSession()

    def turn(self, quarters):
        """ApplyMonitorsConfig, temporary, with the one monitor's current mode."""
        state = self.run(*_MUTTER_CONFIG, "org.gnome.Mutter.DisplayConfig.GetCurrentState")
        serial = re.match(r"\(uint32 (\d+),", state).group(1)
        connector, mode = re.search(r"\(\('([^']+)'.*?\[\('([^']+)'", state).groups()
        config = f"[(0, 0, 1.0, {quarters}, true, [('{connector}', '{mode}', @a{{sv}} {{}})])]"
        self.run(*_MUTTER_CONFIG, "org.gnome.Mutter.DisplayConfig.ApplyMonitorsConfig", serial, "1", config, "{}")

    def rotation_code(self):
        """The one logical monitor's transform in GetCurrentState (the only tuple with a uint32 in it)."""
        state = self.run(*_MUTTER_CONFIG, "org.gnome.Mutter.DisplayConfig.GetCurrentState")
        return int(re.search(r"\(-?\d+, -?\d+, [\d.]+, uint32 (\d+), ", state).group(1)) + 1

    def automatic_rotation_on(self, folder):
        """GNOME's key that Mutter reads, kept by dconf on the desktop's bus."""
        self.run("gsettings", "set", "org.gnome.settings-daemon.peripherals.touchscreen", "orientation-lock", "false")
        return {}


class KWinDisplay(DesktopDisplay):
    tools = ("kwin_wayland", "kscreen-doctor", "import", _SYSTEM_PYTHON)

    def start(self):
        self._screen_module = None
        return wayland_sessions.KWinSession()

    def close(self):
        if self._screen_module is not None:
            self._screen_module.terminate()
            self._screen_module.wait(timeout=10)
            self._screen_module.stdout.close()
        super().close()

    def kscreen_doctor(self, *arguments):
        return subprocess.run(["kscreen-doctor", *arguments], env=self.env({"QT_QPA_PLATFORM": "wayland"}),
                              check=True, capture_output=True, text=True, timeout=30).stdout

    def turn(self, quarters):
        self.kscreen_doctor(f"output.1.rotation.{('normal', 'left', 'inverted', 'right')[quarters]}")

    def rotation_code(self):
        """kscreen-doctor gives the output's rotation as a bit: 1, 2, 4, 8."""
        rotation = json.loads(self.kscreen_doctor("-j"))["outputs"][0]["rotation"]
        return {1: 1, 2: 2, 4: 3, 8: 4}.get(rotation, 0)

    def automatic_rotation_on(self, folder):
        """Plasma's screen module on the desktop's bus, with automatic rotation on."""
        if self._screen_module is None:
            self._screen_module = subprocess.Popen([_SYSTEM_PYTHON, str(_KSCREEN_STAND_IN), "org.kde.KScreen"],
                                                   env=self.env(), stdout=subprocess.PIPE, text=True)
            if self._screen_module.stdout.readline().strip() != "ready":
                raise AssertionError("the stand-in of Plasma's screen module did not start")
        return {}


class WestonDisplay(DesktopDisplay):
    """Weston, whose own screenshooter shows where it composes each window. Its headless backend has no input
    devices, and its XWayland ends at the first pointer event faked through XTEST: the pointer is played by
    events sent to the window itself. It turns no output while it runs: `transform` turns it from the start."""

    tools = ("weston", "weston-screenshooter", "convert")
    transform = "normal"

    def start(self):
        return wayland_sessions.WestonSession(transform=self.transform)

    def screenshot(self):
        folder = Path(self.session.runtime)
        for old in folder.glob("wayland-screenshot*.png"):
            old.unlink()
        subprocess.run(["weston-screenshooter"], env=self.env(), cwd=folder, check=True, timeout=60,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        shot = next(folder.glob("wayland-screenshot*.png"))
        # The screenshooter gives the output's own pixels, which a turned output shows turned.
        degrees = {"normal": 0, "rotate-90": 90, "rotate-180": 180, "rotate-270": 270}[self.transform]
        ppm = subprocess.run(["convert", str(shot), "-rotate", str(degrees), "-depth", "8", "ppm:-"], check=True,
                             stdout=subprocess.PIPE, timeout=60).stdout
        width, height, header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", ppm).group(1, 2, 0)
        return Image(int(width), int(height), ppm[len(header):])

    def send_pointer(self, window, kind, x_root, y_root, held):
        """A pointer event ("press", "motion", "release" or "leave") at the screen point, as the X server would
        send it to `window`, whose place on the screen it reads first; nothing for a window that has gone (the
        panel's window that Weston held goes once the panel leaves its hands)."""
        state = self.window_state(window)
        if state is None:
            return
        (left, top, _, _), _ = state
        state = 0x100 if held else 0  # Button1Mask
        types = {"press": 4, "release": 5, "motion": 6, "leave": 8}
        tails = {"press": (state, 1, 1, 0, 0), "release": (state, 1, 1, 0, 0), "motion": (state, 0, 1, 0, 0),
                 "leave": (0, 0, 1, 0, state)}  # button 1; NotifyNormal from NotifyAncestor
        event = xlib.PointerEvent(type=types[kind], window=window, x=x_root - left, y=y_root - top, x_root=x_root,
                                  y_root=y_root, tail=(ctypes.c_uint * 5)(*tails[kind]))
        previous = xlib.XSetErrorHandler(_IGNORE_ERRORS)  # the window may go meanwhile
        try:
            with xlib.connection(self.name) as display:
                event.root = xlib.XDefaultRootWindow(display)
                xlib.XSendEvent(display, window, 0, 0, ctypes.byref(event))
                xlib.XSync(display, 0)
        finally:
            xlib.XSetErrorHandler(previous)


class WaylandPanelTestBase(PanelTestBase):
    """The X11 driver on a Wayland desktop's XWayland; `desktop` is its DesktopDisplay class."""

    desktop = None
    screenshots = build_dir() / "wayland" / "screenshots"

    @classmethod
    def open_display(cls):
        missing = wayland_sessions.available("xdotool", "xmessage", "xwininfo", *cls.desktop.tools)
        if missing:
            raise unittest.SkipTest(missing)
        return cls.desktop()

    def ask_to_close(self):
        self.display.ask_to_close(self.wait(lambda: (self.display.find(PANEL_TITLE) or [None])[0],
                                            "the panel window"))

    def notices(self, title):
        """The notices the desktop has placed and made the active window: before that it may still move them."""
        active = self.display.active_window()
        return [(window, rect) for window, rect in super().notices(title) if window == active]

    def another_window(self, geometry):
        """A plain X11 window of OTHER_WINDOW_COLOUR, started after the panel; ended at the test's end."""
        other = subprocess.Popen(["xmessage", "-bg", "#ff0000", "-geometry", geometry, "another window"],
                                 env=self.display.env(), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(lambda: (other.kill(), other.wait()))
        return other


if __name__ == "__main__" and sys.argv[1:2] == ["close"]:
    _send_close_request(int(sys.argv[2]))
