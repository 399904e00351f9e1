"""The wlroots family as sway: started headless as an unprivileged user (sway refuses root), its outputs
read back through its IPC (`swaymsg`), and no lock of its own: Zentara's own setting stands for it.
Standard library only."""
import json
import os
import subprocess
from pathlib import Path

from desktop_families.headless import HeadlessSession, as_user

TOOLS = ("sway", "swaymsg")
TABLET = "HEADLESS-1"
# sway names its transforms by clockwise turns; wl_output counts counter-clockwise.
_TRANSFORMS = {"normal": 0, "90": 3, "180": 2, "270": 1,
               "flipped": 4, "flipped-90": 7, "flipped-180": 6, "flipped-270": 5}


class Session(HeadlessSession):
    """sway on the headless backend, one output per size ("WxH"), with XWayland started at once and open
    to root's clients; SWAYSOCK in `env`."""
    name = "sway"
    owner = 65534

    def __init__(self, outputs=("1280x800",)):
        self.outputs = outputs
        super().__init__()

    def _launch(self):
        config = os.path.join(self.runtime, "config")
        lines = ["xwayland force"]
        lines += [f"output HEADLESS-{n} mode --custom {size}" for n, size in enumerate(self.outputs, 1)]
        lines += ["exec sh -c 'xhost +si:localuser:root >/dev/null; echo \"$DISPLAY\" > \"$XDG_RUNTIME_DIR/display\"'"]
        with open(config, "w") as file:
            file.write("\n".join(lines) + "\n")
        env = dict(self.env, WLR_BACKENDS="headless", WLR_LIBINPUT_NO_DEVICES="1", WLR_RENDERER="pixman",
                   WLR_HEADLESS_OUTPUTS=str(len(self.outputs)))
        self._start(as_user(self.owner, "sway", "--config", config), env)
        self._wait_for_socket()
        self.env["DISPLAY"] = self._wait_for(self._written_display, "sway's XWayland")
        self.env["SWAYSOCK"] = self._wait_for(lambda: self._runtime_file("sway-ipc."), "sway's IPC socket")


def swaymsg(env, *arguments):
    result = subprocess.run(["swaymsg", *arguments], env=env, capture_output=True, text=True, timeout=30)
    if result.returncode != 0:
        raise AssertionError(f"swaymsg {arguments}: {result.stdout}{result.stderr}")
    return result.stdout


def current_modes(env):
    """Every output's name -> its mode's (width, height) in pixels."""
    return {output["name"]: (output["current_mode"]["width"], output["current_mode"]["height"])
            for output in json.loads(swaymsg(env, "-t", "get_outputs", "-r"))}


def outputs(env):
    """Every active output's name -> (x, y, width, height as laid out, transform as wl_output counts)."""
    return {output["name"]: (output["rect"]["x"], output["rect"]["y"], output["rect"]["width"],
                             output["rect"]["height"], _TRANSFORMS[output["transform"]])
            for output in json.loads(swaymsg(env, "-t", "get_outputs", "-r")) if output["active"]}


def turn(env, quarters, output=TABLET):
    """Turns the output `quarters` quarter turns to the left of upright (0-3), as sway's own command does."""
    swaymsg(env, "output", output, "transform", ("normal", "270", "180", "90")[quarters])


def automatic_rotation_on(folder):
    """sway keeps no lock: Zentara's own setting it is, written in `folder`; what the program's environment
    needs to find it."""
    setting = Path(folder) / "config" / "zentara" / "rotation.conf"
    setting.parent.mkdir(parents=True, exist_ok=True)
    setting.write_text("[Rotation]\nAutomatic=true\n")
    return {"XDG_CONFIG_HOME": str(setting.parents[1])}
