"""The panel as a person sees and uses it, with a recording stand-in for Quillet.dll."""
import os
import shutil
import subprocess
import tempfile
import time
import unittest
from pathlib import Path

from harness import (App, PANEL_SIZE, Session, collapsed_panel, expanded_panel, largest_difference, report,
                     _build_dir)

# Rounding in the decoder, the blend and the layered window's constant alpha.
TOLERANCE = 4
SCREENSHOTS = _build_dir() / "e2e" / "screenshots"


def windows_path(path):
    return "Z:" + str(path).replace("/", "\\")


class PanelTestBase(unittest.TestCase):
    """Starts the program from a copy of the unpacked release with the chosen Quillet.dll."""

    quillet = "recorder"  # "recorder", "real" or "none"

    @classmethod
    def setUpClass(cls):
        cls.session = Session()
        cls.folder = tempfile.TemporaryDirectory(prefix="zentara-app-")
        cls.app_dir = Path(cls.folder.name) / "app"
        shutil.copytree(App(cls.session).dir, cls.app_dir)
        library = cls.app_dir / "images" / "Quillet.dll"
        if cls.quillet == "recorder":
            shutil.copy(_build_dir() / "test-support" / "recorder" / "Quillet.dll", library)
        elif cls.quillet == "none":
            library.unlink()

    @classmethod
    def tearDownClass(cls):
        cls.folder.cleanup()
        cls.session.close()

    def setUp(self):
        self.log_file = Path(self.folder.name) / f"quillet-{self.id().split('.')[-1]}.log"
        self.log_file.unlink(missing_ok=True)
        self.app = App(self.session)
        self.app.dir, self.app.exe = self.app_dir, self.app_dir / "Zentara.exe"
        self.process = self.start()

    def tearDown(self):
        self.app.kill_all()

    def start(self, env=None):
        started = time.monotonic()
        process = self.app.start({"ZENTARA_QUILLET_LOG": windows_path(self.log_file), **(env or {})})
        self.window = self.session.wait_for_window()
        report(f"start-up to the first shown frame under Wine: {(time.monotonic() - started) * 1000:.0f} ms "
               f"({self.id().split('.', 1)[1]})")
        self.session.move(5, 1000)  # the pointer starts away from the panel
        return process

    # --- looking ------------------------------------------------------------

    def rect(self):
        window = self.session.windows()[0]
        return window["left"], window["top"], window["right"], window["bottom"]

    def panel_image(self, left, top):
        return self.session.screenshot().crop(left, top, *PANEL_SIZE)

    def wait_for_picture(self, expected, timeout=30.0, name=None):
        """Waits until the panel on screen shows `expected`; saves it under `name`."""
        differences, seen = [], []
        left, top, _, _ = self.rect()  # the window does not move while its picture changes

        def matches():
            seen[:] = [self.panel_image(left, top)]
            differences.append(largest_difference(seen[0], expected))
            return seen[0] if differences[-1] <= TOLERANCE else None

        try:
            image = self.session.wait_for(matches, timeout, interval=0.2, what="the expected picture")
        except AssertionError:
            SCREENSHOTS.mkdir(parents=True, exist_ok=True)
            shown, wanted = (SCREENSHOTS / f"failed-{self.id().split('.')[-1]}-{kind}.png"
                             for kind in ("shown", "expected"))
            seen[0].save_png(shown)
            expected.save_png(wanted)
            self.fail(f"the panel never showed the expected picture (largest differences {differences[-5:]}); "
                      f"see {shown} and {wanted}")
        if name:
            SCREENSHOTS.mkdir(parents=True, exist_ok=True)
            image.save_png(SCREENSHOTS / f"{name}.png")
        return image

    def calls(self):
        return self.log_file.read_text().splitlines() if self.log_file.exists() else []

    def wait_for_calls(self, count):
        return self.session.wait_for(lambda: len(self.calls()) >= count and self.calls(),
                                     what=f"{count} calls of the rotation library")

    # --- acting -------------------------------------------------------------

    def hover_handle(self):
        """Rests the pointer on the collapsed handle, which keeps it from turning idle."""
        left, top, _, _ = self.rect()
        self.session.move(left + 320, top + 100)

    def click(self, x, y, button=1):
        left, top, _, _ = self.rect()
        self.session.click(left + x, top + y, button)

    def expand(self):
        reads = len(self.calls())
        self.click(320, 100)  # on the collapsed handle, away from every button of the expanded panel
        self.wait_for_calls(reads + 1)  # each state change reads the auto-rotation state


class RecordedPanelTest(PanelTestBase):
    def test_starts_collapsed_at_the_right_edge_twenty_pixels_down(self):
        width, _ = self.session.screen_size()
        self.assertEqual(self.rect(), (width - 341, 20, width, 133))
        self.hover_handle()
        self.wait_for_picture(collapsed_panel(), name="collapsed")
        self.assertEqual(self.calls(), ["RT_GetAutoRotationOn() = 0"])

    def test_starts_at_the_left_edge_for_arabic_and_hebrew(self):
        for language in ("ar_SA.UTF-8", "he_IL.UTF-8"):
            with self.subTest(language=language):
                self.app.kill_all()
                self.start({"LANG": language, "LC_ALL": language})
                self.assertEqual(self.rect()[:2], (0, 20))

    def test_a_click_on_the_handle_expands_the_panel(self):
        self.expand()
        self.wait_for_picture(expanded_panel(), name="expanded")

    def test_lock_then_turns_reach_the_library(self):
        self.expand()
        self.click(238, 56)  # the lock button: automatic rotation is off
        self.wait_for_calls(3)
        self.assertEqual(self.calls()[-1], "RT_SetAutoRotation(1) = 1")
        self.session.move(*[a + b for a, b in zip(self.rect()[:2], (320, 100))])  # away from the buttons
        self.wait_for_picture(expanded_panel(auto_rotation_on=True), name="expanded-unlocked")

        self.click(126, 56)  # turn left
        self.wait_for_calls(5)
        self.assertEqual(self.calls()[3:5], ["RT_GetAngle() = 1", "RT_SetAngle(2) = 1"])
        for turn in range(1, 5):
            self.click(182, 56)  # turn right: each turn reads the angle and sets the next one
            calls = self.wait_for_calls(5 + 2 * turn)
        self.assertEqual(len(calls), 13)
        self.assertEqual([c for c in calls[5:] if c.startswith("RT_SetAngle")],
                         ["RT_SetAngle(1) = 1", "RT_SetAngle(4) = 1", "RT_SetAngle(3) = 1", "RT_SetAngle(2) = 1"])

    def test_turn_buttons_do_nothing_while_automatic_rotation_is_off(self):
        self.expand()
        self.click(126, 56)  # turn left
        self.click(182, 56)  # turn right
        # The clicks are handled in order: once the close button has ended the
        # program, nothing the turn buttons did can still be missing from the log.
        self.click(292, 56)
        self.assertEqual(self.process.wait(timeout=60), 0)
        self.assertEqual(self.calls(), ["RT_GetAutoRotationOn() = 0"] * 2)

    def moving(self):
        return self.session.windows()[0]["moving"]

    def drag(self, x, y, step_x, step_y, steps=10):
        """Drags from window point (x, y) in small steps; returns the window's place before."""
        left, top, _, _ = self.rect()
        self.session.move(left + x, top + y)
        self.session.press()
        # The first step passes the drag threshold, and the system's move loop takes
        # over from where the pointer is then; the other steps go to that loop.
        self.session.move(left + x + step_x, top + y + step_y)
        self.session.wait_for(self.moving, what="the window drag to begin")
        for step in range(2, steps + 1):
            self.session.move(left + x + step_x * step, top + y + step_y * step)
        self.session.release()
        self.session.wait_for(lambda: not self.moving(), what="the window drag to end")
        return left, top

    def test_a_drag_moves_the_window_and_leaving_pulls_it_back(self):
        left, top = self.drag(300, 50, -10, 10)
        # The drag starts at the first move past the 3-pixel threshold; from there the window follows the pointer.
        self.assertEqual(self.rect()[:2], (left - 90, top + 90))

        # Dragged partly off the right edge, it comes back when the pointer leaves it.
        left, top = self.drag(250, 50, 12, 0)
        width, _ = self.session.screen_size()
        self.assertEqual(self.rect()[0], left + 108)
        self.assertGreater(self.rect()[0], width - 341)
        self.session.move(5, 1000)
        self.session.wait_for(lambda: self.rect()[0] == width - 341, what="the window to come back")
        self.assertEqual(self.rect()[1], top)
        # Neither press became a click on the handle.
        self.assertEqual(len(self.calls()), 1)

    def test_the_handle_turns_idle_after_the_pointer_leaves_it(self):
        self.expand()
        self.click(45, 50)  # the expanded handle
        self.wait_for_calls(3)
        self.hover_handle()
        self.wait_for_picture(collapsed_panel(idle=False))
        self.session.move(5, 1000)
        left = time.monotonic()
        self.wait_for_picture(collapsed_panel(idle=True), name="collapsed-idle")
        # How long that took goes to the report; the unit tests check the interval.
        report(f"idle handle seen {time.monotonic() - left:.1f} s after the pointer left it")

    def test_another_window_in_the_foreground_collapses_the_panel(self):
        self.expand()
        self.wait_for_picture(expanded_panel())
        self.assertEqual(len(self.calls()), 2, "still expanded while the panel is in the foreground")
        # The other window stays in the foreground until the panel has collapsed.
        taker = subprocess.Popen(["wine", self.session.wintool_exe, "hold-foreground", "60000"],
                                 env=self.session.env(), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            self.wait_for_calls(3)
            self.wait_for_picture(collapsed_panel())
        finally:
            taker.kill()
            taker.wait()

    def test_the_close_button_ends_the_program_with_exit_code_zero(self):
        self.expand()
        self.click(292, 56)
        self.assertEqual(self.process.wait(timeout=60), 0)


class UnrecordedPanelTestBase(PanelTestBase):
    def expand_unlock_and_turn(self):
        """Expands, clicks lock and turn left; the buttons swap whatever the library did."""
        self.click(320, 100)
        self.wait_for_picture(expanded_panel())
        self.click(238, 56)
        self.session.move(*[a + b for a, b in zip(self.rect()[:2], (320, 100))])
        self.wait_for_picture(expanded_panel(auto_rotation_on=True))
        self.click(126, 56)

    def collapse_and_see_it(self):
        """Collapses with the expanded handle and waits for the collapsed picture."""
        self.click(45, 50)
        self.hover_handle()
        self.wait_for_picture(collapsed_panel())


class RealQuilletPanelTest(UnrecordedPanelTestBase):
    quillet = "real"

    def test_works_with_the_real_library(self):
        # Wine has no rotation sensor and no switch, and accepts a turn that its
        # virtual display does not make. After the turn the panel still answers.
        self.expand_unlock_and_turn()
        self.collapse_and_see_it()
        self.session.wintool("close", "TPanelForm", "KOVA Zentara")
        self.assertEqual(self.process.wait(timeout=60), 0)


class NoQuilletPanelTest(UnrecordedPanelTestBase):
    quillet = "none"

    def test_works_without_the_library(self):
        self.expand_unlock_and_turn()
        self.collapse_and_see_it()
        self.assertIsNone(self.process.poll())


if __name__ == "__main__":
    unittest.main()
