#!/usr/bin/env python3
"""Builds the packages of a build again, from the same sources in another build
folder, and checks that they come out the same, byte for byte, and that the
Windows files in the zip name no folder of the build (all lie below the sources).

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

    # The builds lie below the sources; none of them may be named, in 8-bit or UTF-16 text.
    forms = [form for path in (str(source), str(source).replace("/", "\\")) for form in
             (path.encode(), path.encode("utf-16-le"))]
    with zipfile.ZipFile(next(second.glob("package/*.zip"))) as archive:
        for name in (name for name in archive.namelist() if name.endswith((".exe", ".dll"))):
            named = any(form in archive.read(name) for form in forms)
            print(f"{name}: {'names the sources' if named else 'no build paths'}")
            failures += [f"{name} names {source}"] if named else []

    return verdict(failures)


if __name__ == "__main__":
    sys.exit(main())
