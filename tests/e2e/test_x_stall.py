"""The tests' X calls on the Wine session's display outlast a server that answers no client for a
while, and name what held it; a stall longer than the limit still ends the call."""
import subprocess
import threading
import unittest

from harness import Session
from xservers import ServerGrab


class XServerStall(unittest.TestCase):
    def setUp(self):
        self.session = Session()
        self.addCleanup(self.session.close)
        self.session.x_timeout = 1.0

    def hold_display(self, seconds):
        grab = ServerGrab(self.session.display)
        release = threading.Timer(seconds, grab.release)
        release.start()
        self.addCleanup(release.cancel)
        self.addCleanup(grab.release)

    def test_a_call_made_while_a_grab_holds_the_display_waits_for_it_and_names_the_holder(self):
        size = self.session.screen_size()
        self.hold_display(4.0)
        self.assertEqual(self.session.screen_size(), size)
        self.assertEqual(len(self.session.stalls), 1)
        holders = self.session.stalls[0][1]
        self.assertRegex(holders, r"^server idle \(.*\): Xvfb \(pid \d+\)", "the server waits while one client holds it")

    def test_a_stall_beyond_the_limit_ends_the_call(self):
        self.session.x_stall_limit = 2.0
        self.hold_display(6.0)
        with self.assertRaises(subprocess.TimeoutExpired):
            self.session.screen_size()


if __name__ == "__main__":
    unittest.main()
