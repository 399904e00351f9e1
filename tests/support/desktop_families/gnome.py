"""The GNOME family as Mutter: started headless with virtual monitors on its own session bus, its outputs
read back through its display configuration (GetCurrentState) and turned through it
(ApplyMonitorsConfig), and the lock in the GSettings key Mutter reads, kept by dconf on that bus.
Standard library only (the state is read by Debian's Python with its GObject bindings)."""
import json
import re
import subprocess

from desktop_families.headless import HeadlessSession
from private_bus import SYSTEM_PYTHON

TOOLS = ("mutter", "dbus-daemon", "gdbus", "gsettings", SYSTEM_PYTHON)
LOCK_KEY = ("org.gnome.settings-daemon.peripherals.touchscreen", "orientation-lock")
_SERVICE = ["-d", "org.gnome.Mutter.DisplayConfig", "-o", "/org/gnome/Mutter/DisplayConfig"]
_READ_STATE = """
import json
from gi.repository import Gio
bus = Gio.bus_get_sync(Gio.BusType.SESSION)
reply = bus.call_sync('org.gnome.Mutter.DisplayConfig', '/org/gnome/Mutter/DisplayConfig',
                      'org.gnome.Mutter.DisplayConfig', 'GetCurrentState', None, None, 0, 5000, None)
print(json.dumps(reply.unpack()))
"""
_PHYSICAL_LAYOUT = 2  # layout-mode: a logical monitor's size is its mode's, in pixels


class Session(HeadlessSession):
    """Mutter headless with one virtual monitor per size ("WxH"); XAUTHORITY in `env` holds its XWayland's
    cookie."""
    name = "mutter"

    def __init__(self, outputs=("1280x800",)):
        self.outputs = outputs
        super().__init__()

    def _launch(self):
        self._start_bus()
        monitors = [option for size in self.outputs for option in ("--virtual-monitor", size)]
        self._start(["mutter", "--headless", "--wayland", *monitors], self.env)
        self._wait_for_socket()
        display = self._wait_for(lambda: re.search(r"Using public X11 display (:\d+)", self.log()),
                                 "Mutter's XWayland")
        self.env["DISPLAY"] = display.group(1)
        self.env["XAUTHORITY"] = self._wait_for(lambda: self._runtime_file(".mutter-Xwaylandauth"),
                                                "Mutter's XWayland cookie")


def current_state(env):
    """GetCurrentState as (serial, monitors, logical monitors, properties) in JSON's terms."""
    result = subprocess.run([SYSTEM_PYTHON, "-c", _READ_STATE], env=env, capture_output=True, text=True,
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


def outputs(env):
    """Every logical monitor's connector -> (x, y, width, height as laid out, transform), in physical pixels."""
    _, monitors, logical_monitors, properties = current_state(env)
    if properties.get("layout-mode") != _PHYSICAL_LAYOUT:
        raise AssertionError(f"Mutter lays out in logical pixels: {properties}")
    modes = current_modes(monitors)
    places = {}
    for x, y, _, transform, _, members, _ in logical_monitors:
        _, width, height = modes[members[0][0]]
        if transform % 2:
            width, height = height, width
        places[members[0][0]] = (x, y, width, height, transform)
    return places


def apply_monitors(env, serial, monitors):
    """ApplyMonitorsConfig, temporary, of `monitors`: (x, y, transform, primary, connector, mode id) each."""
    logical = ", ".join(f"({x}, {y}, 1.0, uint32 {transform}, {str(primary).lower()}, "
                        f"[('{connector}', '{mode}', @a{{sv}} {{}})])"
                        for x, y, transform, primary, connector, mode in monitors)
    subprocess.run(["gdbus", "call", "--session", *_SERVICE, "-m",
                    "org.gnome.Mutter.DisplayConfig.ApplyMonitorsConfig", str(serial), "1", f"[{logical}]",
                    "@a{sv} {}"], env=env, capture_output=True, check=True, timeout=30)


def turn(env, quarters):
    """Turns the session's one monitor `quarters` quarter turns to the left of upright (0-3), keeping its mode."""
    serial, monitors, _, _ = current_state(env)
    ((connector, (mode, _, _)),) = current_modes(monitors).items()
    apply_monitors(env, serial, [(0, 0, quarters, True, connector, mode)])


def gsettings(env, command, *value):
    """`gsettings COMMAND` of the lock's key on the session's bus; what it prints."""
    result = subprocess.run(["gsettings", command, *LOCK_KEY, *value], env=env, capture_output=True, text=True,
                            timeout=30, check=True)
    return result.stdout.strip()


def automatic_rotation_on(env):
    """Unlocks the orientation in GNOME's key; the program's environment needs nothing more."""
    gsettings(env, "set", "false")
    return {}
