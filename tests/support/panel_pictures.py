"""What every end-to-end driver shares: screenshots, pixel comparison, the recording rotation
library's log and the panel's pictures composed as the program composes them. Standard library only."""
import functools
import struct
import subprocess
import zlib
from pathlib import Path

from source_module import load_module
from waiting import wait_for

REPO = Path(__file__).resolve().parents[2]
ARTWORK = REPO / "images"
PANEL_SIZE = (341, 113)
PANEL_OPACITY = 230
PANEL_TITLE = "KOVA Zentara"
PANEL_CLASS = "TPanelForm"
# Rounding in the decoder, the blend and the window's opacity.
TOLERANCE = 4


def append_line(path, line):
    """Adds a line to a report file, where timings go instead of into assertions."""
    path = Path(path)
    path.parent.mkdir(parents=True, exist_ok=True)
    with path.open("a") as file:
        file.write(line + "\n")
    print(line)


class RecorderLog:
    """The log the recording stand-in for the rotation library writes, one call a line."""

    def __init__(self, path):
        self.path = Path(path)
        self.path.unlink(missing_ok=True)

    def calls(self):
        return self.path.read_text().splitlines() if self.path.exists() else []

    def wait_for(self, count, timeout=30.0):
        """The calls, once there are at least `count`."""
        return wait_for(lambda: len(self.calls()) >= count and self.calls(), timeout,
                        what=f"{count} calls of the rotation library")


class Image:
    """An RGB picture, row 0 at the top."""

    def __init__(self, width, height, rgb):
        if len(rgb) != width * height * 3:
            raise ValueError("the pixels do not match the size")
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
        Path(path).parent.mkdir(parents=True, exist_ok=True)
        Path(path).write_bytes(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows, 9))
                               + chunk(b"IEND", b""))


def screenshot(env, size, run=None):
    """The root window of the display in `env`, `size` (width, height) pixels; `run(command)`, when
    given, runs the X client and gives its output."""
    command = ["import", "-window", "root", "-depth", "8", "rgb:-"]
    if run is None:
        return Image(*size, subprocess.run(command, env=env, check=True, stdout=subprocess.PIPE, timeout=60).stdout)
    return Image(*size, run(command))


def largest_difference(a, b):
    """The largest difference of one channel between two images of the same size."""
    if (a.width, a.height) != (b.width, b.height):
        raise ValueError("images differ in size")
    return max(abs(x - y) for x, y in zip(a.rgb, b.rgb))


@functools.cache
def _art_png_reader():
    """The artwork tools' PNG reader (art/pngio.py), loaded from its file: art/ is no test module folder."""
    return load_module("pngio", REPO / "art" / "pngio.py").read_png


def _read_png(path):
    return _art_png_reader()(str(path))


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
        """The RGB picture the translucent window shows over black at this opacity."""
        k = opacity / 255.0
        rgb = bytearray(self.width * self.height * 3)
        for i in range(self.width * self.height):
            for c in range(3):
                rgb[i * 3 + c] = min(255, int(self.rgba[i * 4 + c] * k + 0.5))
        return Image(self.width, self.height, bytes(rgb))


def scaled(pixels, scale):
    """A 100 % distance at `scale` percent, rounded half up as the program rounds it."""
    return (pixels * scale + 50) // 100


@functools.lru_cache(maxsize=None)
def scaled_panel(scale, expanded, auto_rotation_on=False):
    """What the panel of the `scale` % set shows on the screen, no button hovered or pressed."""
    def px(pixels):
        return scaled(pixels, scale)

    folder = "" if scale == 100 else f"scale-{scale}/"
    panel = Composition(px(341), px(113))
    if not expanded:
        return panel.add(folder + "extend0001.png").add(folder + "Button/Stage1/d.png", px(227), 0).on_black()
    turn = "n.png" if auto_rotation_on else "un.png"
    lock = "Unlock" if auto_rotation_on else "lock"
    return (panel.add(folder + "extend0015.png").add(folder + "Button/X/n.png", px(280), px(44))
            .add(folder + f"Button/Turn Left/{turn}", px(102), px(32))
            .add(folder + f"Button/Turn Right/{turn}", px(158), px(32))
            .add(folder + f"Button/{lock}/n.png", px(214), px(32)).add(folder + "Button/Stage2/d.png").on_black())


def expanded_panel(auto_rotation_on=False):
    """What the expanded panel shows on the screen, no button hovered or pressed."""
    return scaled_panel(100, True, auto_rotation_on)


@functools.lru_cache(maxsize=None)
def collapsed_panel(idle=False):
    """What the collapsed panel shows on the screen, with the active or the idle handle."""
    return Composition().add("extend0001.png").add(f"Button/Stage1/{'n' if idle else 'd'}.png", 227, 0).on_black()
