"""zentara built with AddressSanitizer and UndefinedBehaviorSanitizer, used for a while on a private display
with openbox: a new scale while it runs, expanded, unlocked, turned through the recording library, closed by
its close button. It must end with exit code 0 and no sanitizer report: a bad memory access or undefined
behaviour ends it at once, a leak found at exit changes its exit code, and what they wrote is shown."""
import os
import sys
from pathlib import Path

from panel_scenarios import CLOSE, LOCK, TURN_LEFT, TURN_RIGHT
from x11_panel_harness import PanelTestBase, collapsed_panel, scaled_panel

SANITIZERS = {
    "ASAN_OPTIONS": "detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1",
    "UBSAN_OPTIONS": "print_stacktrace=1:halt_on_error=1",
    "LSAN_OPTIONS": "suppressions=" + os.environ.get("ZENTARA_SANITIZER_SUPPRESSIONS",
                                                     str(Path(__file__).with_name("leaks.supp"))),
}
REPORT_MARKS = ("Sanitizer", "runtime error:")


class SanitizedProgramTest(PanelTestBase):
    patience = 30.0  # the sanitized debug build draws several times slower

    def launch(self, env=None, stderr=None):
        self.output = self.app.folder / f"stderr-{self._testMethodName}.txt"
        # A report that ended the program before the test looked for it still shows.
        self.addCleanup(lambda: self.reports() and print(self.output.read_text(errors="replace"), file=sys.stderr))
        with open(self.output, "w") as output:
            return super().launch({**SANITIZERS, **(env or {})}, stderr=output)

    def reports(self):
        return [line for line in self.output.read_text(errors="replace").splitlines()
                if any(mark in line for mark in REPORT_MARKS)]

    def assert_ended_cleanly(self, process):
        code = process.wait(timeout=60)
        self.assertEqual(self.reports(), [])
        self.assertEqual(code, 0)

    def test_a_new_scale_expanding_turns_and_the_close_button_leave_no_sanitizer_report(self):
        self.hover_handle()
        self.wait_for_picture(collapsed_panel())
        # The 200 % set replaces the 100 % one while the program runs.
        self.set_dpi(192)
        self.scale = 200
        width = self.screen_size()[0]
        self.wait(lambda: self.rect() == (width - self.px(341), self.px(20), width, self.px(20 + 113)),
                  "the 200 % panel at its edge")
        self.expand()
        self.move_away()
        self.wait_for_picture(scaled_panel(200, True))
        self.click(*LOCK)
        self.wait_for_calls(3)
        self.click(*TURN_LEFT)
        self.click(*TURN_RIGHT)
        self.assertEqual(self.wait_for_calls(7)[1:],
                         ["RT_GetAutoRotationOn() = 0", "RT_SetAutoRotation(1) = 1", "RT_GetAngle() = 1",
                          "RT_SetAngle(2) = 1", "RT_GetAngle() = 2", "RT_SetAngle(1) = 1"])
        self.click(*CLOSE)
        self.assert_ended_cleanly(self.process)
