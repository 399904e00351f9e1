"""zentara in daily use on X11: every workspace, a desktop without a compositor, the session ending,
signals, and the desktop's scale told through XSETTINGS."""
import ctypes
import os
import signal
import struct
import subprocess
from pathlib import Path

from waiting import wait_for
from x11_panel_harness import ENGLISH, PANEL_SIZE, PANEL_TITLE, SCREEN, DisplayTestCase, SelectionOwner
import xlib

def bounding_shape(display, window):
    """The window's bounding shape as a set of (x, y) pixels."""
    with xlib.connection(display.name) as connection:
        count, ordering = ctypes.c_int(0), ctypes.c_int(0)
        rects = xlib.XShapeGetRectangles(connection, window, 0, ctypes.byref(count), ctypes.byref(ordering))
        pixels = {(r.x + dx, r.y + dy) for r in rects[:count.value]
                  for dy in range(r.height) for dx in range(r.width)}
        if rects:
            xlib.XFree(rects)
        return pixels


def xsettings(serial, settings):
    """The _XSETTINGS_SETTINGS bytes (little-endian) of integer settings {name: value}."""
    data = struct.pack("<B3xII", 0, serial, len(settings))
    for name, value in settings.items():
        raw = name.encode()
        data += struct.pack("<BxH", 0, len(raw)) + raw + b"\0" * (-len(raw) % 4) + struct.pack("<Ii", 0, value)
    return data


class DailyUseTestBase(DisplayTestCase):

    def setUp(self):
        self.processes = []
        self.stderr_file = self.app.folder / f"stderr-{self.id().split('.')[-1]}.txt"

    def tearDown(self):
        for process in self.processes:
            if process.poll() is None:
                process.kill()
            process.wait()

    def start(self, env=None):
        """Starts the program, with its debug output on, and waits until its panel shows; returns the process."""
        with open(self.stderr_file, "w") as stderr:
            process = subprocess.Popen([str(self.app.exe)], cwd=self.app.folder, stdout=subprocess.DEVNULL,
                                       stderr=stderr,
                                       env=self.display.env({**ENGLISH, "ZENTARA_DEBUG": "1", **(env or {})}))
        self.processes.append(process)
        self.window = wait_for(lambda: (self.display.find(PANEL_TITLE) or [None])[0], timeout=15,
                               what="the panel window to show")
        self.display.move(5, SCREEN[1] - 5)
        return process

    def stderr(self):
        return self.stderr_file.read_text()


class WorkspaceTest(DailyUseTestBase):
    """On a display with openbox and two workspaces."""

    def test_the_panel_is_a_utility_window_on_every_workspace(self):
        self.display.xdotool("set_num_desktops", 2)
        self.start()
        self.assertIn("_NET_WM_WINDOW_TYPE_UTILITY", self.display.xprop(self.window, "_NET_WM_WINDOW_TYPE"))
        self.assertIn("= 4294967295", self.display.xprop(self.window, "_NET_WM_DESKTOP"))
        state = self.display.xprop(self.window, "_NET_WM_STATE")
        for name in ("_NET_WM_STATE_ABOVE", "_NET_WM_STATE_SKIP_TASKBAR"):
            self.assertIn(name, state)
        # openbox keeps it in view on the other workspace (it knows no sticky state but
        # _NET_WM_DESKTOP's every-desktop value; see the unmanaged test for the state asked for).
        self.display.xdotool("set_desktop", 1)
        wait_for(lambda: "= 1" in self.display.xprop_root("_NET_CURRENT_DESKTOP"), timeout=5,
                 what="the second workspace")
        self.assertEqual(self.display.find(PANEL_TITLE), [self.window])
        self.display.xdotool("set_desktop", 0)


class BareDisplayTest(DailyUseTestBase):
    """On Xvfb without a window manager or a compositing manager, until a test starts a stand-in."""
    window_manager = False
    compositor = False

    def test_the_window_asks_to_be_sticky_and_above(self):
        self.start()
        state = self.display.xprop(self.window, "_NET_WM_STATE")
        self.assertIn("_NET_WM_STATE_STICKY", state)
        self.assertIn("_NET_WM_STATE_ABOVE", state)

    def test_the_shape_leaves_out_what_would_show_black_until_a_compositor_runs(self):
        self.start()
        uncomposited = bounding_shape(self.display, self.window)
        self.assertTrue(uncomposited)
        compositor = SelectionOwner(self.display.name, "_NET_WM_CM_S0")
        self.addCleanup(compositor.close)
        # With a compositor the half-transparent edges belong to the window again.
        composited = wait_for(lambda: (lambda shape: shape if shape > uncomposited else None)(
            bounding_shape(self.display, self.window)), timeout=5, what="the shape to grow")
        self.assertGreater(len(composited - uncomposited), 20)
        compositor.close()
        wait_for(lambda: bounding_shape(self.display, self.window) == uncomposited, timeout=5,
                 what="the shape without the compositor again")

    def test_signals_end_the_program_with_zero_and_free_the_lock(self):
        for number in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
            # Each start after the first shows that the one before let its lock go.
            process = self.start()
            process.send_signal(number)
            self.assertEqual(process.wait(timeout=10), 0, number.name)
            # The start-up's language line and nothing else.
            self.assertEqual(self.stderr(), "409\n", number.name)
            wait_for(lambda: not self.display.find(PANEL_TITLE, only_visible=False), timeout=5,
                     what="no panel window")

    def test_the_debug_output_waits_to_be_asked_for_and_names_the_first_language(self):
        # Started at every login, the program writes nothing unless asked; the line comes before the panel.
        process = self.start({"ZENTARA_DEBUG": ""})
        self.assertEqual(self.stderr(), "")
        process.terminate()
        self.assertEqual(process.wait(timeout=10), 0)
        wait_for(lambda: not self.display.find(PANEL_TITLE, only_visible=False), timeout=5, what="no panel window")
        # A Hebrew desktop over an English locale: Hebrew's identifier, and the panel at the left edge.
        self.start({"LANGUAGE": "he"})
        self.assertEqual(self.stderr(), "40d\n")
        self.assertEqual(self.display.geometry(self.window)[:2], (0, 20))

    def test_the_scale_follows_the_settings_manager_and_falls_back_to_xft_dpi(self):
        self.display.run("xprop", "-root", "-f", "RESOURCE_MANAGER", "8s", "-set", "RESOURCE_MANAGER",
                         "Xft.dpi:\t96\n")
        manager = SelectionOwner(self.display.name, "_XSETTINGS_S0")
        self.addCleanup(manager.close)
        manager.set_property("_XSETTINGS_SETTINGS", xsettings(1, {"Xft/DPI": 192 * 1024}))
        self.start()
        width = lambda: self.display.geometry(self.window)[2] - self.display.geometry(self.window)[0]  # noqa: E731
        self.assertEqual(width(), 2 * PANEL_SIZE[0])
        for settings, expected in (({"Xft/DPI": 96 * 1024, "Gdk/WindowScalingFactor": 1}, 1),
                                   ({"Gdk/WindowScalingFactor": 2, "Xft/DPI": 96 * 1024}, 2),
                                   # A property cut short counts as no settings: Xft.dpi's 96.
                                   ({"Xft/DPI": 192 * 1024}, None)):
            data = xsettings(2, settings)
            if expected is None:
                data, expected = data[:-3], 1
            manager.set_property("_XSETTINGS_SETTINGS", data)
            wait_for(lambda: width() == expected * PANEL_SIZE[0], timeout=8, what=f"the panel at {expected}x")
        manager.set_property("_XSETTINGS_SETTINGS", xsettings(3, {"Xft/DPI": 192 * 1024}))
        wait_for(lambda: width() == 2 * PANEL_SIZE[0], timeout=8, what="the panel at 2x")
        # Without a settings manager, Xft.dpi counts again.
        manager.close()
        wait_for(lambda: width() == PANEL_SIZE[0], timeout=8, what="the panel at 1x")


class ServerGoesAwayTest(DailyUseTestBase):
    """The X server ends under the running program, as at the end of a session (with no connection of the
    test's own left on it)."""
    window_manager = False
    compositor = False

    @staticmethod
    def our_x_server():
        """The Xvfb this test process started (the only one: the display has no nested server)."""
        for entry in Path("/proc").iterdir():
            try:
                stat = (entry / "stat").read_text()
            except (OSError, ValueError):
                continue
            name, fields = stat[stat.index("(") + 1:stat.rindex(")")], stat[stat.rindex(")") + 2:].split()
            if name == "Xvfb" and int(fields[1]) == os.getpid():
                return int(entry.name)
        raise AssertionError("no X server of this test")

    def test_the_program_ends_quietly_with_zero(self):
        process = self.start()
        os.kill(self.our_x_server(), signal.SIGTERM)
        self.assertEqual(process.wait(timeout=10), 0)
        self.assertEqual(self.stderr(), "409\n")  # the start-up's language line alone
