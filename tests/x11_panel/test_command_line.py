"""zentara's command line, answered without an X display: --help and --version on standard output, a mistake
in one line on standard error; and what a start says when it finds no X display, also on a Wayland session
without XWayland."""
import os
import subprocess
import unittest
from pathlib import Path

from x11_harness import build_dir

PROGRAM = Path(os.environ.get("ZENTARA_X11_DIST", build_dir() / "dist")) / "zentara"


def run(*args, **env):
    """The program's exit code, standard output and standard error, with no X display unless `env` names one."""
    environment = {name: value for name, value in os.environ.items() if name not in ("DISPLAY", "WAYLAND_DISPLAY")}
    result = subprocess.run([str(PROGRAM), *args], env={**environment, **env}, stdin=subprocess.DEVNULL,
                            stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, timeout=30)
    return result.returncode, result.stdout, result.stderr


class CommandLineTest(unittest.TestCase):

    def test_help_and_version_answer_on_standard_output(self):
        for option in ("--help", "-h"):
            code, out, err = run(option)
            self.assertEqual((code, err), (0, ""), option)
            self.assertTrue(out.startswith("Usage:\n  zentara [OPTION"), out)
            for listed in ("--help", "--version"):
                self.assertIn(listed, out)
        version = os.environ.get("ZENTARA_VERSION", "")
        code, out, err = run("--version")
        self.assertEqual((code, err), (0, ""))
        self.assertRegex(out, r"^zentara \d+\.\d+\.\d+\n$")
        self.assertIn(version, out)

    def test_an_unknown_option_or_an_argument_is_refused_in_one_line(self):
        for args, named in ((["--rotate"], "--rotate"), (["-x"], "-x"), (["left"], "left"),
                            (["--version", "now"], "now"), (["--", "--help"], "--help")):
            with self.subTest(args=args):
                code, out, err = run(*args)
                self.assertEqual((code, out), (1, ""))
                self.assertEqual(len(err.splitlines()), 1, err)
                self.assertTrue(err.startswith("zentara: ") and named in err, err)

    def test_without_an_x_display_a_start_says_why_in_one_line(self):
        # On a Wayland session the display is XWayland's: missing (no DISPLAY) or not answering.
        wayland = "zentara: this Wayland session offers no X display; the panel needs XWayland"
        for env, said in (({"WAYLAND_DISPLAY": "wayland-1"}, wayland),
                          ({"WAYLAND_DISPLAY": "wayland-1", "DISPLAY": ":65533"}, wayland),
                          ({"WAYLAND_DISPLAY": ""}, "zentara: cannot open the X display"),
                          ({"DISPLAY": ":65533"}, "zentara: cannot open the X display")):
            with self.subTest(env=env):
                code, out, err = run(**env)
                self.assertEqual((code, out), (1, ""))
                self.assertEqual(len(err.splitlines()), 1, err)
                self.assertTrue(err.startswith(said), err)
