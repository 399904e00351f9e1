"""The Wayland driver of the panel checks: zentara through XWayland on a headless sway, Mutter or KWin
that the test class starts, acted on as its user through the X server (xdotool), the screen turned and
read back by the desktop's own tool, automatic rotation switched in the desktop's own lock and, on sway,
the screen seen through grim.

Standard library only; the X11 driver's helpers (tests/support/x11_panel_harness.py) do the rest.
"""
import ctypes
import re
import subprocess
import sys
import unittest
from pathlib import Path

from desktop_families import gnome, plasma, weston, wlroots
from desktop_families.headless import available
from x11_panel_harness import PANEL_TITLE, Display, Image, PanelTestBase, build_dir
import xlib

# The colour of the newer window the panel must stay above.
OTHER_WINDOW_COLOUR = (255, 0, 0)

_IGNORE_ERRORS = xlib.ERROR_HANDLER(lambda display, error: 0)


class DesktopDisplay(Display):
    """A Wayland desktop's XWayland display, used as the X11 driver uses its private display. A subclass
    names its desktop family's module (`family`, of tests/support/desktop_families/), which starts the
    desktop with one output and turns and reads back its screen, and the tools it needs beyond it."""

    family = None
    tools = ()

    def __init__(self):  # pylint: disable=super-init-not-called
        self.session = self.start()
        self.name = self.session.env["DISPLAY"]

    def start(self):
        return self.family.Session()

    def close(self):
        self.session.stop()

    def env(self, extra=None):
        # The desktop's session folder is the program's: one panel per desktop.
        return {**self.session.env, **(extra or {})}

    def turn(self, quarters):
        """Turns the screen `quarters` quarter turns to the left (0-3) through the desktop's own tool."""
        self.family.turn(self.env(), quarters)

    def rotation_code(self):
        """The output's turn as the desktop's own tool reads it back, counted as the rotation library counts
        it: 1 normal, 2 a quarter turn to the left, 3 upside down, 4 to the right; 0 for a flipped one."""
        ((_, _, _, _, transform),) = self.family.outputs(self.env()).values()
        return transform + 1 if transform < 4 else 0

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
    family = wlroots
    tools = (*wlroots.TOOLS, "grim")

    def automatic_rotation_on(self, folder):
        return wlroots.automatic_rotation_on(folder)

    def screenshot(self):
        ppm = subprocess.run(["grim", "-t", "ppm", "-"], env=self.env(), check=True, stdout=subprocess.PIPE,
                             timeout=60).stdout
        width, height, header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", ppm).group(1, 2, 0)
        return Image(int(width), int(height), ppm[len(header):])


class MutterDisplay(DesktopDisplay):
    family = gnome
    tools = (*gnome.TOOLS, "import")

    def automatic_rotation_on(self, folder):
        return gnome.automatic_rotation_on(self.env())


class KWinDisplay(DesktopDisplay):
    family = plasma
    tools = (*plasma.TOOLS, "import")

    def start(self):
        self._screen_module = None
        return super().start()

    def close(self):
        if self._screen_module is not None:
            self._screen_module.stop()
        super().close()

    def automatic_rotation_on(self, folder):
        """Plasma's screen module on the desktop's bus, with automatic rotation on."""
        if self._screen_module is None:
            self._screen_module = plasma.ScreenModule(self.env())
        return {}


class WestonDisplay(DesktopDisplay):
    """Weston, whose own screenshooter shows where it composes each window. Its headless backend has no input
    devices, and its XWayland ends at the first pointer event faked through XTEST: the pointer is played by
    events sent to the window itself. It turns no output while it runs: `transform` turns it from the start."""

    family = weston
    tools = (*weston.TOOLS, "weston-screenshooter", "convert")
    transform = "normal"

    def start(self):
        return weston.Session(transform=self.transform)

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
        missing = available("xdotool", "xmessage", "xwininfo", *cls.desktop.tools)
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
