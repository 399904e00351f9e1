"""The tests' X calls on the Wine session's display outlast a server that answers no client for a
while, and name what held it; a stall longer than the limit still ends the call. A call whose
connection a resetting server dropped is made again."""
import os
import subprocess
import threading
import unittest

from harness import Session
from xservers import PrivateDisplay, ServerGrab, run_client


def hold(test, display, seconds):
    """Grabs the server of `display` from this process for `seconds`."""
    grab = ServerGrab(display)
    release = threading.Timer(seconds, grab.release)
    release.start()
    test.addCleanup(release.cancel)
    test.addCleanup(grab.release)


class XServerStall(unittest.TestCase):
    def setUp(self):
        self.session = Session()
        self.addCleanup(self.session.close)
        self.session.x_timeout = 1.0

    def test_a_call_made_while_a_grab_holds_the_display_waits_for_it_and_names_the_holder(self):
        size = self.session.screen_size()
        hold(self, self.session.display, 4.0)
        self.assertEqual(self.session.screen_size(), size)
        _, account = self.session.stalls[0]
        self.assertRegex(account, r"^server idle \(.*\): Xvfb \(pid \d+\).*"
                                  rf"; held by the grab of \S+ \(pid {os.getpid()}\).*; ignoring .*xdotool \(pid \d+\)",
                         "the grab's holder, and the call it holds up")

    def test_a_stall_beyond_the_limit_ends_the_call(self):
        self.session.x_stall_limit = 2.0
        hold(self, self.session.display, 6.0)
        with self.assertRaises(subprocess.TimeoutExpired):
            self.session.screen_size()


class ResettingServer(unittest.TestCase):
    def test_a_call_that_the_reset_after_a_grab_cut_off_is_made_again(self):
        with PrivateDisplay(size="640x480", reset=True) as display:
            # The grab's holder is the only client: when it leaves, the server resets and drops the call
            # that waited for it, not set up yet.
            hold(self, display.display, 2.0)
            heard = []
            result = run_client(["xdotool", "getdisplaygeometry"], dict(os.environ, DISPLAY=display.display),
                                timeout=1.0, limit=30.0, on_stall=lambda *said: heard.append(said))
            self.assertEqual(result.stdout.split(), ["640", "480"])
            self.assertIn("closed the connection before setting it up", heard[-1][1])


if __name__ == "__main__":
    unittest.main()
