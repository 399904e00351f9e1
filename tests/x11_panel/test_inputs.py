"""zentara keeps touch and pens on the screen: when an input device comes, it asks the rotation library (a
recording stand-in here) for the angle the screen already has, which maps the devices anew."""
import ctypes
import subprocess
import unittest

from waiting import wait_for
from x11_panel_harness import PANEL_TITLE, DisplayTestCase
import xlib


def add_masters(display_name, *names):
    """Another client adds master devices through XInput, all in one go; each brings two slave devices, as
    a pen that connects brings its own."""
    with xlib.connection(display_name) as display:
        for name in names:
            add = xlib.XIAddMasterInfo(xlib.XI_ADD_MASTER, name.encode(), 1, 1)
            xlib.XIChangeHierarchy(display, ctypes.byref(add), 1)
        xlib.XSync(display, 0)


class InputDevicesTest(DisplayTestCase):
    window_manager = False

    def setUp(self):
        self.log_file = self.app.folder / f"quillet-{self.id().split('.')[-1]}.log"
        self.log_file.unlink(missing_ok=True)

    def start(self, env):
        process = subprocess.Popen([str(self.app.exe)], cwd=self.app.folder, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL,
                                   env=self.display.env({"ZENTARA_QUILLET_LOG": str(self.log_file), **env}))
        self.addCleanup(process.wait)
        self.addCleanup(process.kill)
        wait_for(lambda: self.display.find(PANEL_TITLE), timeout=15, what="the panel window to show")
        return process

    def calls(self):
        return self.log_file.read_text().splitlines() if self.log_file.exists() else []

    def angle_calls(self):
        return [call for call in self.calls() if "Angle" in call]

    def test_devices_that_come_are_mapped_at_the_angle_the_screen_has(self):
        self.start({"ZENTARA_QUILLET_ANGLE": "3"})
        self.assertEqual(self.angle_calls(), [], "nothing asked before a device comes")
        add_masters(self.display.name, "zentara-pen")
        once = ["RT_GetAngle() = 3", "RT_SetAngle(3) = 1"]
        wait_for(lambda: self.angle_calls() == once, timeout=8, what="the angle asked again")
        # A burst of devices is asked for once.
        add_masters(self.display.name, "zentara-pen-2", "zentara-pen-3")
        wait_for(lambda: len(self.angle_calls()) >= 4, timeout=8, what="the angle asked after the burst")
        # A click on the handle expands the panel, which reads the auto-rotation state: every call the
        # burst brought is logged before that one.
        reads = ["RT_GetAutoRotationOn() = 0"]  # one at the start
        self.assertEqual(self.calls(), reads + once * 2)
        window = self.display.find(PANEL_TITLE)[0]
        left, top, _, _ = self.display.geometry(window)
        self.display.click(left + 320, top + 100)
        wait_for(lambda: len(self.calls()) > 5, timeout=8, what="the panel to expand")
        self.assertEqual(self.calls(), reads + once * 2 + reads)

if __name__ == "__main__":
    unittest.main()
