"""What the scenarios do inside the guest: make the tablet's input devices with uinput, start a desktop
as its user, start the panel, touch and read back.

A desktop started by one scenario class stays up for the next (its process ids are kept in
/run/tablet/desktop.json); a class that needs another desktop stops it first. The panel's own
client points are those of the 100 % panel, as in the other tiers.
"""
import contextlib
import ctypes
import json
import os
import re
import select
import signal
import socket
import struct
import subprocess
import time
import unittest
from pathlib import Path

from evdev import AbsInfo, UInput
from evdev import ecodes as e
# The end-to-end drivers' shared helpers, which the rig puts beside this module.
from panel_pictures import PANEL_SIZE, PANEL_TITLE
from waiting import wait_for as shared_wait_for
from x_readback import XReadback
import xfce_settings

SHARE = Path("/mnt/share")
DIST = SHARE / "dist"
RESULTS = SHARE / "results"
# What the desktops and panels say, in the share, where the host finds it after a failure.
LOGS = RESULTS / "logs"
RUN = Path("/run/tablet")
USER_ID = 1000
HOME = Path("/home/tablet")
RUNTIME = Path(f"/run/user/{USER_ID}")
# The tablet's own panel, as the guest's first virtio-gpu output shows it, and the monitor's connector.
PANEL_OUTPUT, MONITOR_OUTPUT = "Virtual-1", "Virtual-2"
NATIVE = (1280, 800)
COLLAPSED_HANDLE = (320, 100)
EXPANDED_HANDLE = (45, 50)
LOCK, TURN_LEFT, TURN_RIGHT, CLOSE = (238, 56), (126, 56), (182, 56), (292, 56)
PATIENCE = 30  # seconds any wait may take under emulation before it fails
DESKTOP_PATIENCE = 240  # a desktop's start, beside other tests on two emulated cores


def wait_for(predicate, what, timeout=PATIENCE, interval=0.2):
    return shared_wait_for(predicate, timeout, interval, what)


def record(what, seconds):
    """A step's time, told in the scenario's output and kept in the results' timings."""
    line = f"{what} {seconds:.1f} s"
    print(line, flush=True)
    with open(RESULTS / "timings.txt", "a") as timings:
        timings.write(line + "\n")


def run(*args, env=None, check=True, timeout=60):
    result = subprocess.run([str(a) for a in args], env=env, check=False, timeout=timeout,
                            stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    if check and result.returncode != 0:
        raise AssertionError(f"{args[0]} failed ({result.returncode}): {result.stderr.strip()}")
    return result.stdout


# --- input devices ---------------------------------------------------------------------------------

# A built-in I2C touchscreen and its pen (the pen's ids are those of a Wacom ISDv4 sensor that
# libwacom knows as built into a tablet's display), an accelerometer and a USB mouse.
BUS_I2C, BUS_USB = 0x18, 0x03
TOUCH_RANGE = 4095
PEN_RANGE = (30931, 17399)


def settle_udev():
    run("udevadm", "settle", "--timeout=30")


class Touchscreen:
    """A multitouch touchscreen over the whole built-in panel, in the panel's native landscape."""

    def __init__(self, name="ELAN9008:00 04F3:2A49"):
        axis = AbsInfo(0, 0, TOUCH_RANGE, 0, 0, 16)
        capabilities = {
            e.EV_KEY: [e.BTN_TOUCH],
            e.EV_ABS: [(e.ABS_X, axis), (e.ABS_Y, AbsInfo(0, 0, TOUCH_RANGE, 0, 0, 26)),
                       (e.ABS_MT_SLOT, AbsInfo(0, 0, 9, 0, 0, 0)),
                       (e.ABS_MT_TRACKING_ID, AbsInfo(0, 0, 65535, 0, 0, 0)),
                       (e.ABS_MT_POSITION_X, axis), (e.ABS_MT_POSITION_Y, AbsInfo(0, 0, TOUCH_RANGE, 0, 0, 26))],
        }
        self.name = name
        self.device = UInput(capabilities, name=name, vendor=0x04F3, product=0x2A49, bustype=BUS_I2C,
                             input_props=[e.INPUT_PROP_DIRECT])
        self._tracking = 0
        settle_udev()

    @staticmethod
    def units(glass):
        """The device's units at a point of the glass, given in the panel's native pixels."""
        return (round(glass[0] * TOUCH_RANGE / (NATIVE[0] - 1)), round(glass[1] * TOUCH_RANGE / (NATIVE[1] - 1)))

    def _position(self, glass):
        x, y = self.units(glass)
        for code, value in ((e.ABS_MT_POSITION_X, x), (e.ABS_MT_POSITION_Y, y), (e.ABS_X, x), (e.ABS_Y, y)):
            self.device.write(e.EV_ABS, code, value)

    def down(self, glass):
        self._tracking += 1
        self.device.write(e.EV_ABS, e.ABS_MT_SLOT, 0)
        self.device.write(e.EV_ABS, e.ABS_MT_TRACKING_ID, self._tracking)
        self._position(glass)
        self.device.write(e.EV_KEY, e.BTN_TOUCH, 1)
        self.device.syn()

    def move(self, glass):
        self._position(glass)
        self.device.syn()

    def up(self):
        self.device.write(e.EV_ABS, e.ABS_MT_TRACKING_ID, -1)
        self.device.write(e.EV_KEY, e.BTN_TOUCH, 0)
        self.device.syn()

    def tap(self, glass):
        self.down(glass)
        time.sleep(0.05)  # a finger rests a moment; the events must not merge into one frame
        self.up()

    def close(self):
        self.device.close()


class Pen:
    """The display's pen: hovers, touches with pressure, lifts."""

    def __init__(self, name="Wacom HID 016C Pen"):
        capabilities = {
            e.EV_KEY: [e.BTN_TOOL_PEN, e.BTN_TOUCH, e.BTN_STYLUS],
            e.EV_ABS: [(e.ABS_X, AbsInfo(0, 0, PEN_RANGE[0], 0, 0, 119)),
                       (e.ABS_Y, AbsInfo(0, 0, PEN_RANGE[1], 0, 0, 119)),
                       (e.ABS_PRESSURE, AbsInfo(0, 0, 4095, 0, 0, 0))],
        }
        self.name = name
        self.device = UInput(capabilities, name=name, vendor=0x056A, product=0x016C, bustype=BUS_I2C,
                             input_props=[e.INPUT_PROP_DIRECT])
        settle_udev()

    def _position(self, glass):
        self.device.write(e.EV_ABS, e.ABS_X, round(glass[0] * PEN_RANGE[0] / (NATIVE[0] - 1)))
        self.device.write(e.EV_ABS, e.ABS_Y, round(glass[1] * PEN_RANGE[1] / (NATIVE[1] - 1)))

    def hover(self, glass):
        self._position(glass)
        self.device.write(e.EV_KEY, e.BTN_TOOL_PEN, 1)
        self.device.syn()

    def tap(self, glass):
        self.hover(glass)
        time.sleep(0.05)
        self.device.write(e.EV_KEY, e.BTN_TOUCH, 1)
        self.device.write(e.EV_ABS, e.ABS_PRESSURE, 2000)
        self.device.syn()
        time.sleep(0.05)
        self.device.write(e.EV_KEY, e.BTN_TOUCH, 0)
        self.device.write(e.EV_ABS, e.ABS_PRESSURE, 0)
        self.device.syn()

    def away(self):
        self.device.write(e.EV_KEY, e.BTN_TOOL_PEN, 0)
        self.device.syn()

    def close(self):
        self.device.close()


class Accelerometer:
    """The tablet's accelerometer, which iio-sensor-proxy reads; holds a gravity vector."""

    # What the accelerometer reads in each of iio-sensor-proxy's orientations (1 g is 256).
    GRAVITY = {"normal": (0, -256, 0), "bottom-up": (0, 256, 0), "left-up": (256, 0, 0), "right-up": (-256, 0, 0)}

    def __init__(self):
        axis = AbsInfo(0, -512, 512, 0, 0, 256)
        self.device = UInput({e.EV_ABS: [(e.ABS_X, axis), (e.ABS_Y, axis), (e.ABS_Z, axis)]},
                             name="Tablet Accelerometer", bustype=BUS_I2C, vendor=0x0483, product=0x91D1,
                             input_props=[e.INPUT_PROP_ACCELEROMETER])
        settle_udev()

    def hold(self, orientation):
        for code, value in zip((e.ABS_X, e.ABS_Y, e.ABS_Z), self.GRAVITY[orientation]):
            self.device.write(e.EV_ABS, code, value)
        self.device.syn()

    def close(self):
        self.device.close()


class Mouse:
    """A USB mouse plugged into the tablet."""

    def __init__(self):
        self.name = "Logitech USB Optical Mouse"
        self.device = UInput({e.EV_KEY: [e.BTN_LEFT, e.BTN_RIGHT, e.BTN_MIDDLE], e.EV_REL: [e.REL_X, e.REL_Y,
                                                                                          e.REL_WHEEL]},
                             name=self.name, vendor=0x046D, product=0xC077, bustype=BUS_USB)
        settle_udev()

    def move(self, dx, dy):
        self.device.write(e.EV_REL, e.REL_X, dx)
        self.device.write(e.EV_REL, e.REL_Y, dy)
        self.device.syn()

    def close(self):
        self.device.close()


def glass_of(point, rotation, size):
    """Where on the glass (the panel's native pixels) the screen shows its point `point`, the screen
    `size` big and shown turned by `rotation` as xrandr names it. Turned left, the picture's top runs
    down the glass's left edge."""
    x, y = point
    width, height = size
    if rotation == "left":
        return (y, NATIVE[1] - 1 - x)
    if rotation == "right":
        return (NATIVE[0] - 1 - y, x)
    if rotation == "inverted":
        return (width - 1 - x, height - 1 - y)
    return (x, y)


# --- the desktop -----------------------------------------------------------------------------------

def user_env(extra=None):
    env = {"HOME": str(HOME), "USER": "tablet", "LOGNAME": "tablet", "PATH": "/usr/local/bin:/usr/bin:/bin",
           "XDG_RUNTIME_DIR": str(RUNTIME), "LANG": "C.UTF-8", "SHELL": "/bin/sh"}
    env.update(extra or {})
    return env


def as_user(command, env, log=None):
    """Starts a process as the tablet's user, in a session of its own; returns it."""
    return subprocess.Popen([str(c) for c in command], env=env, user=USER_ID, group=USER_ID,
                            extra_groups=["video", "input", "render"], cwd=HOME, start_new_session=True,
                            stdin=subprocess.DEVNULL, stdout=log or subprocess.DEVNULL,
                            stderr=subprocess.STDOUT if log else subprocess.DEVNULL)


def alive(pid):
    try:
        os.kill(pid, 0)
    except ProcessLookupError:
        return False
    with contextlib.suppress(FileNotFoundError, ProcessLookupError):
        return Path(f"/proc/{pid}/stat").read_text().split(")")[-1].split()[0] != "Z"
    return False


def stop(pid, what):
    """Ends a process this rig started, with the session of its own it leads, and waits for it."""
    if not alive(pid):
        return
    with contextlib.suppress(ProcessLookupError):
        os.killpg(pid, signal.SIGTERM)
    try:
        wait_for(lambda: not alive(pid), what, timeout=20)
    except AssertionError:
        os.killpg(pid, signal.SIGKILL)
        wait_for(lambda: not alive(pid), what, timeout=20)


class Desktop:
    """The running desktop: its kind, the X display the panel uses and the session's environment."""

    state_file = RUN / "desktop.json"

    def __init__(self, kind, pids, env):
        self.kind, self.pids, self.env = kind, pids, env

    @classmethod
    def running(cls):
        with contextlib.suppress(FileNotFoundError, ValueError):
            state = json.loads(cls.state_file.read_text())
            kind = SwayDesktop if state["kind"] == "sway" else Desktop
            desktop = kind(state["kind"], state["pids"], state["env"])
            if all(alive(pid) for pid in state["pids"]):
                return desktop
            desktop.stop()
        return None

    def save(self):
        RUN.mkdir(exist_ok=True)
        self.state_file.write_text(json.dumps({"kind": self.kind, "pids": self.pids, "env": self.env}))

    def stop(self):
        self.disconnect()
        for pid in reversed(self.pids):
            stop(pid, f"the {self.kind} desktop's process {pid} to end")
        self.state_file.unlink(missing_ok=True)

    # --- reading X ----------------------------------------------------------------------------

    @property
    def xserver(self):
        """The scenario's own connection to the desktop's X display, made at the first read."""
        if getattr(self, "_xserver", None) is None:
            self._xserver = XReadback(self.env["DISPLAY"])
        return self._xserver

    def disconnect(self):
        if getattr(self, "_xserver", None) is not None:
            self._xserver.close()
            self._xserver = None

    def x(self, *args, check=True):
        return run(*args, env=self.env, check=check)

    def screen(self, probe=False):
        """The screen's size, and each output's (connected, rotation, geometry or None)."""
        return self.xserver.screen(probe)

    def panel_output(self):
        return self.screen()[1][PANEL_OUTPUT]

    def upright(self):
        """The tablet's panel alone and upright, as every scenario starts."""
        with contextlib.suppress(FileNotFoundError):
            Path(f"/sys/class/drm/card0-{MONITOR_OUTPUT}/status").write_text("detect")
        self.x("xrandr", "--output", MONITOR_OUTPUT, "--off", check=False)
        self.x("xrandr", "--output", PANEL_OUTPUT, "--auto", "--rotate", "normal", "--pos", "0x0")
        wait_for(lambda: self.screen()[0] == NATIVE, "the screen upright")

    def panel_windows(self):
        return self.xserver.visible_windows_named(PANEL_TITLE)

    def rect(self, window=None):
        """The window's (left, top, right, bottom); without a window, the panel's wherever it shows now."""
        if window is not None:
            return self.xserver.root_rect(window)
        return wait_for(lambda: next(filter(None, map(self.xserver.root_rect, self.panel_windows())), None),
                        "the panel window to show")

    def panel_window(self):
        return wait_for(lambda: (self.panel_windows() or [None])[0], "the panel window to show")

    def pointer(self):
        return self.xserver.pointer()

    def input_names(self):
        return [name for _, name in self.xserver.input_devices()]

    def has_input(self, name):
        return self.input_id(name) is not None

    def input_id(self, name):
        """The X id of the newest input device of that name; None while X has none."""
        found = [device for device, each in self.xserver.input_devices() if each == name]
        return found[-1] if found else None

    def matrix(self, name):
        """The device's Coordinate Transformation Matrix, rounded; None while X has no such device."""
        device = self.input_id(name)
        values = None if device is None else self.xserver.float_property(device, "Coordinate Transformation Matrix",
                                                                         9)
        return tuple(round(v, 3) for v in values) if values else None

    def panel_alpha(self, window, area):
        """The share of the window's pixels in `area` (x, y, w, h) that are mostly opaque."""
        return self.xserver.opaque_share(window, area)


def start_xorg():
    """Xorg on the first virtual terminal, with its own configuration found through udev; returned once it
    takes clients (it writes its display's number then)."""
    log = open(LOGS / "xorg.log", "w")
    ready, told = os.pipe()
    server = subprocess.Popen(["Xorg", ":0", "vt1", "-nolisten", "tcp", "-noreset", "-ac", "-displayfd", str(told)],
                              stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT,
                              start_new_session=True, pass_fds=(told,))
    os.close(told)
    with os.fdopen(ready) as display:
        answered = select.select([display], [], [], DESKTOP_PATIENCE)[0] and display.readline().strip()
    assert answered == "0", f"Xorg did not take clients: {(LOGS / 'xorg.log').read_text()[-2000:]}"
    return server


def prepare_user():
    LOGS.mkdir(exist_ok=True)
    RUNTIME.mkdir(parents=True, exist_ok=True)
    os.chown(RUNTIME, USER_ID, USER_ID)
    os.chmod(RUNTIME, 0o700)
    # The program as the package installs it: /usr/bin/zentara, its folder beside its artwork.
    Path("/usr/bin/zentara").unlink(missing_ok=True)
    Path("/usr/bin/zentara").symlink_to(DIST / "zentara")
    autostart = Path("/etc/xdg/autostart/zentara.desktop")
    autostart.parent.mkdir(parents=True, exist_ok=True)
    autostart.write_text((SHARE / "guest" / "zentara-autostart.desktop").read_text())


def start_xfce():
    """Xorg and an Xfce session of the tablet's user, which starts what /etc/xdg/autostart names."""
    RUN.mkdir(exist_ok=True)
    prepare_user()
    settings = HOME / ".config" / "xfce4" / "xfconf" / "xfce-perchannel-xml"
    settings.mkdir(parents=True, exist_ok=True)
    for channel, properties in xfce_settings.channels().items():
        (settings / f"{channel}.xml").write_text('<?xml version="1.0" encoding="UTF-8"?>\n'
                                                 f'<channel name="{channel}" version="1.0">\n  {properties}\n'
                                                 '</channel>\n')
    run("chown", "-R", "tablet:tablet", HOME / ".config")
    starts = ProgramStarts(DIST / "zentara")
    started = time.monotonic()
    server = start_xorg()
    record("xfce: Xorg takes clients after", time.monotonic() - started)
    env_file = RUNTIME / "session.env"
    env_file.unlink(missing_ok=True)
    session = as_user(["dbus-run-session", "--", "sh", "-c", f"env > {env_file}; exec xfce4-session"],
                      user_env({"DISPLAY": ":0", "XDG_CURRENT_DESKTOP": "XFCE", "XDG_SESSION_TYPE": "x11"}),
                      log=open(LOGS / "xfce.log", "w"))
    wait_for(lambda: (env_file.exists() and "DBUS_SESSION_BUS_ADDRESS" in env_file.read_text())
             or session.poll() is not None, "the session bus", timeout=DESKTOP_PATIENCE)
    assert session.poll() is None, "the Xfce session ended: " + (LOGS / "xfce.log").read_text()[-1500:]
    env = dict(line.split("=", 1) for line in env_file.read_text().splitlines() if "=" in line)
    desktop = Desktop("xfce", [server.pid, session.pid], env)
    desktop.save()
    wait_for(desktop.xserver.supporting_window_manager, "xfwm4 to manage the screen", timeout=DESKTOP_PATIENCE)
    record("xfce: xfwm4 manages the screen after", time.monotonic() - started)
    # The session is up once its manager has started everything, the autostart entries among them, and
    # the panel's entry has run and ended (with no touchscreen made yet, it finds no job).
    wait_for(lambda: session_state(env) == XFSM_IDLE, "the session manager done starting", timeout=DESKTOP_PATIENCE)
    with contextlib.closing(starts):
        wait_for(lambda: starts.seen() and not programs_running("zentara"),
                 "the session's start of zentara --autostart to run and end", timeout=DESKTOP_PATIENCE)
    record("xfce: session started, its autostart ended after", time.monotonic() - started)
    return desktop


XFSM_IDLE = 1  # xfce4-session's state once its start is over


def session_state(env):
    """xfce4-session's state, asked on the session bus as the session's user; None before it answers."""
    result = subprocess.run(["gdbus", "call", "--session", "--dest", "org.xfce.SessionManager", "--object-path",
                             "/org/xfce/SessionManager", "--method", "org.xfce.Session.Manager.GetState"],
                            env=env, user=USER_ID, group=USER_ID, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                            text=True, timeout=60, check=False)
    found = re.search(r"uint32 (\d+)", result.stdout)
    return int(found.group(1)) if found else None


class ProgramStarts:
    """Whether a program of the share has been started since this was made: fanotify tells each file
    opened to run on the share's mount (a watch on the file's inode would not do on 9p, which makes a new
    inode at each look-up)."""

    FAN_CLASS_NOTIF, FAN_CLOEXEC, FAN_NONBLOCK = 0, 1, 2
    FAN_MARK_ADD, FAN_MARK_MOUNT, FAN_OPEN_EXEC, AT_FDCWD = 1, 0x10, 0x1000, -100
    EVENT = struct.Struct("=IBBHQii")  # length, version, reserved, header length, mask, fd, pid

    def __init__(self, path):
        self.path = str(path)
        libc = ctypes.CDLL(None, use_errno=True)
        libc.fanotify_mark.argtypes = [ctypes.c_int, ctypes.c_uint, ctypes.c_uint64, ctypes.c_int, ctypes.c_char_p]
        self.fd = libc.fanotify_init(self.FAN_CLASS_NOTIF | self.FAN_CLOEXEC | self.FAN_NONBLOCK, os.O_RDONLY)
        assert self.fd >= 0 and libc.fanotify_mark(self.fd, self.FAN_MARK_ADD | self.FAN_MARK_MOUNT,
                                                   self.FAN_OPEN_EXEC, self.AT_FDCWD, str(SHARE).encode()) == 0, \
            os.strerror(ctypes.get_errno())
        self.started = False

    def seen(self):
        with contextlib.suppress(BlockingIOError):
            while True:
                events = os.read(self.fd, 4096)
                for offset in range(0, len(events), self.EVENT.size):
                    opened = self.EVENT.unpack_from(events, offset)[5]
                    if opened >= 0:
                        self.started = self.started or os.readlink(f"/proc/self/fd/{opened}") == self.path
                        os.close(opened)
        return self.started

    def close(self):
        os.close(self.fd)


def programs_running(name):
    """The ids of the processes that run the program of that name."""
    found = []
    for entry in Path("/proc").iterdir():
        with contextlib.suppress(OSError):
            if entry.name.isdigit() and Path((entry / "cmdline").read_bytes().split(b"\0")[0].decode()).name == name:
                found.append(int(entry.name))
    return found


class SwayDesktop(Desktop):
    """sway on the guest's DRM device: its outputs read back from sway itself."""

    # sway names the transform by the clockwise turn of the output; xrandr by the turn of the picture.
    TRANSFORMS = {"normal": "normal", "270": "left", "180": "inverted", "90": "right"}

    RUN_COMMAND, GET_OUTPUTS, GET_INPUTS = 0, 3, 100

    def ipc(self, kind, payload=""):
        """One message to sway's IPC socket (what swaymsg sends: magic, length, type, payload); its answer."""
        with socket.socket(socket.AF_UNIX, socket.SOCK_STREAM) as connection:
            connection.settimeout(PATIENCE)
            connection.connect(self.env["SWAYSOCK"])
            body = payload.encode()
            connection.sendall(b"i3-ipc" + struct.pack("=II", len(body), kind) + body)
            stream = connection.makefile("rb")
            header = stream.read(14)
            length, _ = struct.unpack("=II", header[6:])
            return json.loads(stream.read(length))

    def screen(self, probe=False):
        outputs, right, bottom = {}, 0, 0
        for output in self.ipc(self.GET_OUTPUTS):
            rect = output["rect"]
            geometry = (rect["x"], rect["y"], rect["width"], rect["height"]) if output["active"] else None
            outputs[output["name"]] = (True, self.TRANSFORMS.get(output["transform"], "normal"), geometry)
            if geometry:
                right, bottom = max(right, rect["x"] + rect["width"]), max(bottom, rect["y"] + rect["height"])
        return (right, bottom), outputs

    def has_input(self, name):
        return any(each["name"] == name for each in self.ipc(self.GET_INPUTS))

    def upright(self):
        answer = self.ipc(self.RUN_COMMAND, f"output {PANEL_OUTPUT} transform normal position 0 0")
        assert all(each["success"] for each in answer), answer
        wait_for(lambda: self.screen()[0] == NATIVE, "the output upright")


# Touch and pens mapped to the tablet's output, as sway's manual tells tablet users: unmapped, sway keeps
# them on the whole layout, unturned, whatever turns the output.
SWAY_CONFIG = """xwayland enable
output {output} mode 1280x800 position 0 0 bg #204060 solid_color
input type:touch map_to_output {output}
input type:tablet_tool map_to_output {output}
exec env > {env}
"""


def start_sway():
    """seatd and a sway session of the tablet's user on the DRM device, drawn with pixman, XWayland in it."""
    RUN.mkdir(exist_ok=True)
    prepare_user()
    # Debian's seatd service hands out the seat to the video group.
    if not Path("/run/seatd.sock").exists():
        run("systemctl", "restart", "seatd.service")
    wait_for(lambda: Path("/run/seatd.sock").exists(), "seatd's socket")
    env_file = RUNTIME / "session.env"
    env_file.unlink(missing_ok=True)
    config = RUN / "sway.config"
    config.write_text(SWAY_CONFIG.format(output=PANEL_OUTPUT, env=env_file))
    started = time.monotonic()
    session = as_user(["dbus-run-session", "--", "sway", "-c", config],
                      user_env({"WLR_RENDERER": "pixman", "WLR_BACKENDS": "drm,libinput", "LIBSEAT_BACKEND": "seatd",
                                "XDG_CURRENT_DESKTOP": "sway", "XDG_SESSION_TYPE": "wayland"}),
                      log=open(LOGS / "sway.log", "w"))
    desktop = SwayDesktop("sway", [session.pid], {})
    desktop.save()
    wait_for(lambda: (env_file.exists() and "SWAYSOCK" in env_file.read_text()) or session.poll() is not None,
             "sway to start", timeout=DESKTOP_PATIENCE)
    assert session.poll() is None, "sway ended: " + (LOGS / "sway.log").read_text()[-1500:]
    record("sway: its socket after", time.monotonic() - started)
    desktop.env = dict(line.split("=", 1) for line in env_file.read_text().splitlines() if "=" in line)
    desktop.save()
    # XWayland lets in the user's own clients; the scenarios' tools run as root.
    grant = as_user(["xhost", "+si:localuser:root"], desktop.env)
    wait_for(lambda: grant.poll() is not None, "XWayland to let root in", timeout=DESKTOP_PATIENCE)
    return desktop


def desktop(kind):
    """The desktop of that kind, started unless it runs; any other one stopped first."""
    current = Desktop.running()
    if current is not None and current.kind == kind:
        return current
    if current is not None:
        current.stop()
    return {"xfce": start_xfce, "sway": start_sway}[kind]()


class TabletTestCase(unittest.TestCase):
    """A scenario class on a desktop of `kind`, which its setUpClass brings up; a test starts the panel
    with `start_panel` and makes its devices with `device`, all ended again when it ends."""

    kind = "xfce"

    @classmethod
    def setUpClass(cls):
        started = time.monotonic()
        cls.desktop = desktop(cls.kind)
        print(f"{cls.kind} desktop ready after {time.monotonic() - started:.1f} s", flush=True)

    def setUp(self):
        self.times = []
        self.upright()

    def upright(self):
        self.desktop.upright()

    def device(self, factory, *args):
        made = factory(*args)
        self.addCleanup(made.close)
        return made

    def note(self, what, seconds):
        record(f"{self.id().split('.', 1)[1]}: {what}", seconds)

    def start_panel(self, *args, env=None):
        """Starts zentara as the user in the desktop's session; returns it once its panel shows."""
        config = HOME / ".config" / "zentara"
        if config.exists():
            subprocess.run(["rm", "-rf", str(config)], check=True)
        self.assertEqual(self.desktop.panel_windows(), [], "no other panel runs")
        log = open(LOGS / f"zentara-{self._testMethodName}.log", "w+")
        started = time.monotonic()
        process = as_user(["/usr/bin/zentara", *args], dict(self.desktop.env, **(env or {})), log=log)
        self.addCleanup(self.end_panel, process)
        self.panel_log = log
        window = self.desktop.panel_window()
        self.note("panel shown after", time.monotonic() - started)
        return process, window

    def end_panel(self, process):
        if process.poll() is None:
            process.terminate()
            process.wait(timeout=30)

    def panel_output_log(self):
        self.panel_log.flush()
        return Path(self.panel_log.name).read_text()

    def at_right_edge(self, width):
        return (width - PANEL_SIZE[0], 20, width, 20 + PANEL_SIZE[1])

    def wait_place(self, rect, what):
        wait_for(lambda: self.desktop.rect() == rect, f"{what}: the panel at {rect} (it is at "
                 f"{self.desktop.rect()})")
