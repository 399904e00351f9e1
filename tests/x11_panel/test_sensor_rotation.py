"""zentara turning the screen as the device turns, on a desktop without a rotation service of its own.

A stand-in sensor service on a private system bus, an empty private session bus (so the desktop has no
rotation service and the rotation library keeps its own setting), the real libquillet.so, and an 800 x 600
Xephyr that turns its screen for real."""
import subprocess
import threading
import unittest
from pathlib import Path

from private_bus import PrivateBus
from waiting import wait_for
from x11_panel_harness import PANEL_TITLE, DisplayTestCase

HERE = Path(__file__).resolve().parent
# The system's interpreter, which has GObject introspection (a pyenv shim may lack it).
PYTHON = "/usr/bin/python3"
class SensorStandIn:
    """sensor_standin.py, run on the two buses; keeps every line it tells."""

    def __init__(self, system, session):
        self.process = subprocess.Popen([PYTHON, str(HERE / "sensor_standin.py"), system, session],
                                        stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True, bufsize=1)
        self.events = []
        self._lock = threading.Lock()
        threading.Thread(target=self._read, daemon=True).start()
        self.wait("ready")

    def _read(self):
        for line in self.process.stdout:
            with self._lock:
                self.events.append(line.strip())

    def count(self, word):
        with self._lock:
            return sum(1 for event in self.events if event.split(" ")[0] == word)

    def wait(self, word, count=1):
        wait_for(lambda: self.count(word) >= count, timeout=15, what=f"{count} x '{word}' from the sensor")

    def settle(self):
        """Waits until every client of the session bus has gone again; returns how many there were."""
        wait_for(lambda: self.count("session-client") == self.count("session-gone"), timeout=15,
                 what="the session bus without clients")
        return self.count("session-client")

    def turn(self, orientation):
        self.process.stdin.write(f"orientation {orientation}\n")
        self.process.stdin.flush()

    def close(self):
        self.process.stdin.close()
        self.process.wait(timeout=10)


class SensorRotationTest(DisplayTestCase):
    window_manager = False
    nested_screen = (800, 600)
    quillet = "real"

    def setUp(self):
        self.buses = []
        for name in ("system", "session"):
            bus = PrivateBus.open_in(self.app.folder, name)
            self.addCleanup(bus.stop)
            self.buses.append(bus.address)
        self.sensor = SensorStandIn(*self.buses)
        self.addCleanup(self.sensor.close)
        self.config = self.app.folder / "config"
        self.process = subprocess.Popen(
            [str(self.app.exe)], cwd=self.app.folder, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            env=self.display.env({"DBUS_SYSTEM_BUS_ADDRESS": self.buses[0],
                                  "DBUS_SESSION_BUS_ADDRESS": self.buses[1],
                                  "XDG_CONFIG_HOME": str(self.config), "XDG_CURRENT_DESKTOP": "",
                                  "LANGUAGE": "", "LC_ALL": "", "LC_MESSAGES": "", "LANG": "en_US.UTF-8"}))
        self.addCleanup(self.stop, self.process)
        self.window = wait_for(lambda: (self.display.find(PANEL_TITLE) or [None])[0], timeout=15,
                               what="the panel window to show")

    @staticmethod
    def stop(process):
        if process.poll() is None:
            process.terminate()
        process.wait(timeout=10)

    def click(self, x, y):
        """A click at a point of the panel."""
        left, top, _, _ = self.display.geometry(self.window)
        self.display.click(left + x, top + y)

    def setting(self):
        path = self.config / "zentara" / "rotation.conf"
        return path.read_text() if path.exists() else ""

    def test_the_screen_follows_the_device_until_automatic_rotation_is_switched_off(self):
        self.sensor.wait("claimed")
        asked = self.sensor.settle()
        self.click(320, 100)  # the collapsed handle opens the panel, which asks for the setting
        self.sensor.wait("session-client", asked + 1)
        self.sensor.turn("left-up")
        wait_for(lambda: self.display.rotation() == ((600, 800), "left"), timeout=10, what="the screen left")
        # The panel comes to the turned screen's edge by itself; the pointer stays where it clicked.
        wait_for(lambda: self.display.geometry(self.window) == (600 - 341, 20, 600, 133), timeout=5,
                 what="the panel at the turned screen's edge")
        self.click(238, 56)  # the unlock button: automatic rotation off
        wait_for(lambda: "Automatic=false" in self.setting(), timeout=10, what="automatic rotation off")
        # Each reading that holds asks the library, which asks the session bus once. The second is
        # handled only after the first, so once it has asked, the first has done all it would.
        asked = self.sensor.settle()
        for count, orientation in enumerate(("right-up", "bottom-up"), asked + 1):
            self.sensor.turn(orientation)
            self.sensor.wait("session-client", count)
            self.sensor.settle()
        self.assertEqual(self.display.rotation(), ((600, 800), "left"))

        self.click(292, 56)  # the close button
        self.assertEqual(self.process.wait(timeout=10), 0)
        self.sensor.wait("released")


if __name__ == "__main__":
    unittest.main()
