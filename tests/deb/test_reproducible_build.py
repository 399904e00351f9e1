"""Two builds of the same tree give the same packages, byte for byte, and SHA256SUMS tells them apart from
any other."""
import hashlib
import io
import os
import shutil
import subprocess
import sys
import tarfile
import unittest

from test_deb_package import NATIVE, REPO, build_dir, package_dir, package_path, version


def checksums(folder):
    lines = (folder / "SHA256SUMS").read_text().splitlines()
    return dict(reversed(line.split("  ", 1)) for line in lines)


class ReproducibleBuildTest(unittest.TestCase):
    def test_a_second_build_elsewhere_gives_the_same_bytes(self):
        # Another, longer build path, another time zone, locale and umask, and no compiler cache, which would
        # hand back the first build's objects.
        again = build_dir() / "debian-built-again-elsewhere"
        shutil.rmtree(again, ignore_errors=True)  # built anew each time, never taken as up to date
        env = dict(os.environ, CCACHE_DISABLE="1", TZ="Pacific/Kiritimati", LC_ALL="C.UTF-8", LANG="C.UTF-8")
        result = subprocess.run([sys.executable, str(REPO / "cmake/build_debian_packages.py"), str(REPO), str(again),
                                 "--source-package"], env=env, preexec_fn=lambda: os.umask(0o002),
                                stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        self.assertEqual(result.returncode, 0, result.stdout)
        # Each build records the digest of what it built from: the same tracked files, or the test says nothing.
        inputs = [(folder / f"build-{NATIVE}" / "stamp").read_text() for folder in (package_dir(), again)]
        self.assertEqual(inputs[0], inputs[1], "the tracked files changed between the two builds: run the tests again")
        first, second = checksums(package_dir()), checksums(again)
        self.assertEqual(sorted(second), [f"zentara-dbgsym_{version()}_{NATIVE}.deb", f"zentara_{version()}.dsc",
                                          f"zentara_{version()}.tar.xz", f"zentara_{version()}_{NATIVE}.deb"])
        self.assertEqual({name: first.get(name) for name in second}, second)

    def test_the_checksums_list_every_package_beside_them(self):
        folder = package_dir()
        packages = sorted(path.name for path in folder.iterdir() if path.name.endswith((".deb", ".dsc", ".tar.xz")))
        sums = checksums(folder)
        self.assertEqual(sorted(sums), packages)
        for name, digest in sums.items():
            self.assertEqual(hashlib.sha256((folder / name).read_bytes()).hexdigest(), digest, name)

    def test_every_file_carries_the_last_commits_time(self):
        epoch = subprocess.run(["git", "-C", str(REPO), "log", "-1", "--format=%ct"], check=True,
                               stdout=subprocess.PIPE, text=True).stdout.strip()
        data = subprocess.run(["dpkg-deb", "--fsys-tarfile", str(package_path())], check=True,
                              stdout=subprocess.PIPE).stdout
        with tarfile.open(fileobj=io.BytesIO(data)) as members:
            self.assertEqual({member.mtime for member in members}, {int(epoch)})


if __name__ == "__main__":
    unittest.main()
