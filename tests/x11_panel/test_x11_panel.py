"""zentara on X11 as a person sees and uses it: the shared panel scenarios on the X11 driver, and what
only X11 shows (a 32-bit window, clicks through transparent pixels, a drag without a window manager,
screens that turn for real, a primary monitor away from the corner)."""
import configparser
import os
import signal
import subprocess
import unittest

from x11_panel_harness import (PANEL_SIZE, PANEL_TITLE, REPO, REPORT, SCREEN, PanelTestBase,  # noqa: F401
                               append_line, collapsed_panel, expanded_panel, largest_difference)
from private_bus import PrivateBus
from waiting import wait_for
from panel_pictures import TOLERANCE
from panel_scenarios import (TURN_LEFT, MissingPictureScenario, NoLibraryScenario, PanelScenarios,
                             RealLibraryScenario, ScaledPanelScenarios)


class ManagedPanelTest(PanelScenarios, PanelTestBase):
    """On a display with openbox as the window manager."""

    def test_the_window_is_a_frameless_32_bit_window_above_the_others(self):
        info = self.display.run("xwininfo", "-id", self.window)
        self.assertIn("Depth: 32", info)
        wait_for(lambda: "= 0, 0, 0, 0" in self.display.xprop(self.window, "_NET_FRAME_EXTENTS"), timeout=5,
                 what="frame extents of 0")
        state = self.display.xprop(self.window, "_NET_WM_STATE")
        self.assertIn("_NET_WM_STATE_ABOVE", state)
        self.assertIn("_NET_WM_STATE_SKIP_TASKBAR", state)
        # The desktop finds the program's menu entry by the window's class.
        entry = configparser.ConfigParser(interpolation=None)
        entry.read(REPO / "src" / "app" / "x11" / "zentara.desktop")
        self.assertIn(f'"zentara", "{entry["Desktop Entry"]["StartupWMClass"]}"',
                      self.display.xprop(self.window, "WM_CLASS"))
        self.assertIn(f'"{PANEL_TITLE}"', self.display.xprop(self.window, "_NET_WM_NAME"))
        self.assertIn(f"= {self.process.pid}", self.display.xprop(self.window, "_NET_WM_PID"))
        self.assertIn("Icon (114 x 113)", self.display.xprop(self.window, "_NET_WM_ICON"))

    def test_the_panel_stays_in_openboxs_hands_through_its_own_moves(self):
        """openbox keeps the panel where it asks, at the start and after the program's own moves (the
        pull-back at the end of the drag): the panel stays the same managed window, which openbox closes."""
        self.assert_drag_follows_the_pointer()
        self.assertEqual(self.display.window_state(self.window)[1], False)
        self.ask_to_close()  # which only a window that openbox manages gets
        self.assertEqual(self.process.wait(timeout=60), 0)

    def test_a_click_on_a_transparent_pixel_reaches_the_window_below(self):
        self.hover_handle()
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

    def test_quit_signals_during_a_turn_end_the_program_once_the_turn_is_done(self):
        hold = self.app.folder / "turn-hold"
        hold.touch()
        self.addCleanup(hold.unlink, missing_ok=True)
        # With a system bus, the sensor service's client runs D-Bus' threads beside the loop's.
        bus = PrivateBus.open_in(self.app.folder, "system")
        self.addCleanup(bus.stop)
        self.restart({"ZENTARA_QUILLET_AUTO": "1", "ZENTARA_QUILLET_TURN_HOLD": str(hold),
                      "DBUS_SYSTEM_BUS_ADDRESS": bus.address})
        self.expand()
        self.click(*TURN_LEFT)
        self.wait(lambda: "RT_SetAngle(2) is held" in self.calls(), "the turn to begin")
        # The system hands a signal sent to the process to any thread of it that does not hold it back:
        # besides the one in the turn there are GLib's and D-Bus' own.
        self.assertGreater(len(os.listdir(f"/proc/{self.process.pid}/task")), 1)
        for number in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
            self.process.send_signal(number)
        hold.unlink()
        self.assertEqual(self.process.wait(timeout=15), 0)
        self.assertEqual(self.calls()[-2:], ["RT_SetAngle(2) is held", "RT_SetAngle(2) = 1"])


class UnmanagedPanelTest(PanelTestBase):
    """On a display without a window manager, and without shared memory for the pixels:
    the program moves its window itself and sends its pixels with XPutImage."""

    window_manager = False
    shared_memory = False

    def test_a_drag_without_a_window_manager(self):
        self.hover_handle()
        self.wait_for_picture(collapsed_panel(), name="collapsed-without-shared-memory")
        # The program moves the window itself: it follows on both axes while the button is still down.
        self.assert_drag_follows_the_pointer(check_while_held=True)


class RealLibraryPanelTest(RealLibraryScenario, PanelTestBase):
    """With the real libquillet.so, which Xvfb refuses every turn, and the desktop's settings in memory."""

    def start(self, env=None):
        return super().start({"GSETTINGS_BACKEND": "memory", **(env or {})})


class NoLibraryPanelTest(NoLibraryScenario, PanelTestBase):
    pass


class TurningPanelBase(PanelTestBase):
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


class TurningPanelTest(TurningPanelBase):

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


class FluxboxPanelTest(TurningPanelBase):
    """fluxbox 1.3 maps the panel in the screen's corner while telling it it is where it asked, and leaves it
    there through every move: the panel leaves its hands, for its edge, and stays there when it turns the
    screen and when it is dragged."""

    window_manager = "fluxbox"
    leaves_the_window_manager = True

    def launch(self, env=None, stderr=None):
        self.debug_output = self.app.folder / f"debug-{self.id().split('.')[-1]}.txt"
        with open(self.debug_output, "w") as file:
            return super().launch({"ZENTARA_DEBUG": "1", **(env or {})}, stderr=file)

    def collapsed(self):
        return min(largest_difference(self.panel_image(), collapsed_panel(idle)) for idle in (False, True)) <= TOLERANCE

    def test_out_of_its_hands_at_the_edge_through_a_turn_and_a_drag(self):
        self.report(f"the panel under fluxbox before it left its hands: {self.seen_on_the_way[:-1]}")
        with self.another_window_in_front():
            other = self.wait(lambda: (self.display.find("xmessage") or [None])[0], "another window")
            self.wait(lambda: self.display.active_window() == other, "the other window to be the active one")
            # Pressed, the panel counts as the active window, which no window manager makes it: it stays open.
            self.click(320, 100)
            self.display.move(5, 595)
            self.wait_for_picture(expanded_panel(auto_rotation_on=True))
            self.turn(126, "left")
            self.turn(182, "normal")
            with self.another_window_in_front():  # which becomes the active one
                self.wait(lambda: self.display.active_window() not in (0, other), "a newer active window")
                self.wait(self.collapsed, "the panel to collapse", interval=0.2)
        # Moved by its own drag, partly off the right edge too, and pulled back when the pointer leaves it.
        self.assert_drag_follows_the_pointer(check_while_held=True)
        self.assertEqual(self.display.window_state(self.window)[1], True)
        # Said once on the debug output, when it left.
        self.assertEqual(self.debug_output.read_text().count("does not keep the panel at its place"), 1)


class PrimaryMonitorPanelTest(PanelTestBase):
    """A primary monitor that does not start at the screen's top-left corner."""
    PRIMARY = (200, 100, 800, 600)  # left, top, width, height

    def setUp(self):
        self.change_screen(self.PRIMARY)
        super().setUp()

    def test_the_panel_keeps_to_the_primary_monitor(self):
        self.assertEqual(self.rect(), self.at_right_edge(self.PRIMARY))
        self.hover_handle()
        self.wait_for_picture(collapsed_panel())
        self.assert_drag_follows_the_pointer(self.PRIMARY)


class ScaledPanelTest(ScaledPanelScenarios, PanelTestBase):
    """The desktop at 200 %: its Xft.dpi is 192."""
    dpi, scale = 192, 200


class MissingPictureTest(MissingPictureScenario, PanelTestBase):
    pass


def tearDownModule():
    times = sorted(PanelTestBase.startup_times)
    if times:
        line = (f"start-up to the shown panel on Xvfb: best {times[0] * 1000:.0f} ms, "
                f"median {times[len(times) // 2] * 1000:.0f} ms over {len(times)} starts "
                f"(of which 500 ms the program's own start-up pause and about 15 frames of slide)")
        append_line(REPORT, line)


if __name__ == "__main__":
    unittest.main()
