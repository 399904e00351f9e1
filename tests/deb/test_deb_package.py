"""The Debian packages as dpkg, Debian's checkers and the desktop see them, and the program installed from them.

CTest builds the packages first (cmake/build_debian_packages.py) and names their folder in ZENTARA_DEB_DIR.
"""
import configparser
import gzip
import json
import os
import re
import shutil
import stat
import subprocess
import tempfile
import unittest
from pathlib import Path

from source_module import load_module
from tablet_hardware import tablet_hardware
from waiting import wait_for
from x11_panel_harness import PANEL_SIZE, PANEL_TITLE, Display, build_dir, collapsed_panel, largest_difference

REPO = Path(__file__).resolve().parents[2]
build_debian_packages = load_module("build_debian_packages", REPO / "cmake" / "build_debian_packages.py")

TOLERANCE = 4
PROGRAM = Path("usr/lib/zentara/zentara")
LIBRARY = PROGRAM.parent / "images" / "libquillet.so"
MENU_ENTRY = Path("usr/share/applications/zentara.desktop")
AUTOSTART_ENTRY = Path("etc/xdg/autostart/zentara.desktop")
NATIVE = subprocess.run(["dpkg", "--print-architecture"], check=True, stdout=subprocess.PIPE,
                        text=True).stdout.strip()
ELF_MACHINES = {"amd64": 0x3E, "arm64": 0xB7}
# What lintian still says with --pedantic, and why (the README explains it too): the artwork lies beside
# the program, where the program looks for it.
EXPECTED_LINTIAN = {"P: zentara: image-file-in-usr-lib"}


def package_dir():
    return Path(os.environ.get("ZENTARA_DEB_DIR") or build_dir() / "debian")


def version():
    return os.environ.get("ZENTARA_VERSION") or run("dpkg-parsechangelog", "-l", REPO / "debian/changelog",
                                                    "-S", "Version").stdout.strip()


def package_path(arch=NATIVE, name="zentara"):
    return package_dir() / f"{name}_{version()}_{arch}.deb"


def build_tree(arch=NATIVE):
    """The copy of the source that dpkg-buildpackage built in, with its build folder."""
    return package_dir() / f"build-{arch}" / f"zentara-{version()}"


def lintian_tags(changes):
    """What lintian reports on a .changes (its source and binary packages) with --pedantic and its hints, one
    "kind: package: tag" each, and its whole output."""
    result = run("lintian", "--pedantic", "--display-info", changes, check=False)
    tags = {match.group(1) for match in re.finditer(r"^([EWIP]: [^:]+: \S+)", result.stdout, re.MULTILINE)}
    return tags, result.stdout


def dep5_paragraphs(text):
    """The paragraphs of a machine-readable copyright file, each a dict of its fields."""
    paragraphs = []
    for block in re.split(r"\n[ \t]*\n", text.strip()):
        fields, name = {}, None
        for line in block.split("\n"):
            if line[:1] in (" ", "\t"):
                fields[name] += "\n" + line
            else:
                name, _, value = line.partition(":")
                fields[name] = value.strip()
        paragraphs.append(fields)
    return paragraphs


def dep5_licence(field):
    """The name and the text of a License field."""
    name, _, text = field.partition("\n")
    return name.strip(), "\n".join("" if line.strip() == "." else line[1:] for line in text.split("\n"))


def dep5_matches(patterns, path):
    return any(re.fullmatch(re.escape(pattern).replace(r"\*", ".*").replace(r"\?", "."), path)
               for pattern in patterns.split())


def words(text):
    return " ".join(text.split())


def elf_machine(path):
    return int.from_bytes(path.read_bytes()[18:20], "little")


def build_id(path):
    return re.search(r"Build ID: ([0-9a-f]+)", run("readelf", "-n", path).stdout).group(1)


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


class PackageChecks:
    """What holds for the package of each architecture, checked from its files and control fields."""

    arch = NATIVE

    @classmethod
    def setUpClass(cls):
        cls.deb = package_path(cls.arch)
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
        self.assertTrue((self.root / PROGRAM).stat().st_mode & stat.S_IXOTH)
        # The images folder is the artwork, byte for byte, and the rotation library.
        images = self.root / LIBRARY.parent
        artwork = REPO / "images"
        self.assertEqual(files_below(images), files_below(artwork) | {LIBRARY.name})
        for name in files_below(artwork):
            self.assertEqual((images / name).read_bytes(), (artwork / name).read_bytes(), name)
        # Both binaries are built for the package's architecture and stripped, their symbols kept in the
        # -dbgsym package under their build ids.
        debug, symbols_package = Path(self.tmp.name) / "dbgsym", package_path(self.arch, "zentara-dbgsym")
        self.assertTrue(symbols_package.exists(), f"no {symbols_package.name}")
        subprocess.run(["dpkg-deb", "-x", str(symbols_package), str(debug)], check=True)
        for binary in (PROGRAM, LIBRARY):
            with self.subTest(binary=binary):
                self.assertEqual(elf_machine(self.root / binary), ELF_MACHINES[self.arch])
                self.assertNotIn(".symtab", run("readelf", "-S", "-W", self.root / binary).stdout)
                identity = build_id(self.root / binary)
                symbols = debug / "usr/lib/debug/.build-id" / identity[:2] / f"{identity[2:]}.debug"
                self.assertIn(".symtab", run("readelf", "-S", "-W", symbols).stdout)
        # Every icon is a PNG of the size its hicolor folder names, 48 pixels among them.
        hicolor = self.root / "usr" / "share" / "icons" / "hicolor"
        icons = sorted(hicolor.glob("*/apps/zentara.png"))
        self.assertIn(hicolor / "48x48" / "apps" / "zentara.png", icons)
        for icon in icons:
            width, height = (int(n) for n in icon.parent.parent.name.split("x"))
            self.assertEqual(png_size(icon), (width, height), icon)

    def test_the_control_fields_come_from_the_project_and_the_binaries(self):
        self.assertEqual(self.field("Package"), "zentara")
        self.assertEqual(self.field("Version"), version())
        self.assertEqual(self.field("Architecture"), self.arch)
        entries = [entry.strip() for entry in self.field("Depends").split(",")]
        depends = {entry.split()[0] for entry in entries if entry}
        # The program's libraries, and libquillet.so's own (XInput is only the library's).
        for package in ("libc6", "libx11-6", "libpango-1.0-0", "libpng16-16", "libxi6"):
            self.assertIn(package, depends)
        # The desktop's rotation setting is kept by a GSettings backend, which nothing links against.
        self.assertIn("dconf-gsettings-backend | gsettings-backend", entries)
        self.assertEqual(self.field("Recommends"), "iio-sensor-proxy")
        # sway, labwc and Wayfire do not bring XWayland along, which the program needs there.
        self.assertEqual(self.field("Suggests"), "xwayland")
        # The autostart entry is the administrator's to change: dpkg keeps it until purge.
        conffiles = run("dpkg-deb", "--info", self.deb, "conffiles").stdout.split()
        self.assertEqual(conffiles, ["/" + AUTOSTART_ENTRY.as_posix()])

    def test_lintian_finds_only_what_the_layout_needs(self):
        # Errors, warnings, hints and pedantic notes on the source (with the native build) and binary
        # packages alike: only the artwork's place remains.
        tags, output = lintian_tags(package_dir() / f"zentara_{version()}_{self.arch}.changes")
        self.assertEqual(tags, EXPECTED_LINTIAN, output)


class NativePackageTest(PackageChecks, unittest.TestCase):
    """The package of this machine's architecture, which also runs here."""

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

    def test_the_metainfo_and_changelog_carry_the_version(self):
        metainfo = next((self.root / "usr/share/metainfo").glob("*.metainfo.xml"))
        result = run("appstreamcli", "validate", "--no-net", metainfo, check=False)
        self.assertEqual(result.returncode, 0, result.stdout)
        changelog = Path(self.tmp.name) / "changelog"
        changelog.write_bytes(gzip.decompress((self.root / "usr/share/doc/zentara/changelog.gz").read_bytes()))
        self.assertEqual(run("dpkg-parsechangelog", "-l", changelog, "-S", "Version").stdout.strip(), version())
        self.assertEqual(re.search(r'<release version="([^"]+)"', metainfo.read_text()).group(1), version())

    def test_the_copyright_file_names_everything_the_binaries_hold(self):
        paragraphs = dep5_paragraphs((self.root / "usr/share/doc/zentara/copyright").read_text())
        self.assertTrue(paragraphs[0]["Format"].startswith(
            "https://www.debian.org/doc/packaging-manuals/copyright-format/"))
        files = [paragraph for paragraph in paragraphs if "Files" in paragraph]
        texts = {dep5_licence(p["License"])[0]: dep5_licence(p["License"])[1] for p in paragraphs
                 if "Files" not in p and "License" in p}
        # The first paragraph is the project's: its licence, word for word.
        self.assertEqual(files[0]["Files"], "*")
        self.assertIn("2026 KOVA", files[0]["Copyright"])
        self.assertTrue(words((REPO / "LICENSE").read_text()).endswith(words(dep5_licence(files[0]["License"])[1])))
        # Each protocol's code that the build generated (the project's own description aside) has the
        # paragraph of its description: its copyright lines and its licence, with the licence's text.
        tree = build_tree()
        generated = sorted(tree.glob("obj-*/src/rotation/linux_desktop/wayland/protocols/*"))
        self.assertTrue(generated, f"no generated protocol code in {tree}")
        for path in generated:
            with self.subTest(path=path.name):
                text = path.read_text()
                holders = re.findall(r"(?:SPDX-FileCopyrightText:|Copyright ©) *(.+)", text)
                paragraph = [p for p in files if dep5_matches(p["Files"], path.relative_to(tree).as_posix())][-1]
                if not holders:
                    self.assertIs(paragraph, files[0])
                    continue
                self.assertIsNot(paragraph, files[0])
                for holder in holders:
                    self.assertIn(holder.strip(), paragraph["Copyright"])
                name, licence = dep5_licence(paragraph["License"])
                licence = licence or texts[name]
                self.assertTrue(licence.strip(), name)
                spdx = re.search(r"SPDX-License-Identifier: *(\S+)", text)
                if spdx:
                    self.assertEqual(name, spdx.group(1))
                else:
                    self.assertIn(words(licence), words(re.sub(r"\n \* ?", "\n", text)))

    def test_the_build_takes_its_optimisation_from_the_distribution(self):
        # The distribution's flags as they come, and nothing of CMake's release flags on top: -O2, and with
        # DEB_BUILD_OPTIONS=noopt -O0, in every compiler call.
        def optimisation_levels(tree):
            commands = json.loads(next(tree.glob("obj-*/compile_commands.json")).read_text())
            self.assertTrue(commands)
            return {level for command in commands for level in re.findall(r" (-O\S*)", command["command"])}

        self.assertEqual(optimisation_levels(build_tree()), {"-O2"})
        with tempfile.TemporaryDirectory(prefix="zentara-noopt-") as folder:
            tree = Path(folder) / "zentara"
            build_debian_packages.export(REPO, build_debian_packages.tracked_files(REPO), tree, 0)
            result = subprocess.run(["debian/rules", "override_dh_auto_configure"], cwd=tree, stdout=subprocess.PIPE,
                                    stderr=subprocess.STDOUT, text=True,
                                    env=dict(os.environ, DEB_BUILD_OPTIONS="noopt"))
            self.assertEqual(result.returncode, 0, result.stdout)
            self.assertEqual(optimisation_levels(tree), {"-O0"})

    def test_the_unpacked_command_shows_the_panel(self):
        display = Display(window_manager=True)
        self.addCleanup(display.close)
        start_panel(self, display, self.root / "usr" / "bin" / "zentara")


class Arm64PackageTest(PackageChecks, unittest.TestCase):
    """The cross-built arm64 package (its program runs in test_arm64_program)."""

    arch = "arm64"


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
