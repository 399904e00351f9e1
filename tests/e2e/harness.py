"""What the end-to-end tests use to run Zentara under Wine and act as its user.

Standard library only. CTest gives the Wine session (state folder and prefix),
the unpacked release and the window tool through the environment; run by hand,
a module starts a session of its own and needs ZENTARA_BUILD_DIR.
"""
import functools
import json
import os
import struct
import subprocess
import tempfile
import time
import zlib
from pathlib import Path

REPO = Path(__file__).resolve().parents[2]
SESSION_SCRIPT = REPO / "tests" / "support" / "wine" / "session.sh"
PANEL_CLASS = "TPanelForm"
PANEL_TITLE = "KOVA Zentara"

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
    path = Path(os.environ.get("ZENTARA_E2E_REPORT", _build_dir() / "e2e" / "report.txt"))
    path.parent.mkdir(parents=True, exist_ok=True)
    with path.open("a") as file:
        file.write(line + "\n")
    print(line)


def wait_for(predicate, timeout=10.0, interval=0.05, what="condition"):
    """The predicate's first true value; fails once `timeout` seconds have passed."""
    end = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > end:
            raise AssertionError(f"timed out after {timeout} s waiting for {what}")
        time.sleep(interval)


class Session:
    """The Wine session: a private X display and a Wine prefix."""

    def __init__(self):
        state = os.environ.get("ZENTARA_WINE_STATE")
        prefix = os.environ.get("ZENTARA_WINE_PREFIX")
        self._own = state is None
        if self._own:
            self._tmp = tempfile.TemporaryDirectory(prefix="zentara-e2e-")
            state = os.path.join(self._tmp.name, "state")
            prefix = str(_build_dir() / "wine" / "e2e-prefix")
            subprocess.run([str(SESSION_SCRIPT), "start", state, prefix], check=True, stdout=subprocess.DEVNULL)
        self.state = Path(state)
        self.prefix = Path(prefix)
        self.display = (self.state / "display").read_text().strip()
        self.wintool_exe = os.environ.get("ZENTARA_WINTOOL", str(_build_dir() / "tests" / "e2e" / "wintool.exe"))

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

    # Timeouts only bound how long a failing test waits; generous ones keep a
    # loaded machine from failing a test that passes.
    def wait_for(self, predicate, timeout=30.0, interval=0.1, what="condition"):
        return wait_for(predicate, timeout, interval, what)

    def wait_for_window(self, timeout=60.0):
        """The panel window, once it is shown."""
        def shown():
            return next((window for window in self.windows() if window["visible"]), None)
        return self.wait_for(shown, timeout, what="the panel window to show")

    def screen_size(self):
        return tuple(map(int, self.xdotool("getdisplaygeometry").split()))

    # --- X side -------------------------------------------------------------

    def xdotool(self, *args):
        result = subprocess.run(["xdotool", *map(str, args)], env=self.env(), check=True,
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, timeout=30)
        return result.stdout.strip()

    def move(self, x, y):
        self.xdotool("mousemove", x, y)

    def click(self, x, y, button=1):
        self.xdotool("mousemove", x, y, "click", button)

    def press(self, button=1):
        self.xdotool("mousedown", button)

    def release(self, button=1):
        self.xdotool("mouseup", button)

    def screenshot(self):
        width, height = self.screen_size()
        raw = subprocess.run(["import", "-window", "root", "-depth", "8", "rgb:-"], env=self.env(), check=True,
                             stdout=subprocess.PIPE, timeout=60).stdout
        return Image(width, height, raw)


class Image:
    """An RGB screenshot."""

    def __init__(self, width, height, rgb):
        if len(rgb) != width * height * 3:
            raise ValueError("screenshot size does not match the display")
        self.width, self.height, self.rgb = width, height, rgb

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.rgb[i:i + 3])

    def crop(self, left, top, width, height):
        rows = [self.rgb[((top + y) * self.width + left) * 3:((top + y) * self.width + left + width) * 3]
                for y in range(height)]
        return Image(width, height, b"".join(rows))

    def save_png(self, path):
        rows = b"".join(b"\x00" + self.rgb[y * self.width * 3:(y + 1) * self.width * 3] for y in range(self.height))

        def chunk(kind, data):
            return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)
        Path(path).write_bytes(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows, 9))
                               + chunk(b"IEND", b""))


class App:
    """The unpacked release, and the program processes started from it."""

    def __init__(self, session):
        self.session = session
        self.dir = Path(os.environ.get("ZENTARA_APP_DIR", _build_dir() / "e2e" / "app"))
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
        self.session.wait_for(lambda: not self.session.windows(), what="no panel window")

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
        self.session.wait_for(lambda: not self.session.windows(), what="no panel window")


# --- the panel's pictures, composed as the program composes them -------------

ARTWORK = REPO / "images"
PANEL_SIZE = (341, 113)
PANEL_OPACITY = 230


def _read_png(path):
    import sys
    sys.path.insert(0, str(REPO / "art"))
    try:
        from pngio import read_png
    finally:
        sys.path.pop(0)
    return read_png(str(path))


class Composition:
    """Premultiplied layers blended source-over onto a transparent panel."""

    def __init__(self, width=PANEL_SIZE[0], height=PANEL_SIZE[1]):
        self.width, self.height = width, height
        self.rgba = [0.0] * (width * height * 4)

    def add(self, name, left=0, top=0):
        picture = _read_png(ARTWORK / name)
        src, dst = picture.pixels, self.rgba
        for y in range(picture.height):
            ty = top + y
            if not 0 <= ty < self.height:
                continue
            for x in range(picture.width):
                tx = left + x
                if not 0 <= tx < self.width:
                    continue
                si = (y * picture.width + x) * 4
                a = src[si + 3]
                if a == 0:
                    continue
                di = (ty * self.width + tx) * 4
                keep = 1.0 - a / 255.0
                for c in range(3):
                    dst[di + c] = src[si + c] * a / 255.0 + dst[di + c] * keep
                dst[di + 3] = a + dst[di + 3] * keep
        return self

    def on_black(self, opacity=PANEL_OPACITY):
        """The RGB picture a layered window shows over black at this opacity."""
        k = opacity / 255.0
        rgb = bytearray(self.width * self.height * 3)
        for i in range(self.width * self.height):
            for c in range(3):
                rgb[i * 3 + c] = min(255, int(self.rgba[i * 4 + c] * k + 0.5))
        return Image(self.width, self.height, bytes(rgb))


def largest_difference(a, b):
    """The largest difference of one channel between two images of the same size."""
    if (a.width, a.height) != (b.width, b.height):
        raise ValueError("images differ in size")
    return max(abs(x - y) for x, y in zip(a.rgb, b.rgb))


@functools.lru_cache(maxsize=None)
def expanded_panel(auto_rotation_on=False):
    """What the expanded panel shows on the screen, no button hovered or pressed."""
    turn = "n.png" if auto_rotation_on else "un.png"
    lock = ("Unlock" if auto_rotation_on else "lock")
    return (Composition().add("extend0015.png").add("Button/X/n.png", 280, 44)
            .add(f"Button/Turn Left/{turn}", 102, 32).add(f"Button/Turn Right/{turn}", 158, 32)
            .add(f"Button/{lock}/n.png", 214, 32).add("Button/Stage2/d.png", 0, 0).on_black())


@functools.lru_cache(maxsize=None)
def collapsed_panel(idle=False):
    """What the collapsed panel shows on the screen, with the active or the idle handle."""
    return Composition().add("extend0001.png").add(f"Button/Stage1/{'n' if idle else 'd'}.png", 227, 0).on_black()


def scaled(pixels, scale):
    """A 100 % distance at `scale` percent, rounded half up as the program rounds it."""
    return (pixels * scale + 50) // 100


@functools.lru_cache(maxsize=None)
def scaled_panel(scale, expanded):
    """What the panel of the `scale` % set shows on the screen, no button hovered or pressed
    and automatic rotation off."""
    def px(pixels):
        return scaled(pixels, scale)

    folder = f"scale-{scale}/"
    panel = Composition(px(341), px(113))
    if not expanded:
        return panel.add(folder + "extend0001.png").add(folder + "Button/Stage1/d.png", px(227), 0).on_black()
    return (panel.add(folder + "extend0015.png").add(folder + "Button/X/n.png", px(280), px(44))
            .add(folder + "Button/Turn Left/un.png", px(102), px(32))
            .add(folder + "Button/Turn Right/un.png", px(158), px(32))
            .add(folder + "Button/lock/n.png", px(214), px(32)).add(folder + "Button/Stage2/d.png").on_black())
