"""What the X11 end-to-end tests use to run zentara on a private X display and act as its user.

Standard library only. Each test class starts its own Xvfb (with openbox as the
window manager where it needs one) and a copy of the built program's folder.
CTest passes the build's folders through the environment; run by hand, the
module needs ZENTARA_BUILD_DIR (default build/linux).
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

REPO = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(REPO / "tests" / "e2e"))
sys.path.insert(0, str(REPO / "tests" / "x11"))
from harness import (PANEL_SIZE, Image, collapsed_panel, expanded_panel,  # noqa: E402,F401
                     largest_difference, scaled, scaled_panel, wait_for)
from xrandr_report import screen_report  # noqa: E402

PANEL_TITLE = "KOVA Zentara"
PANEL_CLASS = "TPanelForm"
SCREEN = (1280, 800)


def build_dir():
    return Path(os.environ.get("ZENTARA_BUILD_DIR", REPO / "build" / "linux"))


class Display:
    """A private Xvfb display, with openbox on it when asked for, and without MIT-SHM when asked.
    With `nested_screen` (width, height) the display is an Xephyr of that size, which turns its screen
    for real, inside a private 1920 x 1080 Xvfb that holds it both ways round."""

    def __init__(self, window_manager=True, shared_memory=True, nested_screen=None):
        # -noreset: without it the server resets when its last client leaves,
        # undoing root properties and the pointer between two program runs
        # (and Xephyr crashes on a turn after a reset).
        self._servers = []
        if nested_screen is None:
            self.name = self._start_server(
                ["Xvfb", "-br", *([] if shared_memory else ["-extension", "MIT-SHM"]),
                 "-screen", "0", f"{SCREEN[0]}x{SCREEN[1]}x24"])
        else:
            host = self._start_server(["Xvfb", "-screen", "0", "1920x1080x24"])
            self.name = self._start_server(
                ["Xephyr", "-screen", f"{nested_screen[0]}x{nested_screen[1]}"], {"DISPLAY": host})
        self._tmp = tempfile.TemporaryDirectory(prefix="zentara-x11-")
        self._wm = None
        if window_manager:
            self._wm = subprocess.Popen(["openbox", "--config-file", self._openbox_config()],
                                        env=self.env(), stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
            wait_for(lambda: "window id" in self.xprop_root("_NET_SUPPORTING_WM_CHECK"),
                     timeout=15, what="openbox to start")

    def _start_server(self, command, env=None):
        """Starts an X server on a display it picks; returns the display's name."""
        read_end, write_end = os.pipe()
        server = subprocess.Popen([*command, "-displayfd", str(write_end), "-noreset", "-nolisten", "tcp"],
                                  pass_fds=(write_end,), env=dict(os.environ, **(env or {})),
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self._servers.append(server)
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            number = pipe.readline().strip()
        if not number:
            self._stop(self._servers)
            raise RuntimeError(f"{command[0]} did not start")
        return f":{number}"

    @staticmethod
    def _stop(processes):
        for process in processes:
            if process is not None and process.poll() is None:
                process.terminate()
                try:
                    process.wait(timeout=10)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()

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

    def close(self):
        # The window manager first, then the servers, the nested one before its host.
        self._stop([self._wm, *reversed(self._servers)])
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

    def xdotool(self, *args):
        return self.run("xdotool", *args)

    def xprop_root(self, name):
        return self.run("xprop", "-root", name, check=False)

    def xprop(self, window, name):
        return self.run("xprop", "-id", window, name, check=False)

    def find(self, title, only_visible=True):
        args = ["search", "--onlyvisible"] if only_visible else ["search"]
        output = self.run("xdotool", *args, "--name", f"^{title}$", check=False)
        return [int(line) for line in output.split()]

    def geometry(self, window):
        values = dict(line.split("=", 1) for line in self.xdotool("getwindowgeometry", "--shell", window).split())
        x, y, w, h = (int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))
        return x, y, x + w, y + h

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
        raw = subprocess.run(["import", "-window", "root", "-depth", "8", "rgb:-"], env=self.env(), check=True,
                             stdout=subprocess.PIPE, timeout=60).stdout
        return Image(*self.size(), raw)


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
