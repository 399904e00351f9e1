"""zentara on X11 as a person sees and uses it, with a recording stand-in for libquillet.so."""
import os
import subprocess
import time
import unittest
from pathlib import Path

from x11_harness import (PANEL_CLASS, PANEL_SIZE, PANEL_TITLE, SCREEN, AppFolder, Display, build_dir,
                         collapsed_panel, expanded_panel, largest_difference, scaled, scaled_panel, wait_for)

# Rounding in the decoder and in the opacity applied to each byte.
TOLERANCE = 4
SCREENSHOTS = build_dir() / "x11" / "screenshots"
REPORT = build_dir() / "x11" / "report.txt"
ENGLISH = {"LC_ALL": "", "LC_MESSAGES": "", "LANG": "en_US.UTF-8"}


class PanelTestBase(unittest.TestCase):
    window_manager = True
    shared_memory = True
    nested_screen = None
    quillet = "recorder"
    startup_times = []

    @classmethod
    def setUpClass(cls):
        cls.display = Display(window_manager=cls.window_manager, shared_memory=cls.shared_memory,
                              nested_screen=cls.nested_screen)
        cls.app = AppFolder(cls.quillet)

    @classmethod
    def tearDownClass(cls):
        cls.display.close()
        cls.app.cleanup()

    def setUp(self):
        self.processes = []
        self.log_file = self.app.folder / f"quillet-{self.id().split('.')[-1]}.log"
        self.log_file.unlink(missing_ok=True)
        self.process = self.start()

    def tearDown(self):
        for process in self.processes:
            if process.poll() is None:
                process.kill()
            process.wait()
        wait_for(lambda: not self.display.find(PANEL_TITLE, only_visible=False), timeout=10,
                 what="no panel window")

    def launch(self, env=None):
        process = subprocess.Popen([str(self.app.exe)], cwd=self.app.folder, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL,
                                   env=self.display.env({**ENGLISH, "ZENTARA_QUILLET_LOG": str(self.log_file),
                                                         **(env or {})}))
        self.processes.append(process)
        return process

    def start(self, env=None):
        """Starts the program and waits until its panel shows; the pointer then goes away from it."""
        started = time.monotonic()
        process = self.launch(env)
        self.window = wait_for(lambda: (self.display.find(PANEL_TITLE) or [None])[0], timeout=15,
                               what="the panel window to show")
        PanelTestBase.startup_times.append(time.monotonic() - started)
        self.display.move(5, SCREEN[1] - 5)
        return process

    # --- looking ------------------------------------------------------------

    def rect(self):
        return self.display.geometry(self.window)

    def panel_image(self):
        left, top, _, _ = self.rect()
        return self.display.screenshot().crop(left, top, *PANEL_SIZE)

    def wait_for_picture(self, expected, timeout=8.0, name=None):
        """Waits until the panel on the screen shows `expected`; saves it under `name`."""
        differences = []

        def matches():
            image = self.panel_image()
            differences.append(largest_difference(image, expected))
            return image if differences[-1] <= TOLERANCE else None

        try:
            image = wait_for(matches, timeout, interval=0.1, what="the expected picture")
        except AssertionError:
            self.fail(f"the panel never showed the expected picture (largest differences {differences[-5:]})")
        if name:
            SCREENSHOTS.mkdir(parents=True, exist_ok=True)
            image.save_png(SCREENSHOTS / f"{name}.png")
        return image

    def calls(self):
        return self.log_file.read_text().splitlines() if self.log_file.exists() else []

    def wait_for_calls(self, count):
        return wait_for(lambda: len(self.calls()) >= count and self.calls(), timeout=8,
                        what=f"{count} calls of the rotation library")

    # --- acting -------------------------------------------------------------

    def click(self, x, y):
        left, top, _, _ = self.rect()
        self.display.click(left + x, top + y)

    def expand(self):
        reads = len(self.calls())
        self.click(320, 100)  # on the collapsed handle, away from every button of the expanded panel
        self.wait_for_calls(reads + 1)  # each state change reads the auto-rotation state

    def drag(self, x, y, step_x, step_y, steps=10):
        """Drags from window point (x, y) in small steps; returns the window's place before."""
        left, top, _, _ = self.rect()
        self.display.move(left + x, top + y)
        self.display.xdotool("mousedown", 1)
        for step in range(1, steps + 1):
            self.display.move(left + x + step_x * step, top + y + step_y * step)
            time.sleep(0.02)
        self.display.xdotool("mouseup", 1)
        return left, top

    def assert_drag_follows_the_pointer(self, screen_right=SCREEN[0]):
        # The move keeps the pointer where it pressed the window, from the press on.
        left, top = self.drag(300, 50, -10, 10)
        wait_for(lambda: self.rect()[:2] == (left - 100, top + 100), timeout=5, what="the window to move")
        # Dragged partly off the right edge, it comes back when the pointer leaves it.
        left, top = self.drag(250, 50, 12, 0)
        wait_for(lambda: self.rect()[0] == left + 120, timeout=5, what="the second move")
        self.display.move(5, SCREEN[1] - 5)
        wait_for(lambda: self.rect()[0] == screen_right - PANEL_SIZE[0], timeout=5,
                 what="the window to come back")
        self.assertEqual(self.rect()[1], top)
        # Neither press became a click on the handle.
        self.assertEqual(self.calls(), ["RT_GetAutoRotationOn() = 0"])


class ManagedPanelTest(PanelTestBase):
    """On a display with openbox as the window manager."""

    def test_the_window_is_a_frameless_32_bit_window_above_the_others(self):
        info = self.display.run("xwininfo", "-id", self.window)
        self.assertIn("Depth: 32", info)
        wait_for(lambda: "= 0, 0, 0, 0" in self.display.xprop(self.window, "_NET_FRAME_EXTENTS"), timeout=5,
                 what="frame extents of 0")
        state = self.display.xprop(self.window, "_NET_WM_STATE")
        self.assertIn("_NET_WM_STATE_ABOVE", state)
        self.assertIn("_NET_WM_STATE_SKIP_TASKBAR", state)
        self.assertIn(f'"zentara", "{PANEL_CLASS}"', self.display.xprop(self.window, "WM_CLASS"))
        self.assertIn(f'"{PANEL_TITLE}"', self.display.xprop(self.window, "_NET_WM_NAME"))
        self.assertIn(f"= {self.process.pid}", self.display.xprop(self.window, "_NET_WM_PID"))
        self.assertIn("Icon (114 x 113)", self.display.xprop(self.window, "_NET_WM_ICON"))

    def test_starts_collapsed_at_the_right_edge_and_turns_idle(self):
        self.assertEqual(self.rect(), (SCREEN[0] - 341, 20, SCREEN[0], 133))
        self.wait_for_picture(collapsed_panel(), name="collapsed")
        self.assertEqual(self.calls(), ["RT_GetAutoRotationOn() = 0"])
        # Three seconds without the pointer on it, the handle dims.
        self.wait_for_picture(collapsed_panel(idle=True), timeout=8, name="collapsed-idle")

    def test_its_place_follows_the_language(self):
        for locale, left in (("ar_SA.UTF-8", 0), ("he_IL.UTF-8", 0), ("en_US.UTF-8", SCREEN[0] - 341)):
            with self.subTest(locale=locale):
                self.tearDown()
                self.processes = []
                self.start({"LC_ALL": locale})
                self.assertEqual(self.rect()[:2], (left, 20))

    def test_a_click_on_the_handle_expands_the_panel(self):
        self.expand()
        self.wait_for_picture(expanded_panel(), name="expanded")

    def test_lock_then_turns_reach_the_library(self):
        self.expand()
        self.click(238, 56)  # the lock button: automatic rotation is off
        self.wait_for_calls(3)
        self.assertEqual(self.calls()[-1], "RT_SetAutoRotation(1) = 1")
        left, top, _, _ = self.rect()
        self.display.move(left + 320, top + 100)  # away from the buttons
        self.wait_for_picture(expanded_panel(auto_rotation_on=True), name="expanded-unlocked")

        self.click(126, 56)  # turn left
        self.wait_for_calls(5)
        self.assertEqual(self.calls()[3:5], ["RT_GetAngle() = 1", "RT_SetAngle(2) = 1"])
        for turns in range(1, 5):
            self.click(182, 56)  # turn right
            self.wait_for_calls(5 + 2 * turns)
        self.assertEqual([c for c in self.calls()[5:] if c.startswith("RT_SetAngle")],
                         ["RT_SetAngle(1) = 1", "RT_SetAngle(4) = 1", "RT_SetAngle(3) = 1", "RT_SetAngle(2) = 1"])

    def test_a_drag_through_the_window_manager(self):
        self.assert_drag_follows_the_pointer()

    def test_another_window_becoming_active_collapses_the_panel(self):
        self.expand()
        self.wait_for_picture(expanded_panel())
        other = subprocess.Popen(["xmessage", "-geometry", "+100+400", "another window"], env=self.display.env(),
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            self.wait_for_calls(3)
            self.wait_for_picture(collapsed_panel(), timeout=3)
        finally:
            other.kill()
            other.wait()

    def test_a_click_on_a_transparent_pixel_reaches_the_window_below(self):
        self.wait_for_picture(collapsed_panel())
        left, top, _, _ = self.rect()
        # A window below the transparent left part of the collapsed panel.
        below = subprocess.Popen(["xmessage", "-geometry", f"400x200+{left - 50}+{top - 20}", "below"],
                                 env=self.display.env(), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            below_window = wait_for(lambda: (self.display.find("xmessage") or [None])[0], what="the window below")
            wait_for(lambda: self.display.active_window() == below_window, what="the window below to be active")
            self.display.xdotool("windowactivate", "--sync", self.window)
            wait_for(lambda: self.display.active_window() == self.window, what="the panel to be active")
            self.click(100, 56)
            wait_for(lambda: self.display.active_window() == below_window, what="the click to reach the window below")
            self.assertEqual(self.calls(), ["RT_GetAutoRotationOn() = 0"])
        finally:
            below.kill()
            below.wait()

    def test_a_second_start_exits_with_zero_at_once(self):
        second = self.launch()
        self.assertEqual(second.wait(timeout=10), 0)
        self.assertIsNone(self.process.poll())
        self.assertEqual(len(self.display.find(PANEL_TITLE, only_visible=False)), 1)

    def test_a_close_request_ends_the_program_with_exit_code_zero(self):
        self.display.xdotool("windowactivate", "--sync", self.window)
        self.display.xdotool("key", "alt+F4")  # openbox asks the active window to close
        self.assertEqual(self.process.wait(timeout=20), 0)

    def test_the_close_button_ends_the_program_with_exit_code_zero(self):
        self.expand()
        self.click(292, 56)
        self.assertEqual(self.process.wait(timeout=20), 0)


class UnmanagedPanelTest(PanelTestBase):
    """On a display without a window manager, and without shared memory for the pixels:
    the program moves its window itself and sends its pixels with XPutImage."""

    window_manager = False
    shared_memory = False

    def test_a_drag_without_a_window_manager(self):
        self.wait_for_picture(collapsed_panel(), name="collapsed-without-shared-memory")
        self.assert_drag_follows_the_pointer()


class RealLibraryPanelTest(PanelTestBase):
    """With the real libquillet.so, which Xvfb refuses every turn, and the desktop's settings in memory."""

    quillet = "real"

    def start(self, env=None):
        return super().start({"GSETTINGS_BACKEND": "memory", **(env or {})})

    def test_works_with_the_real_library(self):
        self.click(320, 100)
        # Automatic rotation is on where the desktop's orientation lock exists (and is off by default).
        shown = {}

        def either_look():
            image = self.panel_image()
            for on in (False, True):
                if largest_difference(image, expanded_panel(auto_rotation_on=on)) <= TOLERANCE:
                    shown["on"] = on
                    return True
            return False

        wait_for(either_look, timeout=8, what="the expanded panel")
        self.click(238, 56)  # the lock or unlock button
        left, top, _, _ = self.rect()
        self.display.move(left + 320, top + 100)
        self.wait_for_picture(expanded_panel(auto_rotation_on=not shown["on"]))
        self.click(126, 56)  # turn left, where enabled: refused by the server, the program goes on
        self.click(45, 50)
        self.wait_for_picture(collapsed_panel())
        self.assertIsNone(self.process.poll())
        self.click(320, 100)
        self.wait_for_picture(expanded_panel(auto_rotation_on=not shown["on"]))
        self.click(292, 56)
        self.assertEqual(self.process.wait(timeout=20), 0)


class TurningPanelTest(PanelTestBase):
    """The real library on an 800 x 600 Xephyr, which turns its screen for real, with the desktop's
    rotation lock off (automatic rotation on), which the turn buttons need to be enabled."""

    quillet = "real"
    window_manager = False
    nested_screen = (800, 600)

    def start(self, env=None):
        settings = self.app.folder / "config" / "glib-2.0" / "settings"
        settings.mkdir(parents=True, exist_ok=True)
        (settings / "keyfile").write_text("[org/gnome/settings-daemon/peripherals/touchscreen]\n"
                                          "orientation-lock=false\n")
        return super().start({"GSETTINGS_BACKEND": "keyfile", "XDG_CONFIG_HOME": str(settings.parents[1]),
                              **(env or {})})

    def turn(self, button_x, rotation):
        """Clicks a turn button and waits for the screen to show `rotation` and, with the pointer left where
        it clicked, for the panel flush with the turned screen's right edge, 20 pixels below its top."""
        self.click(button_x, 56)
        size = (800, 600) if rotation in ("normal", "inverted") else (600, 800)
        wait_for(lambda: self.display.rotation() == (size, rotation), timeout=10, what=f"the screen {rotation}")
        at_edge = (size[0] - PANEL_SIZE[0], 20, size[0], 20 + PANEL_SIZE[1])
        wait_for(lambda: self.rect() == at_edge, timeout=5, what=f"the panel at the right edge, {rotation}")

    def test_each_turn_button_gives_the_rotation_xrandr_reports(self):
        self.click(320, 100)
        self.display.move(5, 595)
        self.wait_for_picture(expanded_panel(auto_rotation_on=True))
        self.turn(126, "left")
        self.turn(182, "normal")  # turn right
        self.turn(182, "right")
        self.turn(126, "normal")
        for rotation in ("left", "inverted", "right", "normal"):  # four left turns come back to normal
            self.turn(126, rotation)
        self.assertIsNone(self.process.poll())


class PrimaryMonitorPanelTest(PanelTestBase):
    """A primary monitor that does not start at the screen's top-left corner."""
    PRIMARY = (200, 100, 800, 600)  # left, top, width, height

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.set_primary(cls.PRIMARY)

    @classmethod
    def set_primary(cls, area):
        """Makes `area` the primary monitor, in place of the one set before, if any."""
        left, top, width, height = area
        cls.display.run("xrandr", "--delmonitor", "inner", check=False)
        cls.display.run("xrandr", "--setmonitor", "*inner", f"{width}/211x{height}/159+{left}+{top}", "none")

    def at_right_edge(self, area):
        left, top, width, _ = area
        return (left + width - PANEL_SIZE[0], top + 20, left + width, top + 20 + PANEL_SIZE[1])

    def test_the_panel_keeps_to_the_primary_monitor(self):
        left, top, width, _ = self.PRIMARY
        right = left + width
        self.assertEqual(self.rect(), self.at_right_edge(self.PRIMARY))
        self.wait_for_picture(collapsed_panel())
        self.assert_drag_follows_the_pointer(screen_right=right)

    def test_the_panel_follows_a_change_of_the_primary_monitor_without_the_pointer(self):
        self.addCleanup(self.set_primary, self.PRIMARY)
        for area in ((0, 300, 1000, 500), (100, 0, 1180, 800)):
            self.set_primary(area)
            wait_for(lambda: self.rect() == self.at_right_edge(area), timeout=5, what=f"the panel at {area}")
        self.display.run("xrandr", "--delmonitor", "inner")
        wait_for(lambda: self.rect() == self.at_right_edge((0, 0, *SCREEN)), timeout=5,
                 what="the panel on the whole screen")


class ScaledPanelTest(PanelTestBase):
    """The desktop at 200 %: its Xft.dpi is 192."""
    scale = 200

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.set_dpi(192)

    @classmethod
    def set_dpi(cls, dpi):
        cls.display.run("xprop", "-root", "-f", "RESOURCE_MANAGER", "8s", "-set", "RESOURCE_MANAGER",
                        f"Xft.dpi:\t{dpi}\n")

    def panel_image(self):
        left, top, _, _ = self.rect()
        return self.display.screenshot().crop(left, top, scaled(341, self.scale), scaled(113, self.scale))

    def test_the_panel_is_drawn_from_the_200_percent_set_at_its_places(self):
        self.assertEqual(self.rect(), (SCREEN[0] - 682, 40, SCREEN[0], 40 + 226))
        self.wait_for_picture(scaled_panel(200, False))
        self.click(640, 200)  # on the collapsed handle, outside the 100 % panel's
        self.wait_for_calls(2)
        self.display.move(5, SCREEN[1] - 5)
        self.wait_for_picture(scaled_panel(200, True))
        self.click(476, 112)  # the lock button's middle
        self.wait_for_calls(3)
        self.assertEqual(self.calls()[-1], "RT_SetAutoRotation(1) = 1")

    def test_a_change_of_scale_while_running_brings_the_other_set_at_the_same_edge(self):
        self.wait_for_picture(scaled_panel(200, False))
        self.addCleanup(self.set_dpi, 192)
        self.set_dpi(96)
        wait_for(lambda: self.rect() == (SCREEN[0] - PANEL_SIZE[0], 40, SCREEN[0], 40 + PANEL_SIZE[1]),
                 timeout=8, what="the panel at 100 %")
        self.scale = 100
        self.wait_for_picture(collapsed_panel())
        self.expand()  # the handle's place at 100 %
        self.display.move(5, SCREEN[1] - 5)
        self.wait_for_picture(expanded_panel())


class MissingPictureTest(PanelTestBase):
    """A picture missing from the images folder."""

    def setUp(self):
        (self.app.dir / "images" / "None.png").unlink(missing_ok=True)
        self.processes = []
        self.log_file = self.app.folder / "quillet-missing.log"

    def test_a_missing_picture_gives_the_load_image_notice(self):
        process = self.launch()
        notice = wait_for(lambda: (self.display.find("LoadImage") or [None])[0], timeout=15,
                          what="the LoadImage notice")
        image = self.display.screenshot()
        left, top, right, bottom = self.display.geometry(notice)
        dialog = image.crop(left, top, right - left, bottom - top)
        # A light face with dark text on it.
        pixels = [dialog.pixel(x, y) for y in range(dialog.height) for x in range(dialog.width)]
        self.assertGreater(sum(1 for p in pixels if max(p) < 80), 50)
        self.assertGreater(sum(1 for p in pixels if min(p) > 200), len(pixels) // 2)
        self.assertIsNone(process.poll())
        # Each notice waits for Enter or Escape; then the panel shows.
        keys = iter(["Return", "Escape"] * 20)

        def panel_or_next_notice():
            panel = self.display.find(PANEL_TITLE)
            if panel:
                return panel[0]
            for window in self.display.find("LoadImage"):
                self.display.xdotool("windowactivate", "--sync", window)
                self.display.xdotool("key", next(keys))
            return None

        self.window = wait_for(panel_or_next_notice, timeout=30, interval=0.3, what="the panel after the notices")
        self.display.xdotool("windowactivate", "--sync", self.window)
        self.display.xdotool("key", "alt+F4")
        self.assertEqual(process.wait(timeout=20), 0)


def tearDownModule():
    times = sorted(PanelTestBase.startup_times)
    if times:
        line = (f"start-up to the shown panel on Xvfb: best {times[0] * 1000:.0f} ms, "
                f"median {times[len(times) // 2] * 1000:.0f} ms over {len(times)} starts "
                f"(of which 500 ms the program's own start-up pause and about 15 frames of slide)")
        print(line)
        REPORT.parent.mkdir(parents=True, exist_ok=True)
        with REPORT.open("a") as report:
            report.write(line + "\n")


if __name__ == "__main__":
    unittest.main()
