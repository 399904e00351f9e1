"""libquillet.so on sway (wlroots' output management), started headless with the tablet's output and a
monitor right of it; outputs read back through `swaymsg -t get_outputs`."""
import json
import os
import subprocess
import unittest

from wayland_turns import MONITOR_SIZE, TABLET_SIZE, WaylandTurns, drive
from wayland_sessions import SwaySession, available

PROBE = os.environ.get("WLR_OUTPUTS_PROBE", "")
# sway names its transforms by clockwise turns; wl_output counts counter-clockwise.
SWAY_TRANSFORMS = {"normal": 0, "90": 3, "180": 2, "270": 1,
                   "flipped": 4, "flipped-90": 7, "flipped-180": 6, "flipped-270": 5}


def swaymsg(env, *arguments):
    result = subprocess.run(["swaymsg", *arguments], env=env, capture_output=True, text=True, timeout=30)
    if result.returncode != 0:
        raise AssertionError(f"swaymsg {arguments}: {result.stdout}{result.stderr}")
    return result.stdout


def sway_outputs(env):
    """Every active output's name -> (x, y, width, height as laid out, transform as wl_output counts)."""
    return {output["name"]: (output["rect"]["x"], output["rect"]["y"], output["rect"]["width"],
                             output["rect"]["height"], SWAY_TRANSFORMS[output["transform"]])
            for output in json.loads(swaymsg(env, "-t", "get_outputs", "-r")) if output["active"]}


class SwayTurns(WaylandTurns, unittest.TestCase):
    tablet = "HEADLESS-1"

    @classmethod
    def setUpClass(cls):
        missing = available("sway", "swaymsg")
        if missing:
            raise unittest.SkipTest(missing)
        cls.desktop = SwaySession(outputs=[TABLET_SIZE, MONITOR_SIZE])
        try:
            places = {name: place[:4] for name, place in sway_outputs(cls.desktop.env).items()}
            if places != {"HEADLESS-1": (0, 0, 1280, 800), "HEADLESS-2": (1280, 0, 1920, 1080)}:
                raise AssertionError(f"sway laid its outputs out otherwise: {places}")
        except BaseException:
            cls.desktop.stop()
            raise

    @classmethod
    def tearDownClass(cls):
        cls.desktop.stop()

    def swaymsg(self, *arguments):
        return swaymsg(self.desktop.env, *arguments)

    def outputs(self):
        return sway_outputs(self.desktop.env)

    def test_a_change_made_between_reading_and_turning_cancels_the_turn(self):
        # After tearDown has turned the tablet back: the monitor as it was.
        self.addCleanup(self.swaymsg, "output HEADLESS-2 transform normal")
        with subprocess.Popen([PROBE], env=self.desktop.env, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                              text=True) as probe:
            def ask(line):
                probe.stdin.write(line + "\n")
                probe.stdin.flush()
                return probe.stdout.readline().strip()

            self.assertEqual(ask("read"), "1")
            self.swaymsg("output HEADLESS-2 transform 180")
            changed = self.outputs()
            self.assertEqual(ask("turn 2"), "0", "a turn made from an old read must be refused")
            self.assertEqual(self.outputs(), changed)
            # The same turn from a new read goes through, keeping the monitor's change.
            self.assertEqual(ask("read"), "1")
            self.assertEqual(ask("turn 2"), "1")
            now = self.outputs()
            self.assertEqual((now[self.tablet][4], now["HEADLESS-2"][4]), (1, 2))
            probe.stdin.close()
            self.assertEqual(probe.wait(timeout=30), 0)
        self.assertEqual(drive("get-angle", env=self.desktop.env), [2])

if __name__ == "__main__":
    unittest.main()
