"""zentara started by the session's autostart entry on a machine with nothing to turn: a private Xvfb,
and no touchscreen, accelerometer or convertible's switch in udev's records. That start ends at once and
quietly; a start from the command line shows the panel all the same."""
import subprocess
import unittest

from tablet_hardware import tablet_hardware
from waiting import wait_for
from x11_panel_harness import PANEL_TITLE, DisplayTestCase


class AutostartTest(DisplayTestCase):
    window_manager = False

    def start(self, *args):
        process = subprocess.Popen([str(self.app.exe), *args], cwd=self.app.folder, stdout=subprocess.PIPE,
                                   stderr=subprocess.STDOUT, env=self.display.env(), text=True)
        self.addCleanup(process.wait)
        self.addCleanup(lambda: process.poll() is None and process.kill())
        return process

    def test_the_autostart_start_ends_quietly_where_the_panel_has_no_job(self):
        found = tablet_hardware()
        if found:
            self.skipTest(f"this machine has {found}, so the panel has a job here")
        autostarted = self.start("--autostart")
        self.assertEqual(autostarted.wait(timeout=15), 0)
        self.assertEqual(autostarted.stdout.read(), "", "nothing said")
        self.assertEqual(self.display.find(PANEL_TITLE), [])
        # From the command line, the panel shows.
        plain = self.start()
        wait_for(lambda: self.display.find(PANEL_TITLE), timeout=15, what="the panel to show")
        self.assertIsNone(plain.poll())


if __name__ == "__main__":
    unittest.main()
