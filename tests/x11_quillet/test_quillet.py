"""libquillet.so on real X servers, through a driver that loads it as the program does.

Each test class starts the servers it needs on free displays (-displayfd) and stops them by
process id. CTest gives the library and the driver through QUILLET_LIBRARY and QUILLET_DRIVER.
Standard library only.
"""
import os
import socket
import stat
import subprocess
import tempfile
import unittest
from pathlib import Path

from private_bus import PrivateBus, start_stand_in, stop_process
from quillet_driving import LIBRARY, drive
from xrandr_report import screen_report
from xservers import PrivateDisplay

ROTATION_NAMES = {1: "normal", 2: "left", 3: "inverted", 4: "right"}
CINNAMON_SCHEMA = """<schemalist>
  <schema id="org.cinnamon.settings-daemon.peripherals.touchscreen"
          path="/org/cinnamon/settings-daemon/peripherals/touchscreen/">
    <key name="orientation-lock" type="b"><default>false</default></key>
  </schema>
</schemalist>"""


def desktop_env(home, **extra):
    """A session of its own: settings in HOME through GSettings' keyfile backend (the default backend
    without a D-Bus session would drop the writes without a word), no bus and no desktop unless given."""
    env = {k: v for k, v in os.environ.items()
           if k not in ("DBUS_SESSION_BUS_ADDRESS", "XDG_CURRENT_DESKTOP", "WAYLAND_DISPLAY")}
    env.update(GSETTINGS_BACKEND="keyfile", XDG_CONFIG_HOME=home, XDG_RUNTIME_DIR=home)
    env.update(extra)
    return env


def own_setting(home):
    """The files of Zentara's own folder and the text of its setting; None without the folder."""
    folder = Path(home) / "zentara"
    if not folder.exists():
        return None
    setting = folder / "rotation.conf"
    return sorted(p.name for p in folder.iterdir()), setting.read_text() if setting.exists() else None


class StandInBus(PrivateBus):
    """A session bus the test starts, with stand-in desktop services on it; stopped by process id."""

    def __init__(self):
        super().__init__()
        self.services = []

    def serve(self, name, mode="answers"):
        service = start_stand_in(name, dict(os.environ, DBUS_SESSION_BUS_ADDRESS=self.address), mode)
        self.services.append(service)
        return service

    def stop(self):
        for service in self.services:
            stop_process(service)
            service.stdout.close()
        super().stop()


def display_env(display):
    return dict(os.environ, DISPLAY=display)


def screen_of(display):
    """The screen size and the rotation of each connected output, as xrandr reports them."""
    query = subprocess.run(["xrandr", "--query"], env=display_env(display), capture_output=True, text=True,
                           timeout=30, check=True).stdout
    return screen_report(query)


class Exports(unittest.TestCase):
    def test_exactly_the_four_functions_are_exported(self):
        symbols = subprocess.run(["nm", "-D", "--defined-only", LIBRARY], capture_output=True, text=True,
                                 check=True).stdout
        names = sorted(line.split()[-1] for line in symbols.splitlines() if line.strip())
        self.assertEqual(names, ["RT_GetAngle", "RT_GetAutoRotationOn", "RT_SetAngle", "RT_SetAutoRotation"])

    def test_without_a_display_nothing_is_read_or_turned(self):
        env = {k: v for k, v in os.environ.items() if k != "DISPLAY"}
        self.assertEqual(drive("get-angle", "set-angle=2", env=env), [-1, 0])
        self.assertEqual(drive("get-angle", "set-angle=2", env=dict(env, DISPLAY=":65000")), [-1, 0])


class RefusedOnXvfb(unittest.TestCase):
    """Xvfb's one output cannot turn: the library says so and leaves the screen alone."""

    @classmethod
    def setUpClass(cls):
        cls.server = PrivateDisplay("1024x768")

    @classmethod
    def tearDownClass(cls):
        cls.server.stop()

    def test_a_refused_turn_returns_0_and_changes_nothing(self):
        env = display_env(self.server.display)
        before = screen_of(self.server.display)
        self.assertEqual(before, ((1024, 768), ["normal"]))
        for code in (2, 3, 4):
            self.assertEqual(drive("get-angle", f"set-angle={code}", "get-angle", env=env), [1, 0, 1])
            self.assertEqual(screen_of(self.server.display), before)
        # Turning to where it already is changes nothing and succeeds.
        self.assertEqual(drive("set-angle=1", env=env), [1])
        self.assertIsNone(self.server.process.poll(), self.server.log())

    def test_a_compositor_that_never_answers_is_given_up_on_and_the_turn_refused(self):
        with tempfile.TemporaryDirectory(prefix="quillet-silent-") as runtime, \
                socket.socket(socket.AF_UNIX, socket.SOCK_STREAM) as silent:
            # Connections wait in the backlog: taken by the system, never read nor answered.
            silent.bind(str(Path(runtime) / "wayland-silent"))
            silent.listen(8)
            env = dict(display_env(self.server.display), XDG_RUNTIME_DIR=runtime, WAYLAND_DISPLAY="wayland-silent",
                       DBUS_SESSION_BUS_ADDRESS=f"unix:path={runtime}/no-bus")
            # Each call gives up on the compositor after its own two seconds; an outer limit far beyond them
            # ends a wait that a wrong unit would stretch to half an hour. The angle is still read from X.
            self.assertEqual(drive("set-angle=2", "get-angle", env=env, timeout=40), [0, 1])
        self.assertEqual(screen_of(self.server.display), ((1024, 768), ["normal"]))


class TurnsOnXephyr(unittest.TestCase):
    """Xephyr turns its screen for real. It runs inside a private 1920 x 1080 Xvfb, big enough for its
    800 x 600 screen both ways; both servers need -noreset, as Xephyr crashes on a turn after a reset."""

    @classmethod
    def setUpClass(cls):
        cls.server = PrivateDisplay(nested="800x600")
        cls.env = display_env(cls.server.display)

    @classmethod
    def tearDownClass(cls):
        cls.server.stop()

    def tearDown(self):
        drive("set-angle=1", env=self.env)

    def test_each_code_gives_the_rotation_xrandr_then_reports(self):
        for code in (2, 3, 4, 1, 3, 2):
            times = []
            self.assertEqual(drive(f"set-angle={code}", "get-angle", env=self.env, times=times), [1, code])
            # The screen is given its pause to settle before the turn is reported done.
            self.assertGreaterEqual(times[0], 250.0, f"code {code}")
            size = (800, 600) if code in (1, 3) else (600, 800)
            self.assertEqual(screen_of(self.server.display), (size, [ROTATION_NAMES[code]]), f"code {code}")
        self.assertIsNone(self.server.process.poll(), self.server.log())

    def test_four_left_turns_come_back_to_normal(self):
        seen = []
        for _ in range(4):
            (code,) = drive("get-angle", env=self.env)
            # As the program turns left: the next code, 4 back to 1.
            self.assertEqual(drive(f"set-angle={code % 4 + 1}", env=self.env), [1])
            seen.append(screen_of(self.server.display)[1][0])
        self.assertEqual(seen, ["left", "inverted", "right", "normal"])
        self.assertEqual(screen_of(self.server.display), ((800, 600), ["normal"]))

    def test_under_a_wayland_session_nothing_is_turned_and_the_angle_still_reads(self):
        env = dict(self.env, WAYLAND_DISPLAY="wayland-0")
        for code in (3, 2, 4):
            self.assertEqual(drive(f"set-angle={code}", "get-angle", env=env), [0, 1], f"code {code}")
            self.assertEqual(screen_of(self.server.display), ((800, 600), ["normal"]), f"code {code}")
        drive("set-angle=2", env=self.env)
        self.assertEqual(drive("set-angle=1", "get-angle", env=env), [0, 2])


class OrientationLock(unittest.TestCase):
    """The lock of the desktop the session names, in its settings daemon's key."""

    def setUp(self):
        self.home = tempfile.TemporaryDirectory(prefix="quillet-gsettings-")
        self.keyfile = Path(self.home.name) / "glib-2.0" / "settings" / "keyfile"

    def tearDown(self):
        self.home.cleanup()

    def test_switching_writes_the_lock_and_later_calls_read_it(self):
        env = desktop_env(self.home.name, XDG_CURRENT_DESKTOP="GNOME")
        self.assertEqual(drive("get-auto", env=env), [1])  # unlocked by default
        self.assertEqual(drive("set-auto=0", env=env), [1])
        self.assertIn("orientation-lock=true", self.keyfile.read_text())
        self.assertEqual(drive("get-auto", "set-auto=0", "get-auto", env=env), [0, 1, 0])
        self.assertEqual(drive("set-auto=1", env=env), [1])
        self.assertIn("orientation-lock=false", self.keyfile.read_text())
        self.assertEqual(drive("get-auto", env=env), [1])
        self.assertIsNone(own_setting(self.home.name))

    def test_cinnamon_has_its_own_key(self):
        schemas = Path(self.home.name) / "schemas"
        schemas.mkdir()
        (schemas / "org.cinnamon.settings-daemon.peripherals.touchscreen.gschema.xml").write_text(CINNAMON_SCHEMA)
        subprocess.run(["glib-compile-schemas", str(schemas)], check=True, timeout=30)
        env = desktop_env(self.home.name, XDG_CURRENT_DESKTOP="X-Cinnamon", GSETTINGS_SCHEMA_DIR=str(schemas))
        self.assertEqual(drive("get-auto", "set-auto=0", "get-auto", env=env), [1, 1, 0])
        self.assertEqual(self.keyfile.read_text().split(),
                         ["[org/cinnamon/settings-daemon/peripherals/touchscreen]", "orientation-lock=true"])

    def test_without_the_desktops_schema_its_own_setting_is_used(self):
        empty = Path(self.home.name) / "no-schemas"
        empty.mkdir()
        env = desktop_env(self.home.name, XDG_CURRENT_DESKTOP="GNOME", GSETTINGS_SCHEMA_DIR=str(empty),
                          XDG_DATA_DIRS=str(empty))
        self.assertEqual(drive("get-auto", "set-auto=0", "get-auto", env=env), [1, 1, 0])
        self.assertEqual(own_setting(self.home.name), (["rotation.conf"], "[Rotation]\nAutomatic=false\n"))


class OwnSetting(unittest.TestCase):
    """Desktops without a lock (Xfce, MATE, LXQt, i3 ...) get Zentara's own setting in its folder."""

    def setUp(self):
        self.home = tempfile.TemporaryDirectory(prefix="quillet-own-")
        self.env = desktop_env(self.home.name, XDG_CURRENT_DESKTOP="XFCE")
        self.folder = Path(self.home.name) / "zentara"

    def tearDown(self):
        self.home.cleanup()

    def test_no_file_reads_on_and_each_switch_is_kept_for_later_calls(self):
        self.assertEqual(drive("get-auto", "set-auto=1", env=self.env), [1, 1])
        self.assertIsNone(own_setting(self.home.name))  # nothing to write yet
        self.assertEqual(drive("set-auto=0", env=self.env), [1])
        self.assertEqual(stat.S_IMODE(self.folder.stat().st_mode), 0o700)
        # Written whole under its own name: no temporary file is left beside it.
        self.assertEqual(own_setting(self.home.name), (["rotation.conf"], "[Rotation]\nAutomatic=false\n"))
        self.assertEqual(drive("get-auto", env=self.env), [0])
        self.assertEqual(drive("set-auto=1", "get-auto", env=self.env), [1, 1])
        self.assertEqual(own_setting(self.home.name), (["rotation.conf"], "[Rotation]\nAutomatic=true\n"))

    def test_a_damaged_file_reads_on_and_the_next_switch_replaces_it(self):
        self.folder.mkdir(mode=0o700)
        for damage in ("\x00[[not a key file", "[Rotation]\nAutomatic=maybe\n", "[Elsewhere]\nAutomatic=false\n"):
            (self.folder / "rotation.conf").write_text(damage)
            self.assertEqual(drive("get-auto", env=self.env), [1], damage)
            self.assertEqual(drive("set-auto=1", env=self.env), [1], damage)
            self.assertEqual(own_setting(self.home.name), (["rotation.conf"], "[Rotation]\nAutomatic=true\n"))


class DesktopServices(unittest.TestCase):
    """Services on the session bus choose the lock, whatever the desktop is named."""

    def setUp(self):
        self.home = tempfile.TemporaryDirectory(prefix="quillet-bus-")
        self.bus = StandInBus()
        self.env = desktop_env(self.home.name, DBUS_SESSION_BUS_ADDRESS=self.bus.address)

    def tearDown(self):
        self.bus.stop()
        self.home.cleanup()

    def test_plasmas_screen_module_switches_automatic_rotation(self):
        self.bus.serve("org.kde.KScreen")
        self.assertEqual(drive("get-auto", "set-auto=0", "get-auto", env=self.env), [1, 1, 0])
        self.assertEqual(drive("get-auto", "set-auto=1", "get-auto", env=self.env), [0, 1, 1])
        self.assertIsNone(own_setting(self.home.name))

    def test_a_screen_module_that_never_answers_or_cannot_rotate_has_no_lock(self):
        self.bus.serve("org.kde.KScreen", "silent")
        # Each call gives up on its own after a second; D-Bus' default wait (25 s a call) would not end here.
        self.assertEqual(drive("get-auto", "set-auto=0", "set-auto=1", env=self.env, timeout=20), [0, 0, 0])
        other = StandInBus()
        try:
            other.serve("org.kde.KScreen", "unavailable")
            env = dict(self.env, DBUS_SESSION_BUS_ADDRESS=other.address)
            self.assertEqual(drive("get-auto", "set-auto=0", "set-auto=1", env=env), [0, 0, 0])
        finally:
            other.stop()
        self.assertIsNone(own_setting(self.home.name))

    def test_gnome_reads_a_stale_setup_again_and_sends_once_more_but_a_refusal_only_once(self):
        server = PrivateDisplay()
        try:
            env = dict(self.env, DISPLAY=server.display, WAYLAND_DISPLAY="wayland-0")
            for mode, result, sent in (("stale-once", [1], ["stale 1", "applied 2"]), ("refuses", [0], ["refused 1"])):
                bus = StandInBus()
                try:
                    service = bus.serve("org.gnome.Mutter.DisplayConfig", mode)
                    self.assertEqual(drive("set-angle=2", env=dict(env, DBUS_SESSION_BUS_ADDRESS=bus.address)),
                                     result, mode)
                    service.terminate()
                    service.wait(timeout=10)
                    self.assertEqual(service.stdout.read().split("\n")[:-1], sent, mode)
                finally:
                    bus.stop()
        finally:
            server.stop()

    def test_gnomes_display_service_chooses_gnomes_key_for_an_unnamed_desktop(self):
        self.bus.serve("org.gnome.Mutter.DisplayConfig")
        self.assertEqual(drive("get-auto", "set-auto=0", "get-auto", env=self.env), [1, 1, 0])
        keyfile = Path(self.home.name) / "glib-2.0" / "settings" / "keyfile"
        self.assertIn("orientation-lock=true", keyfile.read_text())
        self.assertIsNone(own_setting(self.home.name))


if __name__ == "__main__":
    unittest.main()
