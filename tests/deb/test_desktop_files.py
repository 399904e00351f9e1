"""The files that tell the desktop about the program, checked as the sources give them, however the package
is built: the manual page as mandoc reads it, and the metainfo with and without the project's addresses."""
import re
import subprocess
import tempfile
import unittest
import xml.etree.ElementTree as ElementTree
from pathlib import Path

REPO = Path(__file__).resolve().parents[2]
X11 = REPO / "src" / "app" / "x11"
METAINFO = X11 / "invalid.kova.zentara.metainfo.xml.in"


def run(*args):
    return subprocess.run([str(a) for a in args], stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)


class DesktopFilesTest(unittest.TestCase):

    def test_the_manual_page_passes_mandoc_and_is_dated_with_the_release(self):
        page = X11 / "zentara.1.in"
        result = run("mandoc", "-Tlint", "-W", "warning", page)
        self.assertEqual((result.returncode, result.stdout), (0, ""))
        date = re.match(r'\.TH ZENTARA 1 (\S+) ', page.read_text()).group(1)
        self.assertEqual(date, re.search(r'<release version="[^"]+" date="([^"]+)"', METAINFO.read_text()).group(1))

    def test_the_metainfo_names_the_addresses_it_is_given_and_only_those(self):
        homepage, screenshot = "https://example.org/zentara?page=1&lang=en", "https://example.org/linux-panel.png"
        for given in ({}, {"HOMEPAGE": homepage, "SCREENSHOT": screenshot}):
            with self.subTest(given=given), tempfile.TemporaryDirectory() as folder:
                output = Path(folder) / "invalid.kova.zentara.metainfo.xml"
                result = run("cmake", f"-DMETAINFO_TEMPLATE={METAINFO}", f"-DMETAINFO_OUTPUT={output}",
                             *(f"-DMETAINFO_{name}={value}" for name, value in given.items()),
                             "-P", REPO / "cmake" / "write_metainfo.cmake")
                self.assertEqual(result.returncode, 0, result.stdout)
                result = run("appstreamcli", "validate", "--no-net", output)
                self.assertEqual(result.returncode, 0, result.stdout)
                component = ElementTree.parse(output).getroot()
                self.assertEqual([url.text for url in component.findall("url[@type='homepage']")],
                                 [homepage] if given else [])
                self.assertEqual([image.text for image in component.findall("screenshots/screenshot/image")],
                                 [screenshot] if given else [])


if __name__ == "__main__":
    unittest.main()
