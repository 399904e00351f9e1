"""libquillet.so on sway (wlroots' output management), started headless with the tablet's output and a
monitor right of it; outputs read back through sway's IPC."""
import os
import subprocess
import unittest

from desktop_families import wlroots
from desktop_families.headless import available
from quillet_driving import drive
from wayland_turns import HandlersRefuseCleanly, MONITOR_SIZE, TABLET_SIZE, OneDesktop, WaylandTurns

PROBE = os.environ.get("WLR_OUTPUTS_PROBE", "")
MISSING = available(*wlroots.TOOLS)


@unittest.skipIf(MISSING, MISSING)
class SwayDesktop(OneDesktop):
    """Mixed into a TestCase whose cases share one headless sway with the tablet's output and a monitor
    right of it."""
    tablet = wlroots.TABLET

    @classmethod
    def start(cls):
        return wlroots.Session(outputs=[TABLET_SIZE, MONITOR_SIZE])

    def swaymsg(self, *arguments):
        return wlroots.swaymsg(self.desktop.env, *arguments)

    def outputs(self):
        return wlroots.outputs(self.desktop.env)

    def turn_after(self, change):
        """Reads the outputs, makes the change through sway, then turns the tablet left from that read
        and again from a new read; the outputs after the change and after each turn, and the turns'
        results."""
        with subprocess.Popen([PROBE], env=self.desktop.env, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                              text=True) as probe:
            def ask(line):
                probe.stdin.write(line + "\n")
                probe.stdin.flush()
                return probe.stdout.readline().strip()

            self.assertEqual(ask("read"), "1")
            self.swaymsg(*change)
            changed = self.outputs()
            stale = ask("turn 2")
            after_stale = self.outputs()
            fresh = ask("read") + ask("turn 2")
            after_fresh = self.outputs()
            probe.stdin.close()
            self.assertEqual(probe.wait(timeout=30), 0)
        return changed, stale, after_stale, fresh, after_fresh


class SwayTurns(SwayDesktop, WaylandTurns, HandlersRefuseCleanly, unittest.TestCase):
    def test_a_change_made_between_reading_and_turning_cancels_the_turn(self):
        # After tearDown has turned the tablet back: the monitor as it was.
        self.addCleanup(self.swaymsg, "output HEADLESS-2 transform normal")
        changed, stale, after_stale, fresh, now = self.turn_after(["output HEADLESS-2 transform 180"])
        self.assertEqual(stale, "0", "a turn made from an old read must be refused")
        self.assertEqual(after_stale, changed)
        # The same turn from a new read goes through, keeping the monitor's change.
        self.assertEqual(fresh, "11")
        self.assertEqual((now[self.tablet][4], now["HEADLESS-2"][4]), (1, 2))
        self.assertEqual(drive("get-angle", env=self.desktop.env), [2])

    def test_a_scaled_tablet_turns_by_its_logical_size_and_keeps_its_scale_and_mode(self):
        self.addCleanup(self.swaymsg, "output HEADLESS-2 position 1280 0")
        self.addCleanup(self.swaymsg, "output HEADLESS-1 scale 1")
        self.swaymsg("output HEADLESS-1 scale 2")
        self.swaymsg("output HEADLESS-2 position 640 0")
        self.assertEqual(self.outputs(), {"HEADLESS-1": (0, 0, 640, 400, 0), "HEADLESS-2": (640, 0, 1920, 1080, 0)})
        self.assertEqual(drive("set-angle=2", "get-angle", env=self.desktop.env), [1, 2])
        self.assertEqual(self.outputs(), {"HEADLESS-1": (0, 0, 400, 640, 1), "HEADLESS-2": (400, 0, 1920, 1080, 0)})
        self.assertEqual(wlroots.current_modes(self.desktop.env),
                         {"HEADLESS-1": (1280, 800), "HEADLESS-2": (1920, 1080)})


class SwayOutputComing(SwayDesktop, unittest.TestCase):
    """On a sway of its own: sway 1.7 cannot take a headless output away again."""

    def test_an_output_coming_between_reading_and_turning_refuses_the_turn(self):
        # The turn read before the output came is refused (its serial is old, and it leaves the new
        # output out); the one from a new read sends the new output as sway shows it, so sway takes it.
        changed, stale, after_stale, fresh, now = self.turn_after(["create_output"])
        self.assertEqual(stale, "0")
        self.assertEqual(after_stale, changed)
        self.assertEqual(fresh, "11")
        self.assertEqual(now[self.tablet][4], 1)


if __name__ == "__main__":
    unittest.main()
