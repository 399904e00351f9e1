#!/usr/bin/env python3
"""Checks one architecture's release as a Windows user gets it: the zip, the
installer and SHA256SUMS beside them, without running anything.

    check_release.py ZIP CHECK...

Checks (each prints what it found, and "FAIL: ..." when it does not hold):
    --entries EPOCH               one top-level folder named like the zip, holding the program,
                                  images/ with Quillet.dll and the three texts; entries in the
                                  order of their names, each dated EPOCH (UTC)
    --texts LICENSE               README.txt, LICENSE.txt and THIRD-PARTY-NOTICES.txt have Windows
                                  line ends only; LICENSE.txt is LICENSE
    --notices COPYRIGHT NAME...   THIRD-PARTY-NOTICES.txt holds the named licences' texts word
                                  for word as the Debian copyright file COPYRIGHT has them
    --installer EXE               the installer holds the zip's files, byte for byte (read
                                  with 7-Zip's 7zz)
    --checksums SHA256SUMS        `sha256sum -c` passes on it, and it names every package beside
                                  it (the zip and the installer), no more
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
    if "images/Quillet.dll" not in files:
        failures.append("no images/Quillet.dll")
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


def licence_text(copyright_file, name):
    """A licence's text from a machine-readable Debian copyright file, in its
    words alone (the file indents each line and writes "." for an empty one)."""
    for paragraph in Path(copyright_file).read_text().split("\n\n"):
        lines = paragraph.split("\n")
        if f"License: {name}" in lines[:-1]:
            text = lines[lines.index(f"License: {name}") + 1:]
            return " ".join(line.strip() for line in text if line.strip() != ".").split()
    raise ValueError(f"{copyright_file} gives no text of the licence {name}")


def check_notices(archive, copyright_file, names):
    _, files = release_files(archive)
    notices = " ".join(archive.read(files["THIRD-PARTY-NOTICES.txt"]).decode().split())
    failures = []
    for name in names:
        found = " ".join(licence_text(copyright_file, name)) in notices
        print(f"{name}: {'word for word' if found else 'missing'}")
        if not found:
            failures.append(f"THIRD-PARTY-NOTICES.txt lacks the {name} licence as {copyright_file} gives it")
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


def check_checksums(checksums):
    result = subprocess.run(["sha256sum", "-c", checksums.name], cwd=checksums.parent,
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    print(result.stdout.strip())
    failures = [] if result.returncode == 0 else ["sha256sum -c fails"]
    listed = sorted(line.split("  ", 1)[1] for line in checksums.read_text().splitlines())
    expected = sorted(path.name for pattern in ("*.zip", "*-setup.exe") for path in checksums.parent.glob(pattern))
    if listed != expected:
        failures.append(f"{checksums.name} names {listed}, expected {expected}")
    return failures


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("zip", type=Path)
    parser.add_argument("--entries", type=int, metavar="EPOCH")
    parser.add_argument("--texts", metavar="LICENSE")
    parser.add_argument("--notices", nargs="+", metavar="COPYRIGHT NAME")
    parser.add_argument("--installer", type=Path)
    parser.add_argument("--checksums", type=Path)
    args = parser.parse_args()

    failures = []
    try:
        with zipfile.ZipFile(args.zip) as archive:
            if args.entries is not None:
                failures += check_entries(archive, args.zip, args.entries)
            if args.texts:
                failures += check_texts(archive, args.texts)
            if args.notices:
                failures += check_notices(archive, args.notices[0], args.notices[1:])
            if args.installer:
                failures += check_installer(archive, args.installer)
        if args.checksums:
            failures += check_checksums(args.checksums)
    except (OSError, KeyError, ValueError, zipfile.BadZipFile, subprocess.CalledProcessError) as error:
        failures.append(f"cannot read the release: {error}")

    return verdict(failures)


if __name__ == "__main__":
    sys.exit(main())
