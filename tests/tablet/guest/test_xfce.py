"""The panel on an Xfce tablet: Xorg's modesetting driver and libinput, the real libquillet.so turning
the screen, Zentara's own lock and its own following of iio-sensor-proxy (Xfce turns nothing itself)."""
import time
import unittest
from pathlib import Path

from scenario import IDENTITY, TabletScenario
from tablet import (COLLAPSED_HANDLE, EXPANDED_HANDLE, LOCK, MONITOR_OUTPUT, NATIVE, PANEL_OUTPUT, TURN_LEFT,
                    TURN_RIGHT, Accelerometer, Mouse, Pen, Touchscreen, run, wait_for)

class XfceAutostartTest(TabletScenario):
    def test_the_session_starts_the_panel_on_a_tablet(self):
        # The session started before any scenario made a touchscreen: its entry's start ended quietly.
        # Now the tablet has one, and a new session's start shows the panel.
        finger = self.device(Touchscreen)
        before = self.desktop.panel_windows()
        started = time.monotonic()
        process, window = self.start_panel("--autostart")
        self.assertEqual(before, [], "no panel before: the session's own autostart found no touchscreen")
        self.assertIsNone(process.poll())
        self.assertEqual(self.desktop.rect(window), self.at_right_edge(NATIVE[0]))
        self.note("autostart start", time.monotonic() - started)
        self.tap(finger, COLLAPSED_HANDLE)


class XfceFingerTest(TabletScenario):
    def test_taps_turn_the_screen_and_land_on_the_turned_buttons(self):
        finger = self.device(Touchscreen)
        _, window = self.start_panel()
        # The X server maps the finger: its matrix must follow each turn.
        self.turn_left_and_back(finger, window, lambda rotation: self.panel_matrix_follows(finger.name, rotation))
        # Collapsed again, the finger drags the panel by its handle.
        self.tap(finger, EXPANDED_HANDLE)
        wait_for(lambda: self.desktop.panel_alpha(window, (110, 40, 32, 32)) < 0.1, "the panel collapsed")
        self.drag_and_lift(finger)

    def drag_and_lift(self, finger):
        """A drag by the handle, partly off the right edge, then the lift pulls the panel back inside."""
        left, top, right, bottom = self.desktop.rect()
        start = self.screen_point((300, 50))
        finger.down(self.glass(start))
        # Left and down in steps, the panel following while the finger is held.
        for step in range(1, 11):
            finger.move(self.glass((start[0] - 10 * step, start[1] + 10 * step)))
            time.sleep(0.03)
        wait_for(lambda: self.desktop.rect()[:2] == (left - 100, top + 100),
                 f"the panel to follow the finger (it is at {self.desktop.rect()})")
        # Then right, partly off the screen's edge, still held.
        for step in range(1, 16):
            finger.move(self.glass((start[0] - 100 + 12 * step, start[1] + 100)))
            time.sleep(0.03)
        wait_for(lambda: self.desktop.rect()[2] > NATIVE[0] and self.desktop.rect()[1] == top + 100,
                 f"the panel to follow off the edge (it is at {self.desktop.rect()})")
        finger.up()
        self.wait_place((left, top + 100, right, bottom + 100), "pulled back inside when the finger lifts")


class XfcePenTest(TabletScenario):
    def test_the_pen_follows_the_turn_and_the_mouse_keeps_its_own_mapping(self):
        finger = self.device(Touchscreen)
        pen = self.device(Pen)
        mouse = self.device(Mouse)
        _, window = self.start_panel()
        # The pen's tool device comes when the pen first comes near.
        self.hover_until_it_lands(pen, (100, 700))
        pen.away()
        self.expand(finger, window)
        self.tap(finger, TURN_LEFT)
        self.turned("left")
        # X names the tool's pointer after the pen ("... Pen (0)"); the pen's own device is a keyboard.
        pen_name = wait_for(lambda: next((name for name in reversed(self.desktop.input_names())
                                          if name.startswith(f"{pen.name} ")), None), "the pen's tool device")
        self.panel_matrix_follows(pen_name, "left")
        # The pen taps the turn-right button where the turned screen shows it.
        target = self.screen_point(TURN_RIGHT)
        pen.tap(self.glass(target))
        wait_for(lambda: self.near(self.desktop.pointer(), target), "the pen's tap to land on the button")
        pen.away()
        self.turned("normal")
        self.panel_matrix_follows(pen_name, "normal")
        # The mouse was never turned: it keeps the whole screen, and moving it right moves the pointer right.
        self.assertEqual(self.desktop.matrix(mouse.name), IDENTITY)
        before = self.desktop.pointer()
        for _ in range(5):
            mouse.move(10, 0)
        wait_for(lambda: self.desktop.pointer()[0] > before[0] + 20, "the mouse to move the pointer right")
        self.assertLessEqual(abs(self.desktop.pointer()[1] - before[1]), 2)


class XfceSensorTest(TabletScenario):
    def test_tilting_turns_the_screen_until_the_lock_is_on_and_the_sensor_may_go(self):
        accelerometer = self.device(Accelerometer)  # closing it twice is harmless
        finger = self.device(Touchscreen)
        accelerometer.hold("normal")
        process, window = self.start_panel()
        self.hold(accelerometer, "left-up", "left")
        self.panel_matrix_follows(finger.name, "left")
        self.hold(accelerometer, "normal", "normal")
        # The lock: automatic rotation off, kept in Zentara's own setting.
        self.expand(finger, window)
        self.tap(finger, LOCK)
        setting = Path("/home/tablet/.config/zentara/rotation.conf")
        wait_for(lambda: setting.exists() and "Automatic=false" in setting.read_text(), "the lock kept")
        accelerometer.hold("right-up")
        self.stays_upright("with the lock on")
        # iio-sensor-proxy restarted while the panel runs: the panel claims the sensor again.
        self.tap(finger, LOCK)
        wait_for(lambda: "Automatic=true" in setting.read_text(), "the lock off")
        accelerometer.hold("normal")
        run("systemctl", "restart", "iio-sensor-proxy.service")
        wait_for(lambda: self.sensor_claimed(), "the panel to claim the sensor again")
        self.hold(accelerometer, "left-up", "left")
        self.hold(accelerometer, "normal", "normal")
        # The accelerometer goes: the panel keeps working and says nothing more than at its start.
        said = self.panel_output_log()
        accelerometer.close()
        wait_for(lambda: not self.has_accelerometer(), "the sensor service to lose the accelerometer")
        self.tap(finger, TURN_LEFT)
        self.turned("left")
        self.tap(finger, TURN_RIGHT)
        self.turned("normal")
        self.assertIsNone(process.poll())
        self.assertEqual(self.panel_output_log(), said, "nothing more said")

class XfceDockingTest(TabletScenario):
    def plug(self, on):
        """The monitor's connector reads as connected (or not), as when its cable goes in, and the user
        switches it on to the right of the tablet."""
        Path(f"/sys/class/drm/card0-{MONITOR_OUTPUT}/status").write_text("on" if on else "off")
        if on:
            # Looked for as xrandr --query does: the driver probes its connectors.
            wait_for(lambda: self.desktop.screen(probe=True)[1].get(MONITOR_OUTPUT, (False,))[0],
                     "the monitor connected")
            self.desktop.x("xrandr", "--output", MONITOR_OUTPUT, "--mode", "1280x1024", "--right-of", PANEL_OUTPUT)
        else:
            self.desktop.x("xrandr", "--output", MONITOR_OUTPUT, "--off")

    def test_a_monitor_beside_the_tablet_stays_upright_and_touch_stays_on_the_tablet(self):
        finger = self.device(Touchscreen)
        _, window = self.start_panel()
        self.plug(True)
        wait_for(lambda: self.desktop.screen()[0] == (2560, 1024), "the screen to take the monitor")
        # Upright, the touchscreen covers the tablet's output only, also when it comes now.
        self.panel_matrix_follows(finger.name, "normal", (2560, 1024), (0, 0, 1280, 800))
        late = self.device(Touchscreen, "ELAN9009:00 04F3:2A4A")
        self.panel_matrix_follows(late.name, "normal", (2560, 1024), (0, 0, 1280, 800))
        self.expand(finger, window)
        self.tap(finger, TURN_LEFT)
        self.turned_docked()
        self.panel_matrix_follows(finger.name, "left", (800 + 1280, 1280), (0, 0, 800, 1280))
        self.panel_matrix_follows(late.name, "left", (800 + 1280, 1280), (0, 0, 800, 1280))
        # The next tap, on the turned tablet beside the monitor, still lands on its button.
        self.tap(finger, TURN_LEFT)
        self.turned_docked("inverted", (2560, 1024), (0, 0, 1280, 800), (1280, 0, 1280, 1024))
        self.tap(finger, TURN_RIGHT)
        self.turned_docked()
        # Unplugged, the layout closes up around the turned tablet.
        self.plug(False)
        wait_for(lambda: self.desktop.screen()[0] == (800, 1280), f"the screen to close up ({self.desktop.screen()})")
        self.panel_matrix_follows(finger.name, "left", (800, 1280))
        self.tap(finger, TURN_RIGHT)
        self.turned("normal")

    def turned_docked(self, rotation="left", size=(2080, 1280), tablet=(0, 0, 800, 1280),
                      monitor=(800, 0, 1280, 1024)):
        def layout():
            size, outputs = self.desktop.screen()
            return (size, outputs[PANEL_OUTPUT][1:], outputs[MONITOR_OUTPUT][1:])
        want = (size, (rotation, tablet), ("normal", monitor))
        wait_for(lambda: layout() == want, f"only the tablet turned, the monitor beside it ({layout()})")
        self.anchored(f"at the tablet's edge, {rotation}, beside the monitor")


class XfceHotplugTest(TabletScenario):
    def test_devices_that_come_back_are_mapped_at_once(self):
        finger = Touchscreen()
        _, window = self.start_panel()
        self.expand(finger, window)
        self.tap(finger, TURN_LEFT)
        self.turned("left")
        self.panel_matrix_follows(finger.name, "left")
        # As after a suspend: the touchscreen goes, and comes back as a new device.
        finger.close()
        wait_for(lambda: self.desktop.input_id(finger.name) is None, "the touchscreen gone")
        started = time.monotonic()
        finger = self.device(Touchscreen)
        self.panel_matrix_follows(finger.name, "left")
        self.note("touchscreen back and mapped", time.monotonic() - started)
        # A pen that comes later, once it first comes near.
        pen = self.device(Pen)
        self.hover_until_it_lands(pen, (400, 600))
        pen.away()
        self.tap(finger, TURN_RIGHT)
        self.turned("normal")


if __name__ == "__main__":
    unittest.main()
