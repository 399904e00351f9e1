"""libquillet.so on GNOME's Mutter, started headless with the tablet's screen and a monitor right of
it: turns through Mutter's display configuration, read back through GetCurrentState, and the lock in
the GNOME key Mutter reads, kept by dconf on the session's bus."""
import json
import subprocess
import unittest
from pathlib import Path

from quillet_driving import drive
from wayland_turns import MONITOR_SIZE, TABLET_SIZE, WaylandTurns
from wayland_sessions import MutterSession, available

SYSTEM_PYTHON = "/usr/bin/python3"  # the one Debian's GObject bindings (python3-gi) belong to
SERVICE = ["-d", "org.gnome.Mutter.DisplayConfig", "-o", "/org/gnome/Mutter/DisplayConfig"]
LOCK_KEY = ["org.gnome.settings-daemon.peripherals.touchscreen", "orientation-lock"]
READ_STATE = """
import json
from gi.repository import Gio
bus = Gio.bus_get_sync(Gio.BusType.SESSION)
reply = bus.call_sync('org.gnome.Mutter.DisplayConfig', '/org/gnome/Mutter/DisplayConfig',
                      'org.gnome.Mutter.DisplayConfig', 'GetCurrentState', None, None, 0, 5000, None)
print(json.dumps(reply.unpack()))
"""
MISSING = available("mutter", "dbus-daemon", "gdbus", "gsettings", SYSTEM_PYTHON)


def current_state(env):
    """GetCurrentState as (serial, monitors, logical monitors, properties) in JSON's terms."""
    result = subprocess.run([SYSTEM_PYTHON, "-c", READ_STATE], env=env, capture_output=True, text=True,
                            timeout=30, check=True)
    return json.loads(result.stdout)


def current_modes(monitors):
    """Each monitor's connector -> (its current mode's id, width, height)."""
    modes = {}
    for (connector, *_), monitor_modes, _ in monitors:
        for mode_id, width, height, _, _, _, properties in monitor_modes:
            if properties.get("is-current"):
                modes[connector] = (mode_id, width, height)
    return modes


@unittest.skipIf(MISSING, MISSING)
class MutterTurns(WaylandTurns, unittest.TestCase):
    """Mutter's virtual monitors are none of them built in: the primary one is the tablet's."""

    @classmethod
    def start(cls):
        return MutterSession(outputs=[TABLET_SIZE, MONITOR_SIZE])

    @classmethod
    def prepare(cls):
        """Mutter makes the larger monitor primary and puts it left; make the tablet's screen primary at
        0,0 with the monitor right of it, as a tablet with a monitor plugged in has them."""
        serial, monitors, _, _ = current_state(cls.desktop.env)
        modes = current_modes(monitors)
        cls.tablet = next(name for name, (_, width, height) in modes.items() if f"{width}x{height}" == TABLET_SIZE)
        monitor = next(name for name in modes if name != cls.tablet)
        tablet_width = modes[cls.tablet][1]
        logical = (f"[(0, 0, 1.0, uint32 0, true, [('{cls.tablet}', '{modes[cls.tablet][0]}', @a{{sv}} {{}})]),"
                   f" ({tablet_width}, 0, 1.0, uint32 0, false, [('{monitor}', '{modes[monitor][0]}', @a{{sv}} {{}})])]")
        subprocess.run(["gdbus", "call", "--session", *SERVICE, "-m",
                        "org.gnome.Mutter.DisplayConfig.ApplyMonitorsConfig", str(serial), "1", logical, "@a{sv} {}"],
                       env=cls.desktop.env, capture_output=True, check=True, timeout=30)

    def outputs(self):
        _, monitors, logical_monitors, properties = current_state(self.desktop.env)
        self.assertEqual(properties.get("layout-mode"), 2, "physical pixels: a monitor's size is its mode's")
        modes = current_modes(monitors)
        places = {}
        for x, y, _, transform, _, members, _ in logical_monitors:
            _, width, height = modes[members[0][0]]
            if transform % 2:
                width, height = height, width
            places[members[0][0]] = (x, y, width, height, transform)
        return places

    def gsettings(self, command, *value):
        result = subprocess.run(["gsettings", command, *LOCK_KEY, *value], env=self.desktop.env, capture_output=True,
                                text=True, timeout=30, check=True)
        return result.stdout.strip()

    def test_the_lock_is_the_gnome_key_that_mutter_reads(self):
        self.assertEqual(self.gsettings("get"), "false")
        self.assertEqual(drive("get-auto", "set-auto=0", "get-auto", env=self.desktop.env), [1, 1, 0])
        self.assertEqual(self.gsettings("get"), "true")
        self.assertTrue((Path(self.desktop.runtime) / ".config" / "dconf" / "user").is_file(), "kept by dconf")
        self.assertEqual(drive("set-auto=1", env=self.desktop.env), [1])
        self.assertEqual(self.gsettings("get"), "false")
        # Switched by GNOME's own settings, read here.
        self.gsettings("set", "true")
        self.assertEqual(drive("get-auto", env=self.desktop.env), [0])
        self.gsettings("reset")


if __name__ == "__main__":
    unittest.main()
