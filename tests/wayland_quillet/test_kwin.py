"""libquillet.so on KDE Plasma's KWin, started headless with two outputs of one size: the library turns
the screen through KWin's output management, the outputs are read back through the core Wayland
interfaces (wl_output, xdg_output) as wayland-info lists them, and Plasma's automatic rotation is
switched through a stand-in of its screen module on the session's own bus."""
import unittest
from pathlib import Path

from desktop_families import plasma
from desktop_families.headless import available
from quillet_driving import drive
from wayland_turns import HandlersRefuseCleanly, WaylandTurns

MISSING = available(*plasma.TOOLS)


@unittest.skipIf(MISSING, MISSING)
class KWinTurns(WaylandTurns, HandlersRefuseCleanly, unittest.TestCase):
    """KWin names its virtual outputs Virtual-0 (left) and Virtual-1 (right of it) and says of neither
    that it is built in: the first is the tablet's."""
    tablet = plasma.TABLET

    @classmethod
    def start(cls):
        return plasma.Session(count=2)

    def outputs(self):
        return plasma.outputs(self.desktop.env)

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
        plasma.kscreen_doctor(self.desktop.env, *settings)

    def test_without_the_compositor_xwaylands_randr_is_not_trusted(self):
        # KWin's own interface out of reach: XWayland's RandR would fake a half turn; nothing turns.
        before = self.outputs()
        env = dict(self.desktop.env, WAYLAND_DISPLAY="wayland-gone")
        self.assertEqual(drive("set-angle=3", "set-angle=2", env=env), [0, 0])
        self.assertEqual(self.outputs(), before)

    def test_plasmas_screen_module_switches_automatic_rotation(self):
        module = plasma.ScreenModule(self.desktop.env)
        try:
            self.assertEqual(drive("get-auto", "set-auto=0", "get-auto", env=self.desktop.env), [1, 1, 0])
            self.assertFalse(module.automatic_rotation())
            self.assertEqual(drive("set-auto=1", "get-auto", env=self.desktop.env), [1, 1])
            # Plasma keeps the switch: nothing of Zentara's own is written.
            self.assertFalse((Path(self.desktop.env["HOME"]) / ".config" / "zentara").exists())
        finally:
            module.stop()

if __name__ == "__main__":
    unittest.main()
