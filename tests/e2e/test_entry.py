"""The program's start, its one window, the single-instance guard and the close."""
import time
import unittest

from harness import (App, Session, WS_CAPTION, WS_EX_APPWINDOW, WS_EX_TOPMOST, WS_POPUP, WS_THICKFRAME,
                     report)


class EntryTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.session = Session()

    @classmethod
    def tearDownClass(cls):
        cls.session.close()

    def setUp(self):
        self.app = App(self.session)
        self.first = self.app.start()
        self.window = self.session.wait_for_window()

    def tearDown(self):
        self.app.close_all()

    def test_shows_one_frameless_topmost_window(self):
        windows = self.session.windows()
        self.assertEqual(len(windows), 1)
        window = windows[0]
        self.assertEqual((window["class"], window["title"]), ("TPanelForm", "KOVA Zentara"))
        self.assertTrue(window["style"] & WS_POPUP)
        self.assertFalse(window["style"] & WS_CAPTION, "no caption bar")
        self.assertFalse(window["style"] & WS_THICKFRAME, "no sizing frame")
        self.assertTrue(window["exstyle"] & WS_EX_TOPMOST)
        self.assertFalse(window["exstyle"] & WS_EX_APPWINDOW)
        self.assertTrue(window["visible"])

    def test_second_start_ends_without_a_window(self):
        timings = []
        for _ in range(3):
            started = time.monotonic()
            second = self.app.start()
            self.assertEqual(second.wait(timeout=30), 0)
            timings.append(time.monotonic() - started)
            # The second program has ended, so any window it made would still be listed.
            self.assertEqual(len(self.session.windows()), 1)
        report(f"second start to its exit under Wine: best {min(timings) * 1000:.0f} ms "
               f"over {len(timings)} starts")

    def test_close_ends_the_program_and_a_new_start_succeeds(self):
        self.session.wintool("close", "TPanelForm", "KOVA Zentara")
        self.assertEqual(self.first.wait(timeout=30), 0)
        self.assertEqual(self.session.windows(), [])
        again = self.app.start()
        self.session.wait_for_window()
        self.session.wintool("close", "TPanelForm", "KOVA Zentara")
        self.assertEqual(again.wait(timeout=30), 0)


if __name__ == "__main__":
    unittest.main()
