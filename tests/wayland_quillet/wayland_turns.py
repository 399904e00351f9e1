"""What libquillet.so must do on every Wayland desktop, written once: a desktop's test class mixes
`WaylandTurns` into a unittest.TestCase and says how its desktop starts and how its outputs read
back through the desktop's own tools."""
import os
import subprocess

from quillet_driving import drive

HANDLER_ALLOCATION_PROBE = os.environ.get("HANDLER_ALLOCATION_PROBE", "")
# The tablet's own screen and a monitor right of it.
TABLET_SIZE = "1280x800"
MONITOR_SIZE = "1920x1080"


class OneDesktop:
    """Mixed into a TestCase whose cases share one desktop: the class says how it starts (`start`) and
    what must be true of it before the cases run (`prepare`); it is stopped after the last case."""
    desktop = None

    @classmethod
    def start(cls):
        raise NotImplementedError

    @classmethod
    def prepare(cls):
        pass

    @classmethod
    def setUpClass(cls):
        cls.desktop = cls.start()
        try:
            cls.prepare()
        except BaseException:
            cls.desktop.stop()
            raise

    @classmethod
    def tearDownClass(cls):
        cls.desktop.stop()


class WaylandTurns(OneDesktop):
    """Mixed into a TestCase whose class starts `desktop` (a family's Session of tests/support/
    desktop_families/ with a tablet output and a monitor right of it) and defines `outputs()`: the
    family's read-back of every output's name -> (x, y, width, height as laid out, transform 0-3), and
    `tablet`: the output that must turn."""
    tablet = ""

    def outputs(self):
        raise NotImplementedError

    def tearDown(self):
        drive("set-angle=1", env=self.desktop.env)

    def test_each_code_turns_the_tablet_and_reads_back_while_the_monitor_stays_beside_it(self):
        before = self.outputs()
        # What the desktop must look like first: the tablet upright at the origin, the monitor right of it.
        self.assertEqual(before[self.tablet][:2] + before[self.tablet][4:], (0, 0, 0))
        self.assertEqual([place[:2] for name, place in before.items() if name != self.tablet],
                         [(before[self.tablet][2], 0)])
        for code in (2, 3, 4, 1):
            with self.subTest(code=code):
                self.assertEqual(drive(f"set-angle={code}", "get-angle", env=self.desktop.env), [1, code])
                now = self.outputs()
                self.assertEqual(now[self.tablet][4], code - 1)
                x, y, width, height, _ = now[self.tablet]
                quarter = code in (2, 4)
                self.assertEqual((width, height), (before[self.tablet][3], before[self.tablet][2]) if quarter
                                 else before[self.tablet][2:4])
                for name, place in now.items():
                    if name == self.tablet:
                        continue
                    self.assertEqual(place[4], before[name][4], f"{name} must not turn")
                    self.assertEqual(place[0], x + width, f"{name} must stay right beside {self.tablet}")

    def test_four_left_turns_come_back_to_normal(self):
        angles = []
        for turn in range(4):
            angle = drive("get-angle", env=self.desktop.env)[0]
            self.assertEqual(drive(f"set-angle={angle % 4 + 1}", env=self.desktop.env), [1])
            angles.append(drive("get-angle", env=self.desktop.env)[0])
        self.assertEqual(angles, [2, 3, 4, 1])
        self.assertEqual(self.outputs()[self.tablet][4], 0)


class HandlersRefuseCleanly:
    """Mixed into the class of a desktop whose outputs the library reads through libwayland's event
    handlers (KWin's and wlroots' output management)."""

    def test_an_allocation_failing_in_any_event_handler_refuses_the_reading_cleanly(self):
        failing = 0
        while True:
            result = subprocess.run([HANDLER_ALLOCATION_PROBE, str(failing)], env=self.desktop.env,
                                    capture_output=True, text=True, timeout=60)
            self.assertEqual(result.returncode, 0, f"allocation {failing}: {result.stdout}{result.stderr}")
            outcome, made = result.stdout.split()
            if int(made) <= failing:
                break
            self.assertEqual(outcome, "refused", f"allocation {failing} of {made} failing")
            failing += 1
        self.assertEqual(outcome, "read", "with nothing failing")
        self.assertGreater(failing, 0, "no handler allocated")
