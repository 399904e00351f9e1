"""zentara's command line, answered without an X display, and what a start says when it finds none, also on a
Wayland session without XWayland."""
import os
import re
import subprocess
import unittest
from pathlib import Path

from x11_harness import build_dir

PROGRAM = Path(os.environ.get("ZENTARA_X11_DIST", build_dir() / "dist")) / "zentara"
HELP = r"Usage:\n  zentara \[OPTION.*--help.*--version"
WAYLAND = "zentara: this Wayland session offers no X display; the panel needs XWayland"
NO_DISPLAY = "zentara: cannot open the X display"


def run(*args, **env):
    """The program's exit code, standard output and standard error, with no X display unless `env` names one."""
    environment = {name: value for name, value in os.environ.items() if name not in ("DISPLAY", "WAYLAND_DISPLAY")}
    result = subprocess.run([str(PROGRAM), *args], env={**environment, **env}, stdin=subprocess.DEVNULL,
                            stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, timeout=30)
    return result.returncode, result.stdout, result.stderr


class CommandLineTest(unittest.TestCase):

    def test_help_and_version_answer_on_standard_output_and_the_rest_is_refused_in_one_line(self):
        version = re.escape(os.environ.get("ZENTARA_VERSION", "")) or r"\d+\.\d+\.\d+"
        for args, out in ((["--help"], HELP), (["-h"], HELP), (["--version"], rf"\Azentara {version}\n\Z")):
            with self.subTest(args=args):
                code, said, err = run(*args)
                self.assertEqual((code, err), (0, ""))
                self.assertRegex(said, re.compile(out, re.DOTALL))
        for args, named in ((["--rotate"], "--rotate"), (["-x"], "-x"), (["left"], "left"),
                            (["--version", "now"], "now"), (["--", "--help"], "--help")):
            with self.subTest(args=args):
                code, said, err = run(*args)
                self.assertEqual((code, said), (1, ""))
                self.assertRegex(err, rf"\Azentara: [^\n]*{re.escape(named)}[^\n]*\n\Z")

    def test_without_an_x_display_a_start_says_why_in_one_line(self):
        # On a Wayland session the display is XWayland's: missing (no DISPLAY) or not answering.
        for env, said in (({"WAYLAND_DISPLAY": "wayland-1"}, WAYLAND),
                          ({"WAYLAND_DISPLAY": "wayland-1", "DISPLAY": ":65533"}, WAYLAND),
                          ({"WAYLAND_DISPLAY": ""}, NO_DISPLAY), ({"DISPLAY": ":65533"}, NO_DISPLAY)):
            with self.subTest(env=env):
                code, out, err = run(**env)
                self.assertEqual((code, out, len(err.splitlines())), (1, "", 1), err)
                self.assertTrue(err.startswith(said), err)
