"""The panel as a person sees and uses it, written once for every platform.

A platform's driver is a `unittest.TestCase` subclass of `PanelUser` that gives:
  launch(env) -> process            start(env) -> process, once the panel shows, the pointer away from it
  restart(env)                      ends the started programs and starts again
  rect() -> (left, top, right, bottom) of the panel      screen_size() -> (width, height)
  move(x, y), click_at(x, y), press(), release()          in screen pixels
  screenshot() -> Image             log: the RecorderLog of the program started in setUp
  drag(x, y, step_x, step_y, steps) -> the window's (left, top) before
  another_window_in_front()         a context in which another window is in the foreground
  ask_to_close()                    the system's close request      panel_windows() -> how many there are
  report(line)                      notes a measured time
and, for what only some platforms can do, change_screen(area) (with screen_changes(), the areas it can
make), set_dpi(dpi) while the program runs, notices(title) / press_key(window, key), and
moves_while(action) -> the (left, top) of each move of the panel's window while action runs. A driver
lists in `cannot` what it cannot do and why: the scenarios needing that are skipped there with that
reason. A test class is a scenario mixin, then a driver, with the `quillet` ("recorder", "real" or
"none") and `dpi`/`scale` it runs with.
"""
import contextlib
import time

from panel_pictures import (PANEL_SIZE, TOLERANCE, collapsed_panel, expanded_panel, largest_difference, scaled,
                            scaled_panel)
from waiting import wait_for

# Client points of the 100 % panel.
COLLAPSED_HANDLE = (320, 100)  # also away from every button of the expanded panel
EXPANDED_HANDLE = (45, 50)
LOCK, TURN_LEFT, TURN_RIGHT, CLOSE = (238, 56), (126, 56), (182, 56), (292, 56)
AUTO_ROTATION_READ = "RT_GetAutoRotationOn() = 0"


def needs(capability):
    """Marks a scenario that needs what some driver cannot do (a key of the driver's `cannot`)."""
    def mark(test):
        test.needs = capability
        return test
    return mark


class PanelUser:
    """What the scenarios do through the driver: look at the panel, click it, read the library's log."""

    scale = 100
    dpi = None
    quillet = "recorder"
    cannot = {}
    patience = 30.0  # seconds a failing wait takes to give up
    drag_steps_lost = 0  # the steps of a drag that go by before the window follows
    screenshots = None  # the folder for screenshots

    def skip_what_the_driver_cannot_do(self):
        """Called first in the driver's setUp, before the program starts."""
        capability = getattr(getattr(self, self._testMethodName), "needs", None)
        if capability in self.cannot:
            self.skipTest(self.cannot[capability])

    def px(self, pixels):
        return scaled(pixels, self.scale)

    def wait(self, predicate, what, interval=0.1):
        return wait_for(predicate, self.patience, interval, what)

    # --- looking ------------------------------------------------------------

    def panel_image(self):
        left, top, _, _ = self.rect()
        return self.screenshot().crop(left, top, self.px(PANEL_SIZE[0]), self.px(PANEL_SIZE[1]))

    def wait_for_picture(self, expected, name=None):
        """Waits until the panel on the screen shows `expected`; saves it under `name`."""
        differences, seen = [], []

        def matches():
            seen[:] = [self.panel_image()]
            differences.append(largest_difference(seen[0], expected))
            return seen[0] if differences[-1] <= TOLERANCE else None

        try:
            image = self.wait(matches, "the expected picture", interval=0.2)
        except AssertionError:
            test = self.id().split(".")[-1]
            seen[0].save_png(self.screenshots / f"failed-{test}-shown.png")
            expected.save_png(self.screenshots / f"failed-{test}-expected.png")
            self.fail(f"the panel never showed the expected picture (largest differences {differences[-5:]}); "
                      f"see {self.screenshots}/failed-{test}-*.png")
        if name:
            image.save_png(self.screenshots / f"{name}.png")
        return image

    def calls(self):
        return self.log.calls()

    def wait_for_calls(self, count):
        return self.log.wait_for(count, self.patience)

    def at_right_edge(self, area):
        """The collapsed panel's place at the right edge of `area` (left, top, width, height), 20 pixels down."""
        left, top, width, _ = area
        return (left + width - self.px(341), top + self.px(20), left + width, top + self.px(20) + self.px(113))

    # --- acting -------------------------------------------------------------

    def click(self, x, y):
        """Clicks the panel's client point (x, y), given at 100 %."""
        left, top, _, _ = self.rect()
        self.click_at(left + self.px(x), top + self.px(y))

    def hover_handle(self):
        """Rests the pointer on the collapsed handle, which keeps it from turning idle."""
        left, top, _, _ = self.rect()
        self.move(left + self.px(COLLAPSED_HANDLE[0]), top + self.px(COLLAPSED_HANDLE[1]))

    def move_away(self):
        self.move(5, self.screen_size()[1] - 5)

    def screen_changes(self):
        """The areas (left, top, width, height) change_screen is asked to make the screen, in turn."""
        width, height = self.screen_size()
        return (0, 300, 1000, 500), (100, 0, width - 100, height)

    def expand(self):
        reads = len(self.calls())
        self.click(*COLLAPSED_HANDLE)
        self.wait_for_calls(reads + 1)  # each state change reads the auto-rotation state

    def assert_drag_follows_the_pointer(self, area=None, check_while_held=False):
        """Drags the panel, then partly off the right edge of `area` (the whole screen by default), from
        where it comes back when the pointer leaves it. With `check_while_held` the first drag's place is
        checked before the button comes up too."""
        area = area or (0, 0, *self.screen_size())
        followed = 10 - self.drag_steps_lost

        def moved(left, top):
            self.wait(lambda: self.rect()[:2] == (left - 10 * followed, top + 10 * followed), "the window to move")

        if check_while_held:
            left, top = self.drag(300, 50, -10, 10, while_held=moved)
        else:
            left, top = self.drag(300, 50, -10, 10)
        moved(left, top)
        left, top = self.drag(250, 50, 12, 0)
        self.wait(lambda: self.rect()[0] == left + 12 * followed, "the second move")
        self.assertGreater(self.rect()[2], area[0] + area[2])
        self.move_away()
        self.wait(lambda: self.rect()[0] == self.at_right_edge(area)[0], "the window to come back")
        self.assertEqual(self.rect()[1], top)
        # Neither press became a click on the handle (which the recording library tells).
        if self.quillet == "recorder":
            self.assertEqual(self.calls(), [AUTO_ROTATION_READ])


class PanelScenarios(PanelUser):
    """With the recording stand-in for the rotation library."""

    def test_starts_collapsed_at_the_right_edge_twenty_pixels_down(self):
        self.assertEqual(self.rect(), self.at_right_edge((0, 0, *self.screen_size())))
        self.hover_handle()
        self.wait_for_picture(collapsed_panel(), name="collapsed")
        self.assertEqual(self.calls(), [AUTO_ROTATION_READ])

    def test_its_place_follows_the_language(self):
        width = self.screen_size()[0]
        for locale, left in (("ar_SA.UTF-8", 0), ("he_IL.UTF-8", 0), ("en_US.UTF-8", width - 341)):
            with self.subTest(locale=locale):
                self.restart({"LANG": locale, "LC_ALL": locale})
                self.assertEqual(self.rect()[:2], (left, 20))

    def test_a_click_on_the_handle_expands_the_panel(self):
        self.expand()
        self.wait_for_picture(expanded_panel(), name="expanded")

    def test_lock_then_turns_reach_the_library(self):
        self.expand()
        self.click(*LOCK)  # automatic rotation is off
        self.wait_for_calls(3)
        self.assertEqual(self.calls()[-1], "RT_SetAutoRotation(1) = 1")
        self.hover_handle()  # away from the buttons
        self.wait_for_picture(expanded_panel(auto_rotation_on=True), name="expanded-unlocked")

        self.click(*TURN_LEFT)
        self.wait_for_calls(5)
        self.assertEqual(self.calls()[3:5], ["RT_GetAngle() = 1", "RT_SetAngle(2) = 1"])
        for turn in range(1, 5):
            self.click(*TURN_RIGHT)  # each turn reads the angle and sets the next one
            calls = self.wait_for_calls(5 + 2 * turn)
        self.assertEqual(len(calls), 13)
        self.assertEqual([c for c in calls[5:] if c.startswith("RT_SetAngle")],
                         ["RT_SetAngle(1) = 1", "RT_SetAngle(4) = 1", "RT_SetAngle(3) = 1", "RT_SetAngle(2) = 1"])

    def test_turn_buttons_do_nothing_while_automatic_rotation_is_off(self):
        self.expand()
        self.click(*TURN_LEFT)
        self.click(*TURN_RIGHT)
        # The clicks are handled in order: once the close button has ended the
        # program, nothing the turn buttons did can still be missing from the log.
        self.click(*CLOSE)
        self.assertEqual(self.process.wait(timeout=60), 0)
        self.assertEqual(self.calls(), [AUTO_ROTATION_READ] * 2)

    def test_a_drag_moves_the_window_and_leaving_pulls_it_back(self):
        self.assert_drag_follows_the_pointer()

    @needs("window moves seen")
    def test_a_sideways_pull_back_moves_the_window_once_at_the_height_the_drag_left(self):
        edge = self.at_right_edge((0, 0, *self.screen_size()))[0]
        self.drag(250, 50, 12, 12)
        self.wait(lambda: self.rect()[0] > edge, "the drag past the right edge")
        top = self.rect()[1]
        moves = self.moves_while(lambda: (self.move_away(), self.wait(lambda: self.rect()[0] == edge, "the pull-back")))
        self.assertEqual(moves, [(edge, top)], "straight back, never by the height before the drag")

    def test_the_handle_turns_idle_after_the_pointer_leaves_it(self):
        self.expand()
        self.click(*EXPANDED_HANDLE)
        self.wait_for_calls(3)
        self.hover_handle()
        self.wait_for_picture(collapsed_panel(idle=False))
        self.move_away()
        left = time.monotonic()
        self.wait_for_picture(collapsed_panel(idle=True), name="collapsed-idle")
        # How long that took goes to the report; the unit tests check the interval.
        self.report(f"idle handle seen {time.monotonic() - left:.1f} s after the pointer left it")

    def test_another_window_in_the_foreground_collapses_the_panel(self):
        self.expand()
        self.wait_for_picture(expanded_panel())
        self.assertEqual(len(self.calls()), 2, "still expanded while the panel is in the foreground")
        with self.another_window_in_front():  # which stays there until the panel has collapsed
            self.wait_for_calls(3)
            # Collapsed, with the handle active or, on a slow machine, already idle.
            self.wait(lambda: min(largest_difference(self.panel_image(), collapsed_panel(idle))
                                  for idle in (False, True)) <= TOLERANCE, "the collapsed panel", interval=0.2)

    def test_a_second_start_ends_at_once_without_a_window(self):
        started = time.monotonic()
        self.assertEqual(self.launch().wait(timeout=60), 0)
        self.report(f"second start to its exit: {(time.monotonic() - started) * 1000:.0f} ms")
        # The second program has ended, so any window it made would still be listed.
        self.assertEqual(self.panel_windows(), 1)
        self.assertIsNone(self.process.poll())

    def test_a_close_request_ends_the_program_and_a_new_start_succeeds(self):
        self.ask_to_close()
        self.assertEqual(self.process.wait(timeout=60), 0)
        self.wait(lambda: self.panel_windows() == 0, "no panel window")
        self.restart()  # the single-instance guard went with the first program
        self.assertEqual(self.panel_windows(), 1)

    def test_the_close_button_ends_the_program_with_exit_code_zero(self):
        self.expand()
        self.click(*CLOSE)
        self.assertEqual(self.process.wait(timeout=60), 0)

    @needs("screen change")
    def test_the_panel_follows_a_change_of_the_screen_without_the_pointer(self):
        width, height = self.screen_size()
        self.addCleanup(self.change_screen, None)
        for area in self.screen_changes():
            self.change_screen(area)
            self.wait(lambda: self.rect() == self.at_right_edge(area), f"the panel at {area}")
        self.change_screen(None)
        self.wait(lambda: self.rect() == self.at_right_edge((0, 0, width, height)), "the panel on the whole screen")


class ScaledPanelScenarios(PanelUser):
    """The desktop at `dpi` dots per inch, the panel drawn from its `scale` % set."""

    def click_button(self, left, top, side):
        """Clicks the middle of a button placed at (left, top) on the 100 % panel, `side` pixels wide there."""
        panel_left, panel_top, _, _ = self.rect()
        self.click_at(panel_left + self.px(left) + self.px(side) // 2, panel_top + self.px(top) + self.px(side) // 2)

    def test_place_picture_and_buttons_follow_the_scale(self):
        # At 192 dpi on a 1280-pixel screen: 682 x 226 at (598, 40).
        self.assertEqual(self.rect(), self.at_right_edge((0, 0, *self.screen_size())))
        self.hover_handle()  # which keeps the handle active
        self.wait_for_picture(scaled_panel(self.scale, False))
        self.click(*COLLAPSED_HANDLE)  # outside the 100 % panel's handle
        self.wait_for_calls(2)
        self.move_away()
        self.wait_for_picture(scaled_panel(self.scale, True), name=f"expanded-{self.scale}")

        self.click_button(214, 32, 48)  # lock: automatic rotation is off
        self.wait_for_calls(3)
        self.assertEqual(self.calls()[-1], "RT_SetAutoRotation(1) = 1")
        self.click_button(102, 32, 48)  # turn left
        self.assertEqual(self.wait_for_calls(5)[3:], ["RT_GetAngle() = 1", "RT_SetAngle(2) = 1"])
        self.click_button(280, 44, 24)  # close
        self.assertEqual(self.process.wait(timeout=60), 0)

    @needs("scale change while running")
    def test_a_change_of_scale_while_running_brings_the_other_set_at_the_same_edge(self):
        self.hover_handle()
        self.wait_for_picture(scaled_panel(self.scale, False))
        # The panel starts at its margin below the top, which grows and shrinks with the scale.
        self.assertEqual(self.rect()[1], scaled(20, self.scale))
        self.addCleanup(self.set_dpi, self.dpi)
        self.set_dpi(96)
        width = self.screen_size()[0]
        self.wait(lambda: self.rect() == (width - PANEL_SIZE[0], 20, width, 20 + PANEL_SIZE[1]),
                  "the panel at 100 % at its edge and margin")
        self.scale = 100
        self.hover_handle()
        self.wait_for_picture(collapsed_panel())
        self.expand()  # the handle's place at 100 %
        self.move_away()
        self.wait_for_picture(expanded_panel())


class RealLibraryScenario(PanelUser):
    """With the real rotation library, on a screen that does not turn."""

    quillet = "real"

    def test_works_with_the_real_library(self):
        self.click(*COLLAPSED_HANDLE)
        # Automatic rotation is on or off as the system says; the lock button swaps it either way.
        shown = {}

        def either_look():
            image = self.panel_image()
            for on in (False, True):
                if largest_difference(image, expanded_panel(auto_rotation_on=on)) <= TOLERANCE:
                    shown["on"] = on
                    return True
            return False

        self.wait(either_look, "the expanded panel", interval=0.2)
        self.click(*LOCK)
        self.hover_handle()
        self.wait_for_picture(expanded_panel(auto_rotation_on=not shown["on"]))
        self.click(*TURN_LEFT)  # where enabled: refused or not made by the system, the program goes on
        self.click(*EXPANDED_HANDLE)
        self.hover_handle()
        self.wait_for_picture(collapsed_panel())
        self.assertIsNone(self.process.poll())
        # Expanding reads the state again: where the system keeps no switch (Wine), it is back as it was.
        self.click(*COLLAPSED_HANDLE)
        shown.clear()
        self.wait(either_look, "the expanded panel again", interval=0.2)
        self.click(*CLOSE)
        self.assertEqual(self.process.wait(timeout=60), 0)


class NoLibraryScenario(PanelUser):
    """Without the rotation library in the images folder."""

    quillet = "none"

    def test_works_without_the_library(self):
        self.click(*COLLAPSED_HANDLE)
        self.wait_for_picture(expanded_panel())
        self.click(*LOCK)  # the buttons swap whatever the library did
        self.hover_handle()
        self.wait_for_picture(expanded_panel(auto_rotation_on=True))
        self.click(*TURN_LEFT)
        self.click(*EXPANDED_HANDLE)
        self.hover_handle()
        self.wait_for_picture(collapsed_panel())
        self.assertIsNone(self.process.poll())


class MissingPictureScenario(PanelUser):
    """A picture missing from the images folder. The driver starts nothing in setUp (`start_at_once`)."""

    start_at_once = False

    @needs("notice")
    def test_a_missing_picture_gives_the_load_image_notice(self):
        (self.app_dir / "images" / "None.png").unlink(missing_ok=True)
        process = self.launch()
        notice = self.wait(lambda: (self.notices("LoadImage") or [None])[0], "the LoadImage notice")
        left, top, right, bottom = notice[1]
        dialog = self.screenshot().crop(left, top, right - left, bottom - top)
        # A light face with dark text on it.
        pixels = [dialog.pixel(x, y) for y in range(dialog.height) for x in range(dialog.width)]
        self.assertGreater(sum(1 for p in pixels if max(p) < 80), 50)
        self.assertGreater(sum(1 for p in pixels if min(p) > 200), len(pixels) // 2)
        self.assertIsNone(process.poll())
        # Each notice waits for Enter or Escape; then the panel shows.
        keys = iter(["Return", "Escape"] * 20)

        def panel_or_next_notice():
            if self.panel_windows():
                return True
            for window, _ in self.notices("LoadImage"):
                self.press_key(window, next(keys))
            return False

        self.wait(panel_or_next_notice, "the panel after the notices", interval=0.3)
        self.ask_to_close()
        self.assertEqual(process.wait(timeout=60), 0)


@contextlib.contextmanager
def running(process):
    """Kills `process` when the context ends."""
    try:
        yield process
    finally:
        process.kill()
        process.wait()
