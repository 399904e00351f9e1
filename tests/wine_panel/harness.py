"""The Wine driver of the panel scenarios: Zentara under Wine, acted on as its user.

Standard library only. CTest gives the Wine session (state folder and prefix),
the unpacked release and the window tool through the environment; run by hand,
a module starts a session of its own and needs ZENTARA_BUILD_DIR. A scenario
that changes the screen runs in a second session, on a screen that turns.
"""
import contextlib
import json
import os
import re
import shutil
import subprocess
import tempfile
import threading
import time
import unittest
from pathlib import Path

from panel_pictures import (PANEL_CLASS, PANEL_SIZE, PANEL_TITLE, RecorderLog, append_line,  # noqa: F401
                            collapsed_panel, expanded_panel, largest_difference, scaled, scaled_panel,
                            screenshot)
from panel_scenarios import PanelUser
from waiting import wait_for
from xservers import PrivateDisplay, run_client, xdotool

REPO = Path(__file__).resolve().parents[2]

SESSION_SCRIPT = REPO / "tests" / "support" / "wine" / "session.sh"
TURNING_SCREEN = (800, 600)
# How long a wait for the program or Wine may take: generous, so that a loaded machine does not fail a
# test that passes (it only bounds how long a failing test waits).
PATIENCE = 30.0

# Window style bits the tests look at.
WS_POPUP = 0x80000000
WS_CAPTION = 0x00C00000
WS_THICKFRAME = 0x00040000
WS_EX_TOPMOST = 0x8
WS_EX_APPWINDOW = 0x40000
WS_EX_LAYERED = 0x80000


def _build_dir():
    return Path(os.environ.get("ZENTARA_BUILD_DIR", REPO / "build" / "win64"))


def report(line):
    """Adds a line to the report file, where timings go instead of into assertions."""
    append_line(os.environ.get("ZENTARA_WINE_PANEL_REPORT", _build_dir() / "wine_panel" / "report.txt"), line)


class Session:
    """The Wine session: a private X display and a Wine prefix.

    The shared display answers nobody while a client grabs it (ImageMagick's import does, for each
    screenshot) and while it resets after its last client left, dropping the connections it has not
    set up; in a few full runs it was silent for half a minute. Every X call of the tests goes through
    x_client: it waits such a stall out (up to x_stall_limit seconds), is made again when a reset
    dropped it, and the report file names what held the server, so that a stall delays a test rather
    than failing it."""

    x_timeout = 30.0
    x_stall_limit = 180.0

    def __init__(self):
        self.stalls = []
        state = os.environ.get("ZENTARA_WINE_STATE")
        prefix = os.environ.get("ZENTARA_WINE_PREFIX")
        self._own = state is None
        if self._own:
            self._tmp = tempfile.TemporaryDirectory(prefix="zentara-wine-panel-")
            state = os.path.join(self._tmp.name, "state")
            prefix = str(_build_dir() / "wine" / "panel-prefix")
            subprocess.run([str(SESSION_SCRIPT), "start", state, prefix], check=True, stdout=subprocess.DEVNULL)
        self.state = Path(state)
        self.prefix = Path(prefix)
        self.display = (self.state / "display").read_text().strip()
        self.wintool_exe = os.environ.get("ZENTARA_WINTOOL", str(_build_dir() / "tests" / "wine_panel" / "wintool.exe"))

    def close(self):
        if self._own:
            subprocess.run([str(SESSION_SCRIPT), "stop", str(self.state), str(self.prefix)],
                           stdout=subprocess.DEVNULL)
            self._tmp.cleanup()

    def env(self, extra=None):
        env = dict(os.environ)
        env.update({"WINEPREFIX": str(self.prefix), "DISPLAY": self.display, "WINEDEBUG": "-all",
                    "WINEDLLOVERRIDES": "mscoree,mshtml="})
        env.update(extra or {})
        return env

    # --- Windows side -------------------------------------------------------

    def wine(self, *args, timeout=120, env=None, cwd=None):
        # The output goes through files, not pipes: a Wine process may start the
        # session's desktop or services, which keep what it inherited open for
        # as long as they live.
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            result = subprocess.run(["wine", *map(str, args)], env=self.env(env), cwd=cwd, timeout=timeout,
                                    stdin=subprocess.DEVNULL, stdout=out, stderr=err)
            out.seek(0)
            err.seek(0)
            return subprocess.CompletedProcess(result.args, result.returncode,
                                               out.read().decode(errors="replace"), err.read().decode(errors="replace"))

    def wintool(self, *args, timeout=60, attempts=3):
        # Wine now and then fails to start a process while windows come and go; try again.
        for attempt in range(attempts):
            try:
                result = self.wine(self.wintool_exe, *args, timeout=timeout)
            except subprocess.TimeoutExpired:
                failure = f"timed out after {timeout} s"
                continue
            if result.returncode == 0:
                break
            failure = f"exit code {result.returncode}: {result.stderr}"
            time.sleep(0.2)  # a pause before the next attempt, not a wait for an event
        else:
            raise RuntimeError(f"wintool {args} failed: {failure}")
        return [json.loads(line) for line in result.stdout.splitlines() if line.startswith("{")]

    def windows(self, class_name=PANEL_CLASS, title=PANEL_TITLE):
        return self.wintool("find", class_name, title)

    def wait_for_window(self, timeout=60.0):
        """The panel window, once it is shown."""
        def shown():
            return next((window for window in self.windows() if window["visible"]), None)
        return wait_for(shown, timeout, interval=0.1, what="the panel window to show")

    def screen_size(self):
        return tuple(map(int, self.xdotool("getdisplaygeometry").split()))

    # --- X side -------------------------------------------------------------

    def _stalled(self, command):
        """What hears of a stall of the server while `command` waits: the stalls and the report file."""
        def stalled(seconds, account):
            self.stalls.append((seconds, account))
            report(f"the X server {self.display} kept {' '.join(map(str, command))[:80]} waiting "
                   f"{seconds:.1f} s: {account}")
        return stalled

    def x_client(self, *command, check=True, text=True):
        """Runs an X client on the session's display, waiting out a stall of the server."""
        return run_client([str(part) for part in command], self.env(), self.x_timeout, self.x_stall_limit,
                          self._stalled(command), check, text)

    def xdotool(self, *args):
        return xdotool(self.env(), *args, timeout=self.x_timeout, limit=self.x_stall_limit,
                       on_stall=self._stalled(("xdotool", *args)))

    def xdotool_lines(self, *args):
        """The lines xdotool prints, also when it finds nothing (and so ends with 1)."""
        return xdotool(self.env(), *args, check=False, timeout=self.x_timeout, limit=self.x_stall_limit,
                       on_stall=self._stalled(("xdotool", *args))).split()

    def move(self, x, y):
        self.xdotool("mousemove", x, y)

    def click(self, x, y, button=1):
        self.xdotool("mousemove", x, y, "click", button)

    def press(self, button=1):
        self.xdotool("mousedown", button)

    def release(self, button=1):
        self.xdotool("mouseup", button)

    def screenshot(self, size=None):
        return screenshot(self.env(), size or self.screen_size(),
                          run=lambda command: self.x_client(*command, text=False).stdout)


def _link_or_copy(source, target):
    # A session rewrites its registry files; the rest of a prefix is only read.
    if source.endswith(".reg"):
        shutil.copy2(source, target)
    else:
        os.link(source, target)


class TurningSession(Session):
    """A session of its own, for a screen that changes: an Xephyr of TURNING_SCREEN nested in a private
    Xvfb, which turns for real (where the shared Xvfb cannot change), and a copy of the shared session's
    prefix, set up already, whose files are linked rather than copied, so that it starts in about a second."""

    def __init__(self, shared):
        self._own = True
        self.stalls = []
        self._servers = PrivateDisplay(nested="{}x{}".format(*TURNING_SCREEN))
        try:
            self._tmp = tempfile.TemporaryDirectory(prefix="zentara-turning-", dir=shared.prefix.parent)
            self.state = Path(self._tmp.name) / "state"
            self.prefix = Path(self._tmp.name) / "prefix"
            # Wine gives each prefix folder a wineserver of its own, so the copy's stays apart.
            shutil.copytree(shared.prefix, self.prefix, symlinks=True, copy_function=_link_or_copy)
            self.display = self._servers.display
            self.wintool_exe = shared.wintool_exe
            subprocess.run([str(SESSION_SCRIPT), "start", str(self.state), str(self.prefix), self.display],
                           check=True, stdout=subprocess.DEVNULL)
        except BaseException:
            self.close()
            raise

    def close(self):
        if hasattr(self, "_tmp"):
            subprocess.run([str(SESSION_SCRIPT), "stop", str(self.state), str(self.prefix)],
                           stdout=subprocess.DEVNULL)
            self._tmp.cleanup()
        self._servers.stop()

    def turn(self, quarters):
        """Turns the screen `quarters` quarter turns from upright through Windows' display settings, which
        tell every program (a turn made with xrandr alone reaches Wine's desktop, not its programs), and
        waits for the X screen to have turned."""
        self.wintool("turn", quarters)
        width, height = TURNING_SCREEN if quarters % 2 == 0 else reversed(TURNING_SCREEN)
        wait_for(lambda: self.screen_size() == (width, height), PATIENCE, interval=0.1,
                 what=f"the X screen {width} x {height}")


class App:
    """The unpacked release, and the program processes started from it."""

    def __init__(self, session):
        self.session = session
        self.dir = Path(os.environ.get("ZENTARA_APP_DIR", _build_dir() / "wine_panel" / "app"))
        self.exe = self.dir / "Zentara.exe"
        self.processes = []

    def start(self, env=None, cwd=None):
        # Started from another folder, so that nothing depends on the working directory.
        process = subprocess.Popen(["wine", str(self.exe)], env=self.session.env(env), cwd=cwd or tempfile.gettempdir(),
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.processes.append(process)
        return process

    def kill_all(self):
        """Ends every started process at once (quicker than a close under Wine)."""
        for process in self.processes:
            if process.poll() is None:
                process.kill()
            process.wait()
        self.processes.clear()
        wait_for(lambda: not self.session.windows(), PATIENCE, interval=0.1, what="no panel window")

    def close_all(self):
        """Asks every panel window to close and makes sure every started process ends."""
        try:
            self.session.wintool("close", PANEL_CLASS, PANEL_TITLE)
        except (RuntimeError, subprocess.TimeoutExpired):
            pass
        for process in self.processes:
            try:
                process.wait(timeout=30)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
        self.processes.clear()
        wait_for(lambda: not self.session.windows(), PATIENCE, interval=0.1, what="no panel window")


DESKTOP_KEY = r"HKCU\Control Panel\Desktop"


def windows_path(path):
    return "Z:" + str(path).replace("/", "\\")


class PanelTestBase(PanelUser, unittest.TestCase):
    """The Wine driver: each class runs a copy of the unpacked release with the chosen Quillet.dll and,
    with `dpi`, the prefix's LogPixels (which Wine answers every dots-per-inch query with) at that
    value, put back when the class is done."""

    start_at_once = True
    drag_steps_lost = 1  # the first step passes the drag threshold; the system's move loop takes over there
    screenshots = _build_dir() / "wine_panel" / "screenshots"
    cannot = {
        "scale change while running": "Wine reads the prefix's LogPixels only when a program starts",
    }

    @classmethod
    def setUpClass(cls):
        cls.session = Session()
        cls.screen = cls.session.screen_size()
        cls.folder = tempfile.TemporaryDirectory(prefix="zentara-app-")
        cls.app_dir = Path(cls.folder.name) / "app"
        shutil.copytree(App(cls.session).dir, cls.app_dir)
        library = cls.app_dir / "images" / "Quillet.dll"
        if cls.quillet == "recorder":
            shutil.copy(_build_dir() / "test-support" / "recorder" / "Quillet.dll", library)
        elif cls.quillet == "none":
            library.unlink()
        cls.saved_dpi = None
        if cls.dpi:
            query = cls.session.wine("reg", "query", DESKTOP_KEY, "/v", "LogPixels")
            cls.saved_dpi = next((line.split()[-1] for line in query.stdout.splitlines() if "LogPixels" in line),
                                 None)
            try:
                cls.set_dpi(cls.dpi)
            except RuntimeError:
                cls.folder.cleanup()
                cls.session.close()
                raise

    @classmethod
    def tearDownClass(cls):
        try:
            if cls.dpi and cls.saved_dpi is None:
                cls.session.wine("reg", "delete", DESKTOP_KEY, "/v", "LogPixels", "/f")
            elif cls.dpi:
                cls.set_dpi(int(cls.saved_dpi, 0))
        finally:
            cls.folder.cleanup()
            cls.session.close()

    @classmethod
    def set_dpi(cls, dpi):
        result = cls.session.wine("reg", "add", DESKTOP_KEY, "/v", "LogPixels", "/t", "REG_DWORD", "/d", dpi, "/f")
        if result.returncode != 0:
            raise RuntimeError(f"could not set LogPixels to {dpi}: {result.stdout}{result.stderr}")

    def setUp(self):
        self.skip_what_the_driver_cannot_do()
        if getattr(getattr(self, self._testMethodName), "needs", None) == "screen change":
            # The shared session's screen cannot change; this test gets a session whose screen turns.
            self.session = TurningSession(type(self).session)
            self.addCleanup(self.session.close)
            self.screen = TURNING_SCREEN
        self.log = RecorderLog(Path(self.folder.name) / f"quillet-{self.id().split('.')[-1]}.log")
        self.app = App(self.session)
        self.app.dir, self.app.exe = self.app_dir, self.app_dir / "Zentara.exe"
        if self.start_at_once:
            self.process = self.start()

    def tearDown(self):
        self.app.kill_all()

    def launch(self, env=None):
        return self.app.start({"ZENTARA_QUILLET_LOG": windows_path(self.log.path), **(env or {})})

    def start(self, env=None):
        started = time.monotonic()
        process = self.launch(env)
        self.window = self.session.wait_for_window()
        self.report(f"start-up to the first shown frame under Wine: {(time.monotonic() - started) * 1000:.0f} ms "
                    f"({self.id().split('.', 1)[1]})")
        self.move_away()
        return process

    def restart(self, env=None):
        self.app.kill_all()
        self.process = self.start(env)

    def report(self, line):
        report(line)

    # --- the driver's interface -------------------------------------------------

    def rect(self):
        window = self.session.windows()[0]
        return window["left"], window["top"], window["right"], window["bottom"]

    def screen_size(self):
        return self.screen

    def screenshot(self):
        return self.session.screenshot(self.screen)

    def move(self, x, y):
        self.session.move(x, y)

    def click_at(self, x, y):
        self.session.click(x, y)

    def press(self):
        self.session.press()

    def release(self):
        self.session.release()

    def moving(self):
        return self.session.windows()[0]["moving"]

    def moves_while(self, action):
        """Runs `action`; the (left, top) of every move of the panel's X window meanwhile, as X tells its
        clients."""
        window = self.session.xdotool_lines("search", "--name", f"^{PANEL_TITLE}$")[0]
        watcher = subprocess.Popen(["stdbuf", "-oL", "xev", "-id", window, "-event", "structure", "-event",
                                    "property"], env=self.session.env(), stdout=subprocess.PIPE, text=True)
        lines = []
        reader = threading.Thread(target=lambda: lines.extend(watcher.stdout), daemon=True)
        reader.start()
        marks = [0]

        def marked():
            """Changes a property of the window; true once xev has told of a change after line `seen`."""
            marks[0] += 1
            self.session.x_client("xprop", "-id", window, "-f", "ZENTARA_TEST_MARK", "32c", "-set",
                                  "ZENTARA_TEST_MARK", str(marks[0]))
            return any(line.startswith("PropertyNotify") for line in lines[seen:])

        try:
            # xev listens once it tells of a change; until then, it may miss one.
            seen = 0
            self.wait(marked, "xev to listen", interval=0.2)
            seen = mark = len(lines)
            action()
            # And has told of every move once it tells of the next change.
            self.wait(marked, "xev to follow", interval=0.2)
        finally:
            watcher.terminate()
            watcher.wait(timeout=10)
            reader.join(timeout=10)
            watcher.stdout.close()
        text = "".join(lines[mark:])
        return [(int(x), int(y)) for x, y in
                re.findall(r"ConfigureNotify event.*\n\s+event \S+, window \S+, \((-?\d+),(-?\d+)\)", text)]

    def drag(self, x, y, step_x, step_y, steps=10):
        """Drags from window point (x, y) in small steps. The first step passes the drag threshold, and the
        system's move loop takes over from where the pointer is then; the other steps go to that loop."""
        left, top, _, _ = self.rect()
        self.move(left + x, top + y)
        self.press()
        self.move(left + x + step_x, top + y + step_y)
        self.wait(self.moving, "the window drag to begin")
        for step in range(2, steps + 1):
            self.move(left + x + step_x * step, top + y + step_y * step)
        self.release()
        self.wait(lambda: not self.moving(), "the window drag to end")
        return left, top

    @contextlib.contextmanager
    def another_window_in_front(self):
        taker = subprocess.Popen(["wine", self.session.wintool_exe, "hold-foreground", "60000"],
                                 env=self.session.env(), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            yield
        finally:
            taker.kill()
            taker.wait()

    def ask_to_close(self):
        self.session.wintool("close", PANEL_CLASS, PANEL_TITLE)

    def panel_windows(self):
        return len(self.session.windows())

    def notices(self, title):
        """Wine's message boxes with that title, found as the X windows Wine shows them in, with their places."""
        notices = []
        for window in self.session.xdotool_lines("search", "--onlyvisible", "--name", f"^{title}$"):
            # One that closed since the search is no longer a notice.
            values = dict(line.split("=", 1) for line in self.session.xdotool_lines("getwindowgeometry", "--shell",
                                                                                    window))
            if not values:
                continue
            x, y, width, height = (int(values[key]) for key in ("X", "Y", "WIDTH", "HEIGHT"))
            notices.append((window, (x, y, x + width, y + height)))
        return notices

    def press_key(self, window, key):
        # Without a window manager the X input focus is given straight to the window. A notice
        # that closed since it was found (the program went on to the next) takes no key.
        try:
            self.session.xdotool("windowfocus", "--sync", window)
        except subprocess.CalledProcessError:
            if window in self.session.xdotool_lines("search", "--onlyvisible", "--name", "."):
                raise
            return
        self.session.xdotool("key", key)

    def screen_changes(self):
        """The turning session's screen turned a quarter, upright again, and turned once more."""
        width, height = TURNING_SCREEN
        return (0, 0, height, width), (0, 0, width, height), (0, 0, height, width)

    def change_screen(self, area):
        """Turns the turning session's screen so that it is `area`; None turns it back upright."""
        width, height = TURNING_SCREEN
        self.session.turn({None: 0, (0, 0, width, height): 0, (0, 0, height, width): 1}[area])
        self.screen = self.session.screen_size()
