"""libquillet.so on KDE Plasma's KWin, started headless with two outputs of one size: the library turns
the screen through KWin's output management, the outputs are read back through the core Wayland
interfaces (wl_output, xdg_output) as wayland-info lists them, and Plasma's automatic rotation is
switched through a stand-in of its screen module on the session's own bus."""
import re
import subprocess
import unittest
from pathlib import Path

from quillet_driving import drive
from wayland_turns import HandlersRefuseCleanly, WaylandTurns
from wayland_sessions import KWinSession, available

STAND_IN = Path(__file__).resolve().parents[1] / "support" / "bus_stand_in.py"
SYSTEM_PYTHON = "/usr/bin/python3"  # the one Debian's GObject bindings (python3-gi) belong to
MISSING = available("kwin_wayland", "wayland-info", "kscreen-doctor", "gdbus", "dbus-daemon")


def read_outputs(env):
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


@unittest.skipIf(MISSING, MISSING)
class KWinTurns(WaylandTurns, HandlersRefuseCleanly, unittest.TestCase):
    """KWin names its virtual outputs Virtual-0 (left) and Virtual-1 (right of it) and says of neither
    that it is built in: the first is the tablet's."""
    tablet = "Virtual-0"

    @classmethod
    def start(cls):
        return KWinSession(count=2)

    def outputs(self):
        return read_outputs(self.desktop.env)

    def test_a_scaled_tablet_turns_by_its_logical_size(self):
        # Plasma's own screen settings make the tablet twice as dense, its monitor right beside it.
        self.configure("output.Virtual-0.scale.2", "output.Virtual-1.position.640,0")
        try:
            self.assertEqual(self.outputs(), {"Virtual-0": (0, 0, 640, 400, 0), "Virtual-1": (640, 0, 1280, 800, 0)})
            self.assertEqual(drive("set-angle=2", "get-angle", env=self.desktop.env), [1, 2])
            self.assertEqual(self.outputs(), {"Virtual-0": (0, 0, 400, 640, 1), "Virtual-1": (400, 0, 1280, 800, 0)})
        finally:
            drive("set-angle=1", env=self.desktop.env)
            self.configure("output.Virtual-0.scale.1", "output.Virtual-1.position.1280,0")

    def configure(self, *settings):
        subprocess.run(["kscreen-doctor", *settings], env=dict(self.desktop.env, QT_QPA_PLATFORM="wayland"),
                       capture_output=True, timeout=30, check=True)

    def test_without_the_compositor_xwaylands_randr_is_not_trusted(self):
        # KWin's own interface out of reach: XWayland's RandR would fake a half turn; nothing turns.
        before = self.outputs()
        env = dict(self.desktop.env, WAYLAND_DISPLAY="wayland-gone")
        self.assertEqual(drive("set-angle=3", "set-angle=2", env=env), [0, 0])
        self.assertEqual(self.outputs(), before)

    def test_plasmas_screen_module_switches_automatic_rotation(self):
        bus = self.desktop.env["DBUS_SESSION_BUS_ADDRESS"]
        service = subprocess.Popen([SYSTEM_PYTHON, str(STAND_IN), "org.kde.KScreen"], stdout=subprocess.PIPE,
                                   text=True, env=self.desktop.env)
        try:
            self.assertEqual(service.stdout.readline().strip(), "ready")
            self.assertEqual(drive("get-auto", "set-auto=0", "get-auto", env=self.desktop.env), [1, 1, 0])
            asked = subprocess.run(["gdbus", "call", "--address", bus, "-d", "org.kde.KScreen", "-o",
                                    "/modules/kscreen", "-m", "org.kde.KScreen.getAutoRotate"],
                                   capture_output=True, text=True, timeout=30, check=True).stdout
            self.assertEqual(asked.strip(), "(false,)")
            self.assertEqual(drive("set-auto=1", "get-auto", env=self.desktop.env), [1, 1])
            # Plasma keeps the switch: nothing of Zentara's own is written.
            self.assertFalse((Path(self.desktop.env["HOME"]) / ".config" / "zentara").exists())
        finally:
            service.terminate()
            service.wait(timeout=10)
            service.stdout.close()


if __name__ == "__main__":
    unittest.main()
