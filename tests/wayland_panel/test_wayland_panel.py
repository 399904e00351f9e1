"""zentara through XWayland on headless Wayland desktops (sway, Mutter, KWin, Weston): the panel at its
place, above a window opened after it, back at its edge and its own top after the desktop turned the
screen, the screen turned by the panel's own buttons through the real rotation library, and the notice
of a missing picture; on Weston, which places X11 windows on its own, the panel out of its hands."""
import unittest

from wayland_harness import (OTHER_WINDOW_COLOUR, KWinDisplay, MutterDisplay, SwayDisplay, WaylandPanelTestBase,
                             WestonDisplay)
from panel_pictures import PANEL_SIZE, collapsed_panel, expanded_panel
from panel_scenarios import (CLOSE, COLLAPSED_HANDLE, TURN_LEFT, TURN_RIGHT, MissingPictureScenario,
                             PanelUser)
from waiting import wait_for


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
            self.wait(lambda: self.screen_size() == size and self.display.rotation_code() == quarters + 1,
                      f"the screen at {size}, turned {quarters} quarters to the left")
            place = self.at_right_edge((0, 0, *size))
            self.wait(lambda: self.rect() == place, f"the panel at {place}")


class RealTurnScenario(PanelUser):
    """The real libquillet.so with automatic rotation on in the desktop's own lock, which enables the
    turn buttons: each click turns the desktop's screen, and the panel follows with the pointer left
    where it clicked."""

    quillet = "real"

    def start(self, env=None):
        return super().start({**self.display.automatic_rotation_on(self.app.folder), **(env or {})})

    def turn_by_button(self, button, code, size):
        """Clicks a turn button; waits for the desktop to read back `code` on a screen of `size` and for the
        panel at that screen's edge and top. Every place the panel passes through keeps the panel's size."""
        place = self.at_right_edge((0, 0, *size))
        seen = []

        def landed():
            rect, turned = self.rect(), (self.display.rotation_code(), self.screen_size())
            if (turned, rect) not in seen:
                seen.append((turned, rect))
            self.assertEqual((rect[2] - rect[0], rect[3] - rect[1]), PANEL_SIZE, f"the panel resized: {seen}")
            return turned == (code, size) and rect == place

        self.click(*button)
        try:
            self.wait(landed, f"the desktop at {code} and the panel at {place}")
        except AssertionError as error:
            raise AssertionError(f"{error}; (rotation, screen), panel seen: {seen}") from None

    def shows_expanded_with_automatic_rotation_on(self):
        """Whether the panel on the screen is nearer that picture than to the others it could show. (The
        desktops blend its see-through edges over backgrounds of their own, which the pictures lack.)"""
        image = self.panel_image()

        def distance(picture):
            return sum(abs(a - b) for a, b in zip(image.rgb, picture.rgb))

        expected, *others = (expanded_panel(True), expanded_panel(False), collapsed_panel(False),
                             collapsed_panel(True))
        return distance(expected) < min(distance(other) for other in others)

    def test_the_turn_buttons_turn_the_desktops_screen_and_the_panel_follows(self):
        width, height = self.screen_size()
        self.addCleanup(self.display.turn, 0)
        self.assertEqual(self.display.rotation_code(), 1)
        self.click(*COLLAPSED_HANDLE)
        self.move_away()
        self.wait(self.shows_expanded_with_automatic_rotation_on, "the expanded panel with the turn buttons enabled",
                  interval=0.2)
        self.turn_by_button(TURN_LEFT, 2, (height, width))
        # Each next click, aimed where the panel was seen, shows it still there and still taking clicks.
        self.turn_by_button(TURN_RIGHT, 1, (width, height))
        self.click(*CLOSE)
        self.assertEqual(self.process.wait(timeout=60), 0)


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


class WestonPanelTest(WaylandPanelTestBase):
    """Weston 10 frames every X11 window in the X screen's corner and places it itself (the panel at (32, 32),
    its moves ignored): the panel leaves its hands for its edge, where Weston then shows it, see-through, and
    moves it as its own drag does. Weston's headless backend has no pointer: the pointer's events are sent
    to the window (see WestonDisplay)."""

    desktop = WestonDisplay
    leaves_the_window_manager = True

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        # Weston's desktop before any panel, once its shell has painted it: two looks in a row agree.
        shots = [cls.display.screenshot()]
        wait_for(lambda: shots.append(cls.display.screenshot()) or shots[-1].rgb == shots[-2].rgb, timeout=30,
                 interval=0.3, what="Weston's desktop to be painted")
        cls.background = shots[-1]

    def changed(self, shot, left, top, right, bottom):
        """The share of the pixels in the screen's rectangle that differ from the desktop without the panel."""
        pixels = [(x, y) for y in range(top, bottom) for x in range(left, right)]
        return sum(1 for x, y in pixels if max(abs(a - b) for a, b in
                                               zip(shot.pixel(x, y), self.background.pixel(x, y))) > 16) / len(pixels)

    def rows_changed_beside(self, shot, rect):
        """The rows of the desktop below Weston's own bar in which a pixel outside `rect` differs from the desktop
        without the panel."""
        left, top, right, bottom = rect
        width = shot.width * 3
        changed = []
        for y in range(40, shot.height):
            row = slice(y * width, (y + 1) * width)
            a, b = shot.rgb[row], self.background.rgb[row]
            if top <= y < bottom:
                a, b = a[:left * 3] + a[right * 3:], b[:left * 3] + b[right * 3:]
            if a != b:
                changed.append(y)
        return changed

    def assert_shown_only_at(self, rect):
        """Weston shows the collapsed panel at `rect` and nowhere else (where it had shown it before it left its
        hands included): its handle (right of 260 pixels in) covers the desktop, the see-through part left of
        it shows the desktop. Weston paints when it gets to it: the screen is looked at until it shows that."""
        left, top, right, bottom = rect
        seen = {}

        def shown():
            shot = self.display.screenshot()
            seen.update(handle=self.changed(shot, left + 265, top + 15, right - 5, bottom - 15),
                        through=self.changed(shot, left + 10, top + 10, left + 200, bottom - 10),
                        beside=self.rows_changed_beside(shot, rect)[:5])
            return seen["handle"] > 0.9 and seen["through"] < 0.02 and not seen["beside"]

        try:
            self.wait(shown, f"Weston to show the panel at {rect} only", interval=0.3)
        except AssertionError as error:
            raise AssertionError(f"{error}: {seen}") from None

    # The pointer, played by events sent to the panel's window.
    def move(self, x, y):
        left, top, right, bottom = self.rect()
        inside = left <= x < right and top <= y < bottom
        self.display.send_pointer(self.window, "motion" if inside else "leave", x, y, held=False)

    def click_at(self, x, y):
        self.display.send_pointer(self.window, "press", x, y, held=False)
        self.display.send_pointer(self.window, "release", x, y, held=True)

    def drag(self, x, y, step_x, step_y, steps=10, while_held=None):
        left, top, _, _ = self.rect()
        self.display.send_pointer(self.window, "press", left + x, top + y, held=False)
        for step in range(1, steps + 1):
            self.display.send_pointer(self.window, "motion", left + x + step_x * step, top + y + step_y * step,
                                      held=True)
        if while_held is not None:
            while_held(left, top)
        self.display.send_pointer(self.window, "release", left + x + step_x * steps, top + y + step_y * steps,
                                  held=True)
        return left, top

    def test_out_of_its_hands_at_its_edge_where_weston_shows_it_and_moved_by_its_drag(self):
        self.assert_shown_only_at(self.rect())
        self.assert_drag_follows_the_pointer(check_while_held=True)
        self.assert_shown_only_at(self.rect())


class TurnedWestonDisplay(WestonDisplay):
    transform = "rotate-90"


class TurnedWestonPanelTest(WestonPanelTest):
    """Weston's output turned a quarter from the start (it turns none while it runs): the panel at the turned
    screen's edge."""

    desktop = TurnedWestonDisplay

    def test_out_of_its_hands_at_its_edge_where_weston_shows_it_and_moved_by_its_drag(self):
        self.assertEqual(self.screen_size(), (800, 1280))
        self.assert_shown_only_at(self.rect())


# Every other scenario on every desktop, a class (and a CTest entry) each, named DesktopKindTest.
for _desktop in (SwayDisplay, MutterDisplay, KWinDisplay):
    for _kind, _scenario in (("Panel", WaylandPanelChecks), ("Turn", RealTurnScenario),
                             ("Notice", MissingPictureScenario)):
        _name = f"{_desktop.__name__.removesuffix('Display')}{_kind}Test"
        globals().setdefault(_name, type(_name, (_scenario, WaylandPanelTestBase), {"desktop": _desktop}))


if __name__ == "__main__":
    unittest.main()
