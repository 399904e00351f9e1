"""The Debian package as dpkg, Debian's checkers and the desktop see it, and the program installed from it."""
import configparser
import gzip
import os
import re
import shutil
import stat
import subprocess
import tempfile
import unittest
from pathlib import Path

from tablet_hardware import tablet_hardware
from x11_panel_harness import (PANEL_SIZE, PANEL_TITLE, Display, build_dir, collapsed_panel, largest_difference,
                               wait_for)

REPO = Path(__file__).resolve().parents[2]

TOLERANCE = 4
PROGRAM = Path("usr/lib/zentara/zentara")
MENU_ENTRY = Path("usr/share/applications/zentara.desktop")
AUTOSTART_ENTRY = Path("etc/xdg/autostart/zentara.desktop")


def package_path():
    return Path(os.environ.get("ZENTARA_DEB") or next(build_dir().glob("zentara_*.deb")))


def files_below(folder):
    return {path.relative_to(folder).as_posix() for path in folder.rglob("*") if not path.is_dir()}


def run(*args, check=True):
    return subprocess.run([str(a) for a in args], check=check, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                          text=True)


def desktop_entry(path):
    parser = configparser.ConfigParser(interpolation=None)
    parser.optionxform = str
    parser.read(path)
    return parser["Desktop Entry"]


def start_panel(test, display, command):
    """Starts `command` on the display and waits for its collapsed panel; returns the process."""
    process = subprocess.Popen([str(command)], cwd="/", stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                               env=display.env({"LC_ALL": "", "LC_MESSAGES": "", "LANG": "en_US.UTF-8",
                                                "GSETTINGS_BACKEND": "memory"}))

    def stop():
        if process.poll() is None:
            process.kill()
        process.wait()

    test.addCleanup(stop)
    window = wait_for(lambda: (display.find(PANEL_TITLE) or [None])[0], timeout=15, what="the panel window")
    display.move(5, 5)
    differences = []

    def shows_the_collapsed_panel():
        left, top, _, _ = display.geometry(window)
        differences.append(largest_difference(display.screenshot().crop(left, top, *PANEL_SIZE), collapsed_panel()))
        return differences[-1] <= TOLERANCE

    try:
        wait_for(shows_the_collapsed_panel, timeout=10, interval=0.1, what="the collapsed panel")
    except AssertionError:
        test.fail(f"{command} never showed its artwork (largest differences {differences[-5:]})")
    test.assertIsNone(process.poll())
    return process


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
        self.assertEqual(sorted(os.listdir(self.root)), ["etc", "usr"])
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
        entries = [entry.strip() for entry in self.field("Depends").split(",")]
        depends = {entry.split()[0] for entry in entries if entry}
        # The program's libraries, and libquillet.so's own (XInput is only the library's).
        for package in ("libc6", "libx11-6", "libpango-1.0-0", "libpng16-16", "libxi6"):
            self.assertIn(package, depends)
        # The desktop's rotation setting is kept by a GSettings backend, which nothing links against.
        self.assertIn("dconf-gsettings-backend | gsettings-backend", entries)
        self.assertEqual(self.field("Recommends"), "iio-sensor-proxy")
        # The autostart entry is the administrator's to change: dpkg keeps it until purge.
        conffiles = run("dpkg-deb", "--info", self.deb, "conffiles").stdout.split()
        self.assertEqual(conffiles, ["/" + AUTOSTART_ENTRY.as_posix()])

    def test_the_menu_and_autostart_entries_start_the_command_with_the_icon(self):
        for path in (MENU_ENTRY, AUTOSTART_ENTRY):
            with self.subTest(path=path):
                result = run("desktop-file-validate", self.root / path, check=False)
                self.assertEqual((result.returncode, result.stdout), (0, ""))
                entry = desktop_entry(self.root / path)
                self.assertEqual(entry["Name"], "Zentara")
                self.assertTrue((self.root / "usr" / "bin" / entry["Exec"].split()[0]).is_symlink())
                self.assertTrue(list((self.root / "usr/share/icons/hicolor").glob(f"*/apps/{entry['Icon']}.png")))
        # Started at login without a busy pointer, listed in the session settings where it can be switched
        # off, and skipped once the package is removed but its conffile kept.
        autostart = desktop_entry(self.root / AUTOSTART_ENTRY)
        self.assertEqual(autostart["StartupNotify"], "false")
        self.assertEqual((autostart.get("NoDisplay", "false"), autostart.get("Hidden", "false")), ("false", "false"))
        self.assertEqual(autostart["Exec"], f"{autostart['TryExec']} --autostart")

    def test_debians_own_checks_find_nothing_wrong(self):
        # Errors and warnings fail; of the hints, none may say a hardening flag is missing.
        result = run("lintian", "--display-info", "--fail-on", "error,warning", self.deb, check=False)
        self.assertEqual(result.returncode, 0, result.stdout)
        self.assertNotIn("hardening-", result.stdout)
        metainfo = next((self.root / "usr/share/metainfo").glob("*.metainfo.xml"))
        result = run("appstreamcli", "validate", "--no-net", metainfo, check=False)
        self.assertEqual(result.returncode, 0, result.stdout)
        # The changelog and the metainfo both end with this version.
        doc = self.root / "usr/share/doc/zentara"
        changelog = Path(self.tmp.name) / "changelog"
        changelog.write_bytes(gzip.decompress((doc / "changelog.gz").read_bytes()))
        self.assertEqual(run("dpkg-parsechangelog", "-l", changelog, "-S", "Version").stdout.strip(),
                         self.field("Version"))
        self.assertEqual(re.search(r'<release version="([^"]+)"', metainfo.read_text()).group(1), self.field("Version"))
        # The copyright file's licence paragraph is the project's licence, word for word.
        # Two paragraphs (a blank line would end one): the header and the one for all files.
        header, files = re.split(r"\n[ \t]*\n", (doc / "copyright").read_text().strip())
        self.assertTrue(header.startswith("Format: https://www.debian.org/doc/packaging-manuals/copyright-format/"))
        self.assertIn("Copyright: 2026 KOVA", files)
        paragraph = files.split("License: Expat\n", 1)[1]
        licence = "\n".join("" if line == " ." else line[1:] for line in paragraph.split("\n"))
        self.assertTrue((REPO / "LICENSE").read_text().rstrip().endswith(licence), licence)

    def test_the_unpacked_command_shows_the_panel(self):
        display = Display(window_manager=True)
        self.addCleanup(display.close)
        start_panel(self, display, self.root / "usr" / "bin" / "zentara")


def dpkg_status():
    return run("dpkg-query", "-W", "-f=${Status}", "zentara", check=False).stdout.split()


def installed():
    return "installed" in dpkg_status()


def apt_get(*args, check=True):
    # Waits for another apt or dpkg to finish rather than failing on its lock.
    return subprocess.run(["apt-get", "-q", "-y", "-o", "DPkg::Lock::Timeout=300", *[str(a) for a in args]],
                          check=check, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                          env=dict(os.environ, DEBIAN_FRONTEND="noninteractive"))


class InstalledPackageTest(unittest.TestCase):
    """apt installs the package for real, its commands show one panel, and removing it leaves nothing behind."""

    def setUp(self):
        if os.geteuid() != 0:
            self.skipTest("installing the package needs root: run the deb tests as root to include this one")
        if installed():
            self.skipTest("zentara is installed on this machine already; the test does not replace it")
        # Whatever happens below, the machine is left without the package.
        self.addCleanup(lambda: dpkg_status()[-1:] not in ([], ["not-installed"])
                        and apt_get("purge", "zentara", check=False))

    def test_apt_installs_starts_and_removes_the_package_without_leftovers(self):
        # apt reads local packages from a path it names with a slash, as its own user where it can.
        folder = Path(tempfile.mkdtemp(prefix="zentara-apt-"))
        self.addCleanup(shutil.rmtree, folder)
        folder.chmod(0o755)
        deb = folder / package_path().name
        shutil.copyfile(package_path(), deb)
        deb.chmod(0o644)
        result = apt_get("install", "--no-install-recommends", deb, check=False)
        self.assertEqual(result.returncode, 0, result.stdout)
        self.assertTrue(installed())
        files = run("dpkg-query", "-L", "zentara").stdout.split("\n")
        conffiles = [line.split()[0] for line in
                     run("dpkg-query", "-W", "-f=${Conffiles}", "zentara").stdout.strip().split("\n")]
        self.assertEqual(conffiles, ["/" + AUTOSTART_ENTRY.as_posix()])

        # Login starts the autostart entry's command, which ends at once where the panel has no job; the
        # menu's shows the panel, and a second start ends at once.
        display = Display(window_manager=True)
        self.addCleanup(display.close)
        login = desktop_entry("/" + AUTOSTART_ENTRY.as_posix())["Exec"].split()
        login[0] = shutil.which(login[0], path="/usr/bin")
        self.assertEqual(login, ["/usr/bin/zentara", "--autostart"])
        if not tablet_hardware():
            autostarted = subprocess.run(login, env=display.env(), timeout=30, stdout=subprocess.PIPE,
                                         stderr=subprocess.STDOUT, text=True)
            self.assertEqual((autostarted.returncode, autostarted.stdout), (0, ""))
            self.assertEqual(display.find(PANEL_TITLE), [])
        menu = shutil.which(desktop_entry("/" + MENU_ENTRY.as_posix())["Exec"], path="/usr/bin")
        self.assertEqual(menu, "/usr/bin/zentara")
        process = start_panel(self, display, menu)
        second = subprocess.run([menu], env=display.env({"GSETTINGS_BACKEND": "memory"}), timeout=30,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.assertEqual(second.returncode, 0)
        self.assertEqual(len(display.find(PANEL_TITLE)), 1)
        self.assertIsNone(process.poll())
        process.kill()
        process.wait()

        def left_behind():
            # Shared folders such as /usr/share stay; the package's own go.
            return sorted(path for path in files if path and os.path.lexists(path)
                          and (not os.path.isdir(path) or "zentara" in path))

        result = apt_get("remove", "zentara", check=False)
        self.assertEqual(result.returncode, 0, result.stdout)
        # Removal keeps the conffile (its TryExec then skips it at login) and the folders above it.
        self.assertEqual(left_behind(), conffiles)
        result = apt_get("purge", "zentara", check=False)
        self.assertEqual(result.returncode, 0, result.stdout)
        self.assertFalse(installed())
        self.assertEqual(left_behind(), [])


if __name__ == "__main__":
    unittest.main()
