"""The panel at 125, 150 and 200 % display scale: Wine reports the LogPixels of the
prefix's desktop settings as every dots-per-inch query's answer."""
import unittest

from harness import report, scaled, scaled_panel
from test_panel import PanelTestBase

DESKTOP_KEY = r"HKCU\Control Panel\Desktop"


class ScaledPanelCase:
    """Runs the panel with the prefix's LogPixels at `dpi`, restored when the class is done."""

    dpi = None
    scale = None

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        query = cls.session.wine("reg", "query", DESKTOP_KEY, "/v", "LogPixels")
        cls.saved_dpi = next((line.split()[-1] for line in query.stdout.splitlines() if "LogPixels" in line), None)
        try:
            cls.set_dpi(str(cls.dpi))
        except RuntimeError:
            super().tearDownClass()
            raise

    @classmethod
    def tearDownClass(cls):
        try:
            if cls.saved_dpi is None:
                cls.session.wine("reg", "delete", DESKTOP_KEY, "/v", "LogPixels", "/f")
            else:
                cls.set_dpi(str(int(cls.saved_dpi, 0)))
        finally:
            super().tearDownClass()

    @classmethod
    def set_dpi(cls, dpi):
        result = cls.session.wine("reg", "add", DESKTOP_KEY, "/v", "LogPixels", "/t", "REG_DWORD", "/d", dpi, "/f")
        if result.returncode != 0:
            raise RuntimeError(f"could not set LogPixels to {dpi}: {result.stdout}{result.stderr}")

    def px(self, pixels):
        return scaled(pixels, self.scale)

    def panel_image(self, left, top):
        return self.session.screenshot().crop(left, top, self.px(341), self.px(113))

    def click_button(self, left, top, side):
        """Clicks the middle of a button placed at (left, top) on the 100 % panel, `side` pixels wide there."""
        self.click(self.px(left) + self.px(side) // 2, self.px(top) + self.px(side) // 2)

    def test_place_picture_and_buttons_follow_the_scale(self):
        # At 192 dpi on the 1280-pixel screen: 682 x 226 at (598, 40).
        width, _ = self.session.screen_size()
        self.assertEqual(self.rect(), (width - self.px(341), self.px(20), width, self.px(20) + self.px(113)))
        left, top, _, _ = self.rect()
        self.session.move(left + self.px(320), top + self.px(100))  # on the handle, which keeps it active
        self.wait_for_picture(scaled_panel(self.scale, False))

        self.click(self.px(320), self.px(100))  # the collapsed handle
        self.wait_for_calls(2)
        self.session.move(5, 1000)
        self.wait_for_picture(scaled_panel(self.scale, True), name=f"expanded-{self.scale}")

        self.click_button(214, 32, 48)  # lock: automatic rotation is off
        self.wait_for_calls(3)
        self.assertEqual(self.calls()[-1], "RT_SetAutoRotation(1) = 1")
        self.click_button(102, 32, 48)  # turn left
        self.assertEqual(self.wait_for_calls(5)[3:], ["RT_GetAngle() = 1", "RT_SetAngle(2) = 1"])
        self.click_button(280, 44, 24)  # close
        self.assertEqual(self.process.wait(timeout=60), 0)
        report(f"panel at {self.dpi} dpi: {self.px(341)} x {self.px(113)} at ({left}, {top})")


class Panel120DpiTest(ScaledPanelCase, PanelTestBase):
    dpi, scale = 120, 125


class Panel144DpiTest(ScaledPanelCase, PanelTestBase):
    dpi, scale = 144, 150


class Panel192DpiTest(ScaledPanelCase, PanelTestBase):
    dpi, scale = 192, 200


if __name__ == "__main__":
    unittest.main()
