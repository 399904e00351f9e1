#!/usr/bin/env python3
"""Checks one architecture's release as a Windows user gets it, the zip and the
installer, without running anything.

    check_release.py ZIP CHECK...

Checks (each prints what it found, and "FAIL: ..." when it does not hold):
    --entries EPOCH               one top-level folder named like the zip, holding the program,
                                  images/ and the three texts; entries in the
                                  order of their names, each dated EPOCH (UTC)
    --texts LICENSE               README.txt, LICENSE.txt and THIRD-PARTY-NOTICES.txt have Windows
                                  line ends only; LICENSE.txt is LICENSE
    --installer EXE               the installer holds the zip's files, byte for byte (read
                                  with 7-Zip's 7zz)
"""
import argparse
import re
import subprocess
import sys
import tempfile
import time
import zipfile
from pathlib import Path

from check_pe import verdict

TEXTS = ("README.txt", "LICENSE.txt", "THIRD-PARTY-NOTICES.txt")
TOP_LEVEL = {"Zentara.exe", "images", *TEXTS}
# What the installer makes on the user's machine or uses itself, not the release's.
INSTALLER_OWN = re.compile(r"^(\$PLUGINSDIR/|Uninstall\.exe$)")


def release_files(archive):
    """The zip's folder name and its files, relative to it."""
    names = archive.namelist()
    folders = {name.split("/", 1)[0] for name in names}
    if len(folders) != 1:
        raise ValueError(f"expected one top-level folder, found {sorted(folders)}")
    folder = folders.pop()
    return folder, {name[len(folder) + 1:]: name for name in names if not name.endswith("/")}


def check_entries(archive, zip_path, epoch):
    folder, files = release_files(archive)
    print(f"folder: {folder}, {len(files)} files")
    failures = [] if folder == zip_path.stem else [f"folder {folder}, expected {zip_path.stem}"]
    top = {name.split("/", 1)[0] for name in files}
    print("top level:", *sorted(top))
    if top != TOP_LEVEL:
        failures.append(f"top level is {sorted(top)}, expected {sorted(TOP_LEVEL)}")
    names = archive.namelist()
    if names != sorted(names):
        failures.append("the entries are not in the order of their names")
    stamp = time.gmtime(epoch - epoch % 2)[:6]  # zip times count in steps of 2 s
    dates = {info.date_time for info in archive.infolist()}
    print("dates:", *sorted(dates))
    if dates != {stamp}:
        failures.append(f"entries dated {sorted(dates)}, expected only {stamp}")
    return failures


def check_texts(archive, licence):
    _, files = release_files(archive)
    failures = []
    for name in TEXTS:
        data = archive.read(files[name]) if name in files else b""
        lines, windows = data.count(b"\n"), data.count(b"\r\n")
        print(f"{name}: {lines} lines, {windows} with Windows line ends")
        if lines == 0 or lines != windows or data.count(b"\r") != windows:
            failures.append(f"{name} does not end every line with CR LF")
    if "LICENSE.txt" in files and archive.read(files["LICENSE.txt"]) != \
            Path(licence).read_bytes().replace(b"\n", b"\r\n"):
        failures.append("LICENSE.txt is not the project's LICENSE")
    return failures


def check_installer(archive, installer):
    _, files = release_files(archive)
    with tempfile.TemporaryDirectory() as folder:
        subprocess.run(["7zz", "x", "-y", f"-o{folder}", str(installer)], check=True,
                       stdout=subprocess.DEVNULL)
        held = {path.relative_to(folder).as_posix(): path for path in Path(folder).rglob("*") if path.is_file()}
        held = {name: path for name, path in held.items() if not INSTALLER_OWN.match(name)}
        print(f"{installer.name}: {len(held)} files of the release, zip: {len(files)}")
        failures = [f"the installer lacks {name}" for name in sorted(files.keys() - held.keys())]
        failures += [f"the installer holds {name}, the zip does not" for name in sorted(held.keys() - files.keys())]
        failures += [f"{name} differs from the zip's" for name in sorted(files.keys() & held.keys())
                     if held[name].read_bytes() != archive.read(files[name])]
    return failures


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("zip", type=Path)
    parser.add_argument("--entries", type=int, metavar="EPOCH")
    parser.add_argument("--texts", metavar="LICENSE")
    parser.add_argument("--installer", type=Path)
    args = parser.parse_args()

    failures = []
    try:
        with zipfile.ZipFile(args.zip) as archive:
            if args.entries is not None:
                failures += check_entries(archive, args.zip, args.entries)
            if args.texts:
                failures += check_texts(archive, args.texts)
            if args.installer:
                failures += check_installer(archive, args.installer)
    except (OSError, KeyError, ValueError, zipfile.BadZipFile, subprocess.CalledProcessError) as error:
        failures.append(f"cannot read the release: {error}")

    return verdict(failures)


if __name__ == "__main__":
    sys.exit(main())
