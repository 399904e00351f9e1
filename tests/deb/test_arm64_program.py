"""The arm64 package's program and rotation library, run on this machine under qemu-user (called directly,
with the arm64 libraries of Debian's multiarch), on an Xephyr that turns its screen for real: the turns of
the X11 tier through the panel's own buttons, and the library reading a turn back through the driver of the
library's tests, cross-built for arm64."""
import os
import subprocess
import tempfile
import unittest
from pathlib import Path

from test_deb_package import REPO, package_path
import test_x11_panel
from quillet_driving import drive
from waiting import wait_for
from x11_panel_harness import PANEL_SIZE, collapsed_panel, expanded_panel

QEMU = ("qemu-aarch64-static", "-L", "/")
SCREEN = (800, 600)


class Arm64PanelTest(test_x11_panel.TurningPanelTest):
    """The unpacked arm64 package's folder, as the X11 tier runs the built one."""

    runner = QEMU
    patience = 30.0  # emulated, the program takes longer to draw a frame

    @classmethod
    def setUpClass(cls):
        cls.unpacked = tempfile.TemporaryDirectory(prefix="zentara-arm64-")
        folder = Path(cls.unpacked.name)
        subprocess.run(["dpkg-deb", "-x", str(package_path("arm64")), str(folder / "root")], check=True)
        os.environ["ZENTARA_X11_DIST"] = str(folder / "root/usr/lib/zentara")
        cls.driver = folder / "quillet_driver"
        subprocess.run(["aarch64-linux-gnu-g++", "-std=c++20", "-O2", "-o", str(cls.driver),
                        str(REPO / "tests/x11_quillet/quillet_driver.cpp")], check=True)
        super().setUpClass()

    @classmethod
    def tearDownClass(cls):
        super().tearDownClass()
        cls.unpacked.cleanup()

    def drive(self, *calls):
        """The library's answers to the calls, made by the arm64 driver."""
        return drive(*calls, env=self.display.env(), driver=self.driver, library=self.app.dir / "images/libquillet.so",
                     runner=QEMU)

    def test_the_library_reads_back_the_turn_the_panel_made(self):
        at_edge = (SCREEN[0] - PANEL_SIZE[0], 20, SCREEN[0], 20 + PANEL_SIZE[1])
        self.assertEqual(self.rect(), at_edge)
        self.wait_for_picture(collapsed_panel())
        self.click(320, 100)
        self.display.move(5, 595)
        self.wait_for_picture(expanded_panel(auto_rotation_on=True))
        self.turn(126, "left")
        self.assertEqual(self.drive("get-angle"), [2])
        # The library turns the screen back itself, and the panel follows to the edge of the screen it sees.
        self.assertEqual(self.drive("set-angle=1", "get-angle"), [1, 1])
        self.assertEqual(self.display.rotation(), (SCREEN, "normal"))
        wait_for(lambda: self.rect() == at_edge, timeout=self.patience, what="the panel back at the right edge")
        self.assertIsNone(self.process.poll())


if __name__ == "__main__":
    unittest.main()
