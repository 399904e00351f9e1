"""The scenarios' shared steps: taps at the panel's client points wherever the screen has them now, and the
checks of where the screen, the panel and the devices' matrices are while it happens."""
import time

from tablet import (COLLAPSED_HANDLE, NATIVE, PANEL_OUTPUT, PANEL_SIZE, TURN_LEFT, TURN_RIGHT, TabletTestCase,
                    glass_of, run, wait_for)

# A device mapped onto the whole screen, as X leaves a new one.
IDENTITY = (1.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 1.0)


class TabletScenario(TabletTestCase):
    """Taps at the panel's client points wherever the screen has them now."""

    def glass(self, point):
        """Where the glass shows the screen's point now."""
        size, outputs = self.desktop.screen()
        _, rotation, geometry = outputs[PANEL_OUTPUT]
        left, top, width, height = geometry
        return glass_of((point[0] - left, point[1] - top), rotation, (width, height))

    def screen_point(self, client):
        left, top, _, _ = self.desktop.rect()
        return left + client[0], top + client[1]

    def tap(self, finger, client):
        """A tap at the panel's client point: X must put the pointer there while the finger is down."""
        target = self.screen_point(client)
        # The pointer may rest at the target already: the finger's landing tells only once the desktop has it.
        wait_for(lambda: self.desktop.has_input(finger.name), f"the desktop to take {finger.name}")
        finger.down(self.glass(target))
        seen = []
        try:
            wait_for(lambda: self.near(seen.append(self.desktop.pointer()) or seen[-1], target),
                     f"the finger to land at {target}", timeout=20)
        except AssertionError:
            raise AssertionError(f"the finger meant for {target} landed at {seen[-1]}") from None
        finally:
            finger.up()

    @staticmethod
    def near(a, b, distance=2):
        return abs(a[0] - b[0]) <= distance and abs(a[1] - b[1]) <= distance

    def hover_until_it_lands(self, pen, target):
        """Hovers the pen over the screen's point until X puts the pointer there: its tool's device comes
        with its first hover and is mapped a moment later."""
        def lands():
            # In and out of reach each time: the kernel passes on no position that did not change.
            pen.away()
            pen.hover(self.glass(target))
            time.sleep(0.2)
            return self.near(self.desktop.pointer(), target)
        wait_for(lands, f"the pen to land at {target} (the pointer is at {self.desktop.pointer()})")
        pen.away()

    def expand(self, finger, window):
        self.assertLess(self.desktop.panel_alpha(window, (110, 40, 32, 32)), 0.1, "collapsed, no button shows")
        self.tap(finger, COLLAPSED_HANDLE)
        wait_for(lambda: self.desktop.panel_alpha(window, (110, 40, 32, 32)) > 0.3, "the turn-left button to show")

    def turn_left_and_back(self, finger, window, follows=lambda rotation: None):
        """Taps the handle and turn-left, then turn-right where the turned screen shows it: the screen reads
        back turned, the panel comes to the turned screen's right edge, and `follows` checks what the
        desktop does to the finger at each rotation."""
        self.assertEqual(self.desktop.rect(window), self.at_right_edge(NATIVE[0]))
        self.expand(finger, window)
        started = time.monotonic()
        self.tap(finger, TURN_LEFT)
        self.turned("left")
        self.note("turn left, read back and re-anchored", time.monotonic() - started)
        follows("left")
        self.tap(finger, TURN_RIGHT)
        self.turned("normal")
        follows("normal")

    def turned(self, rotation):
        """Waits until the tablet's output reads back turned that way, the screen has its size and the panel
        has come to its new edge (where a user's next tap aims)."""
        size = NATIVE if rotation in ("normal", "inverted") else NATIVE[::-1]
        wait_for(lambda: self.desktop.panel_output()[1] == rotation and self.desktop.screen()[0] == size,
                 f"the output {rotation}, the screen {size} (now {self.desktop.screen()})")
        self.anchored(f"re-anchored, {rotation}")

    def anchored(self, what):
        """Waits until the panel is at the right edge of the tablet's output, as it reads back now."""
        left, top, width, _ = self.desktop.panel_output()[2]
        right = left + width
        self.wait_place((right - PANEL_SIZE[0], top + 20, right, top + 20 + PANEL_SIZE[1]), what)

    def panel_matrix_follows(self, name, rotation, screen=None, area=None):
        """Waits until the device's matrix maps the glass onto the output as it is turned."""
        width, height = screen or self.desktop.screen()[0]
        left, top, w, h = area or (0, 0, width, height)
        sx, sy, ox, oy = w / width, h / height, left / width, top / height
        expected = {"normal": (sx, 0, ox, 0, sy, oy), "left": (0, -sx, ox + sx, sy, 0, oy),
                    "inverted": (-sx, 0, ox + sx, 0, -sy, oy + sy), "right": (0, sx, ox, -sy, 0, oy + sy)}
        want = tuple(round(v, 3) for v in expected[rotation]) + (0.0, 0.0, 1.0)
        wait_for(lambda: self.close_to(self.desktop.matrix(name), want),
                 f"{name}'s matrix {want} (it is {self.desktop.matrix(name)})")

    @staticmethod
    def close_to(matrix, want):
        return matrix is not None and all(abs(a - b) < 0.002 for a, b in zip(matrix, want))

    # --- the accelerometer, through the sensor service -------------------------------------------

    def hold(self, accelerometer, orientation, rotation):
        started = time.monotonic()
        accelerometer.hold(orientation)
        self.turned(rotation)
        self.note(f"tilted {orientation}, screen {rotation}", time.monotonic() - started)

    def stays_upright(self, what):
        """Holds while iio-sensor-proxy tells the claimants, then a second longer than the panel waits."""
        wait_for(lambda: self.orientation() == "right-up", "the sensor service to read right-up")
        deadline = time.monotonic() + 3
        while time.monotonic() < deadline:
            self.assertEqual(self.desktop.panel_output()[1], "normal", what)
            time.sleep(0.3)

    def sensor_property(self, name):
        return run("gdbus", "call", "--system", "--dest", "net.hadess.SensorProxy", "--object-path",
                   "/net/hadess/SensorProxy", "--method", "org.freedesktop.DBus.Properties.Get",
                   "net.hadess.SensorProxy", name, check=False)

    def orientation(self):
        text = self.sensor_property("AccelerometerOrientation")
        return text.split("'")[1] if "'" in text else None

    def has_accelerometer(self):
        return "true" in self.sensor_property("HasAccelerometer")

    def sensor_claimed(self):
        """Whether a client of the sensor service holds the accelerometer: it then reads the orientation."""
        return self.orientation() not in (None, "undefined")
