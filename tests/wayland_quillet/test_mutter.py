"""libquillet.so on GNOME's Mutter, started headless with the tablet's screen and a monitor right of
it: turns through Mutter's display configuration, read back through GetCurrentState, and the lock in
the GNOME key Mutter reads, kept by dconf on the session's bus."""
import unittest
from pathlib import Path

from desktop_families import gnome
from desktop_families.headless import available
from quillet_driving import drive
from wayland_turns import MONITOR_SIZE, TABLET_SIZE, WaylandTurns

MISSING = available(*gnome.TOOLS)


@unittest.skipIf(MISSING, MISSING)
class MutterTurns(WaylandTurns, unittest.TestCase):
    """Mutter's virtual monitors are none of them built in: the primary one is the tablet's."""

    @classmethod
    def start(cls):
        return gnome.Session(outputs=[TABLET_SIZE, MONITOR_SIZE])

    @classmethod
    def prepare(cls):
        """Mutter makes the larger monitor primary and puts it left; make the tablet's screen primary at
        0,0 with the monitor right of it, as a tablet with a monitor plugged in has them."""
        serial, monitors, _, _ = gnome.current_state(cls.desktop.env)
        modes = gnome.current_modes(monitors)
        cls.tablet = next(name for name, (_, width, height) in modes.items() if f"{width}x{height}" == TABLET_SIZE)
        monitor = next(name for name in modes if name != cls.tablet)
        gnome.apply_monitors(cls.desktop.env, serial, [(0, 0, 0, True, cls.tablet, modes[cls.tablet][0]),
                                                       (modes[cls.tablet][1], 0, 0, False, monitor, modes[monitor][0])])

    def outputs(self):
        return gnome.outputs(self.desktop.env)

    def gsettings(self, command, *value):
        return gnome.gsettings(self.desktop.env, command, *value)

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
