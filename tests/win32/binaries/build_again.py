#!/usr/bin/env python3
"""Builds the packages of a build again, from the same sources in another build
folder, and checks that they come out the same, byte for byte, and that the
Windows files in the zip name neither the source nor a build folder.

    build_again.py SOURCE FIRST_BUILD SECOND_BUILD [CMAKE_OPTION...]

FIRST_BUILD/package/SHA256SUMS names the packages to compare; SECOND_BUILD is
made anew, configured with the options given (no tests), and only its package
targets are built. Standard library only.
"""
import shutil
import subprocess
import sys
import time
import zipfile
from pathlib import Path

from check_pe import verdict


def paths_named(data, folders):
    """The folders whose path the data holds, in 8-bit or UTF-16 text."""
    return [folder for folder in folders
            if any(form in data for form in (folder.encode(), folder.encode("utf-16-le"),
                                             folder.replace("/", "\\").encode("utf-16-le")))]


def main():
    source, first, second = (Path(argument).resolve() for argument in sys.argv[1:4])
    options = sys.argv[4:]
    shutil.rmtree(second, ignore_errors=True)
    started = time.monotonic()
    subprocess.run(["cmake", "-S", source, "-B", second, "-G", "Ninja", "-DZENTARA_TESTS=OFF", *options],
                   check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", second, "--target", "zentara_package", "-j2"], check=True,
                   stdout=subprocess.DEVNULL)
    print(f"built again in {time.monotonic() - started:.0f} s")

    failures = []
    packages = [line.split("  ", 1)[1] for line in (first / "package" / "SHA256SUMS").read_text().splitlines()]
    for name in [*packages, "SHA256SUMS"]:
        same = (first / "package" / name).read_bytes() == (second / "package" / name).read_bytes()
        print(f"{name}: {'the same' if same else 'different'}")
        if not same:
            failures.append(f"{name} differs between the two builds")
    print((first / "package" / "SHA256SUMS").read_text().strip())

    folders = [str(source), str(first), str(second)]
    with zipfile.ZipFile(next(second.glob("package/*.zip"))) as archive:
        for name in archive.namelist():
            if name.endswith((".exe", ".dll")):
                named = paths_named(archive.read(name), folders)
                print(f"{name}: {'names ' + ', '.join(named) if named else 'no build paths'}")
                failures += [f"{name} names {folder}" for folder in named]

    return verdict(failures)


if __name__ == "__main__":
    sys.exit(main())
