"""zentara through XWayland on headless Wayland desktops (sway, Mutter, KWin): the panel at its place,
above a window opened after it, back at its edge and its own top after the desktop turned the screen,
and the notice of a missing picture."""
import unittest

from wayland_harness import OTHER_WINDOW_COLOUR, KWinDisplay, MutterDisplay, SwayDisplay, WaylandPanelTestBase
from panel_pictures import collapsed_panel  # noqa: E402  (on the path through the harness)
from panel_scenarios import MissingPictureScenario, PanelUser  # noqa: E402


class WaylandPanelChecks(PanelUser):

    def assert_above(self, other):
        """The panel is above `other` in the X server's stacking; a desktop that draws otherwise says so."""
        stacking = self.display.stacking()  # the top one first
        self.assertLess(stacking.index(self.display.top_level(self.window)),
                        stacking.index(self.display.top_level(other)))

    def test_starts_at_its_place_and_stays_above_a_newer_window(self):
        place = self.at_right_edge((0, 0, *self.screen_size()))
        self.assertEqual(self.rect(), place)
        self.another_window(f"600x300+{place[0] - 300}+0")  # where the panel is

        def other_shown():
            self.assertEqual(self.rect(), place, "the panel moved while the other window came")
            return (self.display.find("xmessage") or [None])[0]

        other = self.wait(other_shown, "the other window")
        self.wait(lambda: self.display.active_window() == other, "the other window to be the active one")
        self.assert_above(other)
        self.assertEqual(self.rect(), place)
        # A click on the handle reaches the panel, not the newer window.
        self.expand()

    def test_back_at_its_edge_and_top_on_a_turned_screen_without_the_pointer(self):
        width, height = self.screen_size()
        self.addCleanup(self.display.turn, 0)
        for quarters, size in ((1, (height, width)), (0, (width, height))):
            self.display.turn(quarters)
            self.wait(lambda: self.screen_size() == size, f"the screen at {size}")
            place = self.at_right_edge((0, 0, *size))
            self.wait(lambda: self.rect() == place, f"the panel at {place}")


class SwayPanelTest(WaylandPanelChecks, WaylandPanelTestBase):
    desktop = SwayDisplay

    def assert_above(self, other):
        """sway keeps the panel out of its hands and draws it above every window it manages, whatever
        the X server's stacking: no pixel where the panel shows may be the other window's."""
        left, top, _, _ = self.rect()
        shot = self.display.screenshot()
        opaque = [(x, y) for picture in (collapsed_panel(False), collapsed_panel(True))
                  for y in range(picture.height) for x in range(picture.width) if max(picture.pixel(x, y)) > 16]
        covered = [point for point in opaque if shot.pixel(left + point[0], top + point[1]) == OTHER_WINDOW_COLOUR]
        self.assertEqual(covered, [])
        self.assertEqual(shot.pixel(left - 10, top + 10), OTHER_WINDOW_COLOUR, "the other window beside the panel")


    def test_a_drag_moves_the_panel_itself(self):
        # Out of the window manager's hands, the program moves its window with the pointer.
        self.assert_drag_follows_the_pointer(check_while_held=True)


class MutterPanelTest(WaylandPanelChecks, WaylandPanelTestBase):
    desktop = MutterDisplay


class KWinPanelTest(WaylandPanelChecks, WaylandPanelTestBase):
    desktop = KWinDisplay


class SwayNoticeTest(MissingPictureScenario, WaylandPanelTestBase):
    desktop = SwayDisplay


class MutterNoticeTest(MissingPictureScenario, WaylandPanelTestBase):
    desktop = MutterDisplay


class KWinNoticeTest(MissingPictureScenario, WaylandPanelTestBase):
    desktop = KWinDisplay


if __name__ == "__main__":
    unittest.main()
