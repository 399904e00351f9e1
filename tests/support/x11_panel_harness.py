"""The X11 driver of the panel scenarios: zentara on a private X display, acted on as its user.

Standard library only. Each test class starts its own Xvfb (with openbox as the
window manager where it needs one) and a copy of the built program's folder.
CTest passes the build's folders through the environment; run by hand, the
module needs ZENTARA_BUILD_DIR (default build/linux).
"""
import contextlib
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest
from pathlib import Path

from panel_pictures import (PANEL_CLASS, PANEL_SIZE, PANEL_TITLE, Image, RecorderLog,  # noqa: F401
                            append_line, collapsed_panel, expanded_panel, largest_difference, scaled,
                            scaled_panel, screenshot)
from panel_scenarios import PanelUser
from waiting import wait_for
from xrandr_report import screen_report
import xlib
from xservers import PrivateDisplay, xdotool

REPO = Path(__file__).resolve().parents[2]

SCREEN = (1280, 800)


class SelectionOwner:
    """A client of its own on the display that owns a selection with a window, as a compositing
    manager owns _NET_WM_CM_S0 or a settings daemon _XSETTINGS_S0; it lets go when closed."""

    def __init__(self, display_name, selection):
        self._display = xlib.XOpenDisplay(display_name.encode())
        assert self._display, "cannot open the display"
        self.window = xlib.XCreateSimpleWindow(self._display, xlib.XDefaultRootWindow(self._display),
                                               0, 0, 1, 1, 0, 0, 0)
        xlib.XSetSelectionOwner(self._display, self.atom(selection), self.window, 0)
        xlib.XSync(self._display, 0)

    def atom(self, name):
        return xlib.XInternAtom(self._display, name.encode(), 0)

    def set_property(self, name, data):
        atom = self.atom(name)
        xlib.XChangeProperty(self._display, self.window, atom, atom, 8, 0, data, len(data))
        xlib.XSync(self._display, 0)

    def close(self):
        if self._display:
            xlib.XCloseDisplay(self._display)
            self._display = None


def build_dir():
    return Path(os.environ.get("ZENTARA_BUILD_DIR", REPO / "build" / "linux"))


class Display:
    """A private Xvfb display, with a window manager on it when asked for (openbox, or "fluxbox"), and
    without MIT-SHM when asked.
    With `nested_screen` (width, height) the display is an Xephyr of that size, which turns its screen
    for real, inside a private 1920 x 1080 Xvfb that holds it both ways round.
    Unless told otherwise, a stand-in compositing manager owns _NET_WM_CM_S0, so that the panel keeps
    its see-through edges, which the screenshots show over the black root as a compositor would;
    without one the panel keeps only its mostly opaque pixels."""

    def __init__(self, window_manager=True, shared_memory=True, nested_screen=None, compositor=True):
        nested = None if nested_screen is None else "{}x{}".format(*nested_screen)
        self._servers = PrivateDisplay("{}x{}".format(*SCREEN), nested, shared_memory)
        self.name = self._servers.display
        self._tmp = tempfile.TemporaryDirectory(prefix="zentara-x11-")
        self._compositor = SelectionOwner(self.name, "_NET_WM_CM_S0") if compositor else None
        self._wm = None
        if window_manager:
            command = (["fluxbox", "-rc", self._fluxbox_config()] if window_manager == "fluxbox" else
                       ["openbox", "--config-file", self._openbox_config()])
            # In a session of its own: fluxbox starts helpers, which end with it.
            self._wm = subprocess.Popen(command, env=self.env(), stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL, start_new_session=True)
            wait_for(lambda: "window id" in self.xprop_root("_NET_SUPPORTING_WM_CHECK"),
                     timeout=15, what=f"{command[0]} to start")

    def _openbox_config(self):
        """openbox's own settings without screen-edge resistance, so a drag lands where the pointer goes."""
        system = Path("/etc/xdg/openbox/rc.xml")
        text = system.read_text() if system.exists() else "<openbox_config></openbox_config>"
        text = re.sub(r"<strength>\d+</strength>", "<strength>0</strength>", text)
        text = re.sub(r"<screen_edge_strength>\d+</screen_edge_strength>",
                      "<screen_edge_strength>0</screen_edge_strength>", text)
        path = Path(self._tmp.name) / "rc.xml"
        path.write_text(text)
        return str(path)

    def _fluxbox_config(self):
        """fluxbox's settings without its tool bar and without a wallpaper, whose setting tool would
        open a window of its own."""
        folder = Path(self._tmp.name)
        (folder / "overlay").write_text("background: none\n")
        init = folder / "init"
        init.write_text(f"session.screen0.toolbar.visible: false\nsession.styleOverlay: {folder / 'overlay'}\n")
        return str(init)

    def close(self):
        # The stand-in compositor's connection, the window manager, then the servers.
        if self._compositor is not None:
            self._compositor.close()
        if self._wm is not None:
            self._wm.terminate()
            try:
                self._wm.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self._wm.kill()
                self._wm.wait()
            with contextlib.suppress(ProcessLookupError):
                os.killpg(self._wm.pid, signal.SIGKILL)  # what it started and left behind
        self._servers.stop()
        self._tmp.cleanup()

    def env(self, extra=None):
        env = dict(os.environ)
        env["DISPLAY"] = self.name
        # Every run has a session folder of its own, so the single-instance lock is per test class.
        env["XDG_RUNTIME_DIR"] = self._tmp.name
        env.update(extra or {})
        return env

    def run(self, *args, timeout=30, check=True):
        result = subprocess.run([str(a) for a in args], env=self.env(), check=check, timeout=timeout,
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        return result.stdout.strip()

    def xdotool(self, *args, check=True):
        """xdotool on the display, waiting out a server that answers nobody for a while."""
        return xdotool(self.env(), *args, check=check)

    def xprop_root(self, name):
        return self.run("xprop", "-root", name, check=False)

    def xprop(self, window, name):
        return self.run("xprop", "-id", window, name, check=False)

    def find(self, title, only_visible=True):
        args = ["search", "--onlyvisible"] if only_visible else ["search"]
        output = self.xdotool(*args, "--name", f"^{title}$", check=False)
        return [int(line) for line in output.split()]

    def geometry(self, window):
        values = dict(line.split("=", 1) for line in self.xdotool("getwindowgeometry", "--shell", window).split())
        x, y, w, h = (int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))
        return x, y, x + w, y + h

    def window_state(self, window):
        """The window's (left, top, right, bottom) on the X screen and whether it is override-redirect (out of
        the window manager's hands); None once it is gone."""
        info = self.run("xwininfo", "-id", window, check=False)
        values = [re.search(rf"{name}:\s+(-?\d+)", info) for name in
                  ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height")]
        if not all(values):
            return None
        left, top, width, height = (int(value.group(1)) for value in values)
        return (left, top, left + width, top + height), "Override Redirect State: yes" in info

    def active_window(self):
        match = re.search(r"window id # (0x[0-9a-f]+)", self.xprop_root("_NET_ACTIVE_WINDOW"))
        return int(match.group(1), 16) if match else 0

    def move(self, x, y):
        self.xdotool("mousemove", x, y)

    def click(self, x, y, button=1):
        self.xdotool("mousemove", x, y, "click", button)

    def size(self):
        """The screen's size now (a turned screen has its sides swapped)."""
        info = self.run("xwininfo", "-root")
        return tuple(int(re.search(rf"{side}: (\d+)", info).group(1)) for side in ("Width", "Height"))

    def rotation(self):
        """The screen's size and its output's rotation, as xrandr reports them."""
        size, rotations = screen_report(self.run("xrandr", "--query"))
        return size, rotations[0]

    def screenshot(self):
        return screenshot(self.env(), self.size())


class AppFolder:
    """A copy of the built program's folder, with the chosen rotation library in images/."""

    def __init__(self, quillet="recorder"):
        self._tmp = tempfile.TemporaryDirectory(prefix="zentara-app-")
        self.dir = Path(self._tmp.name) / "app"
        dist = Path(os.environ.get("ZENTARA_X11_DIST", build_dir() / "dist"))
        shutil.copytree(dist, self.dir)
        library = self.dir / "images" / "libquillet.so"
        if quillet == "recorder":
            recorder = Path(os.environ.get("ZENTARA_X11_RECORDER",
                                           build_dir() / "test-support" / "recorder" / "libquillet.so"))
            shutil.copy(recorder, library)
        elif quillet == "none":
            library.unlink(missing_ok=True)
        self.exe = self.dir / "zentara"
        self.folder = Path(self._tmp.name)

    def cleanup(self):
        self._tmp.cleanup()


ENGLISH = {"LANGUAGE": "", "LC_ALL": "", "LC_MESSAGES": "", "LANG": "en_US.UTF-8"}
REPORT = build_dir() / "x11" / "report.txt"


class DisplayTestCase(unittest.TestCase):
    """A test class that owns a private display and a copy of the program's folder, made as its
    class attributes say."""

    window_manager = True
    shared_memory = True
    nested_screen = None
    compositor = True
    quillet = "recorder"

    @classmethod
    def open_display(cls):
        """The display the class runs on; a driver for other desktops gives its own."""
        return Display(window_manager=cls.window_manager, shared_memory=cls.shared_memory,
                       nested_screen=cls.nested_screen, compositor=cls.compositor)

    @classmethod
    def setUpClass(cls):
        cls.display = cls.open_display()
        cls.app = AppFolder(cls.quillet)

    @classmethod
    def tearDownClass(cls):
        cls.display.close()
        cls.app.cleanup()


class PanelTestBase(PanelUser, DisplayTestCase):
    """The X11 driver: each class owns a private display and a copy of the program's folder; each test
    starts the program (unless `start_at_once` is false) with the recording library's log of its own."""

    start_at_once = True
    patience = 10.0
    runner = ()  # what the program runs under, such as an emulator for another architecture's build
    screenshots = build_dir() / "x11" / "screenshots"
    cannot = {"window moves seen": "the window manager's frame, not the panel's window, moves on the screen"}
    startup_times = []
    # Where the window manager does not keep the panel's place, the panel leaves its hands in a new window
    # soon after it shows (the first one goes): the driver waits for that before it drives the panel.
    leaves_the_window_manager = False

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.app_dir = cls.app.dir
        if cls.dpi:
            cls.set_dpi(cls.dpi)

    @classmethod
    def set_dpi(cls, dpi):
        """The desktop's scale, as Xft.dpi in the root window's resources; the program follows a change."""
        cls.display.run("xprop", "-root", "-f", "RESOURCE_MANAGER", "8s", "-set", "RESOURCE_MANAGER",
                        f"Xft.dpi:\t{dpi}\n")

    def setUp(self):
        self.skip_what_the_driver_cannot_do()
        self.processes = []
        self.log = RecorderLog(self.app.folder / f"quillet-{self.id().split('.')[-1]}.log")
        if self.start_at_once:
            self.process = self.start()

    def tearDown(self):
        self.end_programs()

    def end_programs(self):
        for process in self.processes:
            if process.poll() is None:
                process.kill()
            process.wait()
        self.processes = []
        wait_for(lambda: not self.display.find(PANEL_TITLE, only_visible=False), timeout=10,
                 what="no panel window")

    def launch(self, env=None, stderr=subprocess.DEVNULL):
        process = subprocess.Popen([*self.runner, str(self.app.exe)], cwd=self.app.folder, stdout=subprocess.DEVNULL,
                                   stderr=stderr,
                                   env=self.display.env({**ENGLISH, "ZENTARA_QUILLET_LOG": str(self.log.path),
                                                         **(env or {})}))
        self.processes.append(process)
        return process

    def start(self, env=None):
        started = time.monotonic()
        process = self.launch(env)
        self.window = self.wait(lambda: (self.display.find(PANEL_TITLE) or [None])[0], "the panel window to show")
        PanelTestBase.startup_times.append(time.monotonic() - started)
        if self.leaves_the_window_manager:
            self.seen_on_the_way = self.wait_out_of_the_window_managers_hands()
        self.move_away()
        return process

    def wait_out_of_the_window_managers_hands(self):
        """Waits until the one panel window is out of the window manager's hands at its edge, and takes it as
        the panel's window from then on; gives the (window, state) pairs seen on the way, in order."""
        place = self.at_right_edge((0, 0, *self.screen_size()))
        seen = []

        def settled():
            windows = self.display.find(PANEL_TITLE)
            states = [(window, self.display.window_state(window)) for window in windows]
            seen.extend(state for state in states if state not in seen)
            return windows[0] if len(windows) == 1 and states[0][1] == (place, True) else None

        try:
            self.window = self.wait(settled, f"the panel out of the window manager's hands at {place}")
        except AssertionError as error:
            raise AssertionError(f"{error}; seen: {seen}") from None
        return seen

    def restart(self, env=None):
        self.end_programs()
        self.process = self.start(env)

    def report(self, line):
        append_line(REPORT, line)

    # --- the driver's interface -------------------------------------------------

    def rect(self):
        return self.display.geometry(self.window)

    def screen_size(self):
        return self.display.size()

    def screenshot(self):
        return self.display.screenshot()

    def move(self, x, y):
        self.display.move(x, y)

    def click_at(self, x, y):
        self.display.click(x, y)

    def press(self):
        self.display.xdotool("mousedown", 1)

    def release(self):
        self.display.xdotool("mouseup", 1)

    def drag(self, x, y, step_x, step_y, steps=10, while_held=None):
        """Drags from window point (x, y) in small steps; the window keeps the pointer where it pressed it.
        `while_held` (left, top) runs after the last step, before the button comes up."""
        left, top, _, _ = self.rect()
        self.move(left + x, top + y)
        self.press()
        for step in range(1, steps + 1):
            self.move(left + x + step_x * step, top + y + step_y * step)
            time.sleep(0.02)  # paces the pointer like a hand, so each step is a motion of its own
        if while_held is not None:
            while_held(left, top)
        self.release()
        return left, top

    @contextlib.contextmanager
    def another_window_in_front(self):
        other = subprocess.Popen(["xmessage", "-geometry", "+100+400", "another window"], env=self.display.env(),
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            yield
        finally:
            other.kill()
            other.wait()

    def ask_to_close(self):
        window = self.wait(lambda: (self.display.find(PANEL_TITLE) or [None])[0], "the panel window")

        def activated():
            # openbox may still be handing the focus back from a window that has just gone.
            self.display.xdotool("windowactivate", "--sync", window)
            return self.display.active_window() == window

        self.wait(activated, "the panel to be the active window")
        for _ in range(3):
            self.display.xdotool("key", "alt+F4")  # openbox asks the active window to close
            try:
                wait_for(lambda: not self.display.find(PANEL_TITLE), timeout=10, what="the panel to go")
                return
            except AssertionError:
                # Said, so that a key that never reached the window manager is told apart from a program
                # that does not end (which the caller's wait for its exit then shows).
                print("the panel still shows 10 s after Alt+F4; asking again", file=sys.stderr)
                self.wait(activated, "the panel to be the active window")

    def panel_windows(self):
        return len(self.display.find(PANEL_TITLE, only_visible=False))

    def change_screen(self, area):
        """Makes `area` (left, top, width, height) the primary monitor in place of the one set before;
        None leaves the whole screen."""
        self.display.run("xrandr", "--delmonitor", "inner", check=False)
        if area:
            left, top, width, height = area
            self.display.run("xrandr", "--setmonitor", "*inner", f"{width}/211x{height}/159+{left}+{top}", "none")

    def notices(self, title):
        return [(window, self.display.geometry(window)) for window in self.display.find(title)]

    def press_key(self, window, key):
        self.display.xdotool("windowactivate", "--sync", window)
        self.display.xdotool("key", key)
