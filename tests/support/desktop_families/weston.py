"""Weston, which no desktop family's row names (it keeps no lock and offers no output management), started
headless: the desktop that places X11 windows on its own. Standard library only."""
import re
import subprocess

from desktop_families.headless import HeadlessSession, as_user
from private_bus import stop_process

TOOLS = ("weston",)


class Session(HeadlessSession):
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
        self._start(as_user(self.owner, "weston", "--backend=headless-backend.so", f"--width={width}",
                            f"--height={height}", f"--transform={self.transform}", "--use-pixman", "--xwayland",
                            "--debug", "--idle-time=0"), self.env)
        self._wait_for_socket()
        display = self._wait_for(lambda: re.search(r"xserver listening on display (:\d+)", self.log()),
                                 "Weston's X display").group(1)
        self._holder = subprocess.Popen(
            as_user(self.owner, "sh", "-c",
                    "xhost +si:localuser:root >/dev/null && exec xprop -root -spy _NET_SUPPORTING_WM_CHECK"),
            env=dict(self.env, DISPLAY=display), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL)
        self._wait_for(lambda: "created wm" in self.log(), "Weston's XWayland")
        self.env["DISPLAY"] = display

    def stop(self):
        if self._holder is not None:
            stop_process(self._holder)
            self._holder = None
        super().stop()
