"""The Debian package as dpkg and the desktop see it, and the program installed from it."""
import configparser
import os
import shutil
import stat
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

REPO = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(REPO / "tests" / "x11_panel"))
from x11_harness import (PANEL_SIZE, PANEL_TITLE, Display, build_dir, collapsed_panel,  # noqa: E402
                         largest_difference, wait_for)

TOLERANCE = 4
PROGRAM = Path("usr/lib/zentara/zentara")


def package_path():
    return Path(os.environ.get("ZENTARA_DEB") or next(build_dir().glob("zentara_*.deb")))


def files_below(folder):
    return {path.relative_to(folder).as_posix() for path in folder.rglob("*") if not path.is_dir()}


def png_size(path):
    data = path.read_bytes()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        return None
    return int.from_bytes(data[16:20], "big"), int.from_bytes(data[20:24], "big")


class DebPackageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.deb = package_path()
        cls.tmp = tempfile.TemporaryDirectory(prefix="zentara-deb-")
        cls.root = Path(cls.tmp.name) / "root"
        subprocess.run(["dpkg-deb", "-x", str(cls.deb), str(cls.root)], check=True)

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def field(self, name):
        return subprocess.run(["dpkg-deb", "-f", str(self.deb), name], check=True, stdout=subprocess.PIPE,
                              text=True).stdout.strip()

    def test_the_files_lie_where_the_system_looks_for_them(self):
        self.assertEqual(sorted(os.listdir(self.root)), ["usr"])
        self.assertFalse((self.root / "usr" / "local").exists())
        # The command is a relative link that resolves to the program, in any root.
        command = self.root / "usr" / "bin" / "zentara"
        self.assertTrue(command.is_symlink())
        self.assertFalse(os.path.isabs(os.readlink(command)))
        self.assertEqual(command.resolve(), (self.root / PROGRAM).resolve())
        program = self.root / PROGRAM
        self.assertEqual(program.read_bytes()[:4], b"\x7fELF")
        self.assertTrue(program.stat().st_mode & stat.S_IXOTH)
        # The images folder is the artwork, byte for byte, and the rotation library.
        images = self.root / PROGRAM.parent / "images"
        artwork = REPO / "images"
        self.assertEqual(files_below(images), files_below(artwork) | {"libquillet.so"})
        for name in files_below(artwork):
            self.assertEqual((images / name).read_bytes(), (artwork / name).read_bytes(), name)
        self.assertEqual((images / "libquillet.so").read_bytes()[:4], b"\x7fELF")
        # Every icon is a PNG of the size its hicolor folder names, 48 pixels among them.
        hicolor = self.root / "usr" / "share" / "icons" / "hicolor"
        icons = sorted(hicolor.glob("*/apps/zentara.png"))
        self.assertIn(hicolor / "48x48" / "apps" / "zentara.png", icons)
        for icon in icons:
            width, height = (int(n) for n in icon.parent.parent.name.split("x"))
            self.assertEqual(png_size(icon), (width, height), icon)

    def test_the_control_fields_come_from_the_project_and_the_binaries(self):
        self.assertEqual(self.field("Package"), "zentara")
        self.assertEqual(self.field("Version"), os.environ.get("ZENTARA_VERSION", self.field("Version")))
        self.assertEqual(self.deb.name, f"zentara_{self.field('Version')}_{self.field('Architecture')}.deb")
        architecture = subprocess.run(["dpkg", "--print-architecture"], check=True, stdout=subprocess.PIPE,
                                      text=True).stdout.strip()
        self.assertEqual(self.field("Architecture"), architecture)
        depends = {entry.split()[0] for entry in self.field("Depends").split(",") if entry.strip()}
        # The program's libraries, and libquillet.so's own (XInput is only the library's).
        for package in ("libc6", "libx11-6", "libpango-1.0-0", "libpng16-16", "libxi6"):
            self.assertIn(package, depends)

    def test_the_desktop_entry_starts_the_command_with_the_icon(self):
        entry_path = self.root / "usr" / "share" / "applications" / "zentara.desktop"
        if shutil.which("desktop-file-validate"):
            result = subprocess.run(["desktop-file-validate", str(entry_path)], stdout=subprocess.PIPE,
                                    stderr=subprocess.STDOUT, text=True)
            self.assertEqual(result.returncode, 0, result.stdout)
        parser = configparser.ConfigParser(interpolation=None)
        parser.optionxform = str
        parser.read(entry_path)
        entry = parser["Desktop Entry"]
        self.assertEqual(entry["Name"], "Zentara")
        self.assertTrue((self.root / "usr" / "bin" / entry["Exec"].split()[0]).is_symlink())
        self.assertTrue(list((self.root / "usr" / "share" / "icons" / "hicolor").glob(f"*/apps/{entry['Icon']}.png")))

    def test_the_installed_command_shows_the_panel(self):
        display = Display(window_manager=True)
        self.addCleanup(display.close)
        process = subprocess.Popen([str(self.root / "usr" / "bin" / "zentara")], cwd="/",
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                   env=display.env({"LC_ALL": "", "LC_MESSAGES": "", "LANG": "en_US.UTF-8",
                                                    "GSETTINGS_BACKEND": "memory"}))

        def stop():
            if process.poll() is None:
                process.kill()
            process.wait()

        self.addCleanup(stop)
        window = wait_for(lambda: (display.find(PANEL_TITLE) or [None])[0], timeout=15, what="the panel window")
        display.move(5, 5)
        differences = []

        def shows_the_collapsed_panel():
            left, top, _, _ = display.geometry(window)
            differences.append(largest_difference(display.screenshot().crop(left, top, *PANEL_SIZE),
                                                  collapsed_panel()))
            return differences[-1] <= TOLERANCE

        try:
            wait_for(shows_the_collapsed_panel, timeout=10, interval=0.1, what="the collapsed panel")
        except AssertionError:
            self.fail(f"the installed program never showed its artwork (largest differences {differences[-5:]})")
        self.assertIsNone(process.poll())


if __name__ == "__main__":
    unittest.main()
