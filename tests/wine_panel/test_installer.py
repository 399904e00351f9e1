"""The installer under Wine, as a user or an administrator's script runs it: a
silent installation for the signed-in user, the program started from its
Start-menu entry, and the silent removal Apps & features runs, which leaves
nothing behind."""
import os
import shlex
import shutil
import time
import unittest
from pathlib import Path

from harness import PANEL_CLASS, PANEL_TITLE, App, Session, _build_dir, report
from waiting import wait_for

UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Zentara"


class InstallerTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.session = Session()
        installer = os.environ.get("ZENTARA_INSTALLER")
        cls.installer = Path(installer) if installer else next((_build_dir() / "package").glob("*-setup.exe"))
        cls.release = App(cls.session).dir
        local, roaming = cls.session.wine("cmd", "/c", "echo %LOCALAPPDATA%^|%APPDATA%").stdout.strip().split("|")
        cls.folder = cls.unix_path(local) / "Programs" / "Zentara"
        programs = cls.unix_path(roaming) / "Microsoft" / "Windows" / "Start Menu" / "Programs"
        cls.menu_shortcut = programs / "Zentara.lnk"
        # Wine spells the folder StartUp; Windows finds it whatever the case.
        startup = next((path for path in programs.iterdir() if path.name.lower() == "startup"), programs / "Startup")
        cls.startup_shortcut = startup / "Zentara.lnk"

    @classmethod
    def tearDownClass(cls):
        cls.session.close()

    @classmethod
    def unix_path(cls, windows):
        drive, _, rest = windows.partition(":\\")
        assert drive.upper() == "C", windows
        return cls.session.prefix / "drive_c" / Path(*rest.split("\\"))

    @classmethod
    def windows_path(cls, unix):
        return "C:\\" + "\\".join(Path(unix).relative_to(cls.session.prefix / "drive_c").parts)

    def setUp(self):
        self.remove_what_is_left()

    def tearDown(self):
        self.remove_what_is_left()

    def remove_what_is_left(self):
        """Puts the prefix back as it was, also after a failed case."""
        if self.session.windows():
            App(self.session).close_all()
        if self.registry() is not None:
            self.uninstall()
        self.session.wine("reg", "delete", UNINSTALL_KEY, "/f")
        shutil.rmtree(self.folder, ignore_errors=True)
        for shortcut in (self.menu_shortcut, self.startup_shortcut):
            shortcut.unlink(missing_ok=True)

    def install(self, *options, expected_exit=0):
        started = time.monotonic()
        result = self.session.wine(self.installer, "/S", *options)
        self.assertEqual(result.returncode, expected_exit, result.stdout + result.stderr)
        options = " ".join(options) or "with the default options"
        report(f"silent installation {options}: {(time.monotonic() - started) * 1000:.0f} ms")

    def uninstall(self):
        """Runs the entry's QuietUninstallString and waits for the folder to go: the
        uninstaller hands over to a copy of itself outside the folder and ends at once."""
        started = time.monotonic()
        program, *arguments = shlex.split(self.registry()["QuietUninstallString"], posix=False)
        result = self.session.wine(program.strip('"'), *arguments)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        wait_for(lambda: not self.folder.exists(), timeout=60, interval=0.1, what="the installed folder to go")
        report(f"silent removal: {(time.monotonic() - started) * 1000:.0f} ms")

    def registry(self):
        """The uninstall entry's values, or None when there is no entry."""
        result = self.session.wine("reg", "query", UNINSTALL_KEY)
        if result.returncode != 0:
            return None
        values = {}
        for line in result.stdout.splitlines():
            parts = line.strip().split(None, 2)
            if len(parts) >= 2 and parts[1].startswith("REG_"):
                value = parts[2] if len(parts) == 3 else ""
                values[parts[0]] = int(value, 16) if parts[1] == "REG_DWORD" else value
        return values

    def files(self, folder):
        return {path.relative_to(folder).as_posix() for path in folder.rglob("*") if path.is_file()}

    def assert_leads_to_the_program(self, shortcut):
        program = self.windows_path(self.folder / "Zentara.exe")
        data = shortcut.read_bytes()
        self.assertTrue(program.encode("utf-16-le") in data or program.encode() in data,
                        f"{shortcut.name} does not lead to {program}")

    def test_installs_for_the_user_starts_from_the_start_menu_and_leaves_nothing_when_removed(self):
        self.install()
        self.assertEqual(self.files(self.folder), self.files(self.release) | {"Uninstall.exe"})
        self.assertEqual((self.folder / "Zentara.exe").read_bytes(), (self.release / "Zentara.exe").read_bytes())
        self.assert_leads_to_the_program(self.menu_shortcut)
        self.assert_leads_to_the_program(self.startup_shortcut)

        installed = self.windows_path(self.folder)
        values = self.registry()
        self.assertEqual({key: values.get(key) for key in (
            "DisplayName", "DisplayVersion", "Publisher", "InstallLocation", "DisplayIcon", "UninstallString",
            "QuietUninstallString", "NoModify", "NoRepair")}, {
            "DisplayName": "Zentara", "DisplayVersion": self.installer.name.split("-")[1], "Publisher": "KOVA",
            "InstallLocation": installed, "DisplayIcon": installed + "\\Zentara.exe,0",
            "UninstallString": f'"{installed}\\Uninstall.exe"',
            "QuietUninstallString": f'"{installed}\\Uninstall.exe" /S', "NoModify": 1, "NoRepair": 1})
        kilobytes = sum(path.stat().st_size for path in self.folder.rglob("*") if path.is_file()) / 1024
        self.assertAlmostEqual(values["EstimatedSize"], kilobytes, delta=kilobytes * 0.05)

        self.session.wine("start", self.windows_path(self.menu_shortcut))
        window = self.session.wait_for_window()
        self.assertEqual(window["program"].lower(), installed.lower() + "\\zentara.exe")

        # Removed while the panel runs: the uninstaller closes it first.
        self.uninstall()
        self.assertEqual(self.session.windows(), [])
        self.assertFalse(self.menu_shortcut.exists())
        self.assertFalse(self.startup_shortcut.exists())
        self.assertIsNone(self.registry())

    def test_start_at_sign_in_is_left_out_or_put_in_by_the_startup_option(self):
        self.install("/STARTUP=maybe", expected_exit=2)
        self.assertFalse(self.folder.exists(), "a refused option installs nothing")
        self.install("/STARTUP=1")
        self.assert_leads_to_the_program(self.startup_shortcut)
        self.install("/STARTUP=0")
        self.assert_leads_to_the_program(self.menu_shortcut)
        self.assertFalse(self.startup_shortcut.exists(), "installed again without it, the shortcut goes")


if __name__ == "__main__":
    unittest.main()
