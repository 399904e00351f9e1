"""The program's one window as Windows describes it."""
import unittest

from harness import App, Session, WS_CAPTION, WS_EX_APPWINDOW, WS_EX_TOPMOST, WS_POPUP, WS_THICKFRAME


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


if __name__ == "__main__":
    unittest.main()
