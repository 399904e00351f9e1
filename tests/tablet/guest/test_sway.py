"""The panel through XWayland on sway, drawn with pixman on the guest's DRM device: sway maps touch itself,
the real libquillet.so turns the output through wlroots' output management, and the panel follows
iio-sensor-proxy with Zentara's own lock, as on Xfce."""
import unittest
from pathlib import Path

from scenario import TabletScenario
from tablet import LOCK, Accelerometer, Touchscreen, wait_for


class SwayFingerTest(TabletScenario):
    kind = "sway"

    def test_taps_turn_the_output_and_land_on_the_turned_buttons(self):
        finger = self.device(Touchscreen)
        _, window = self.start_panel()
        # sway maps the finger to the output it turned.
        self.turn_left_and_back(finger, window)


class SwaySensorTest(TabletScenario):
    kind = "sway"

    def test_tilting_turns_the_output_until_the_lock_is_on(self):
        accelerometer = self.device(Accelerometer)
        finger = self.device(Touchscreen)
        accelerometer.hold("normal")
        _, window = self.start_panel()
        self.hold(accelerometer, "left-up", "left")
        self.hold(accelerometer, "normal", "normal")
        self.expand(finger, window)
        self.tap(finger, LOCK)
        setting = Path("/home/tablet/.config/zentara/rotation.conf")
        wait_for(lambda: setting.exists() and "Automatic=false" in setting.read_text(), "the lock kept")
        accelerometer.hold("right-up")
        self.stays_upright("with the lock on")


if __name__ == "__main__":
    unittest.main()
