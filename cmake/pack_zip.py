#!/usr/bin/env python3
"""Packs a folder into a zip whose bytes depend on the files alone: the folder
is the zip's one top-level entry, the files follow in the order of their
names, each with the given time, the same attributes and no extra fields.

    pack_zip.py FOLDER ZIP SECONDS_SINCE_1970
"""
import os
import sys
import time
import zipfile
from pathlib import Path

ZIP_EARLIEST = 315532800  # 1980-01-01, the first time a zip entry can hold


def main():
    folder, target, epoch = Path(sys.argv[1]), Path(sys.argv[2]), int(sys.argv[3])
    # Zip times have no zone: the time in UTC, the same on every machine.
    stamp = time.gmtime(max(epoch, ZIP_EARLIEST))[:6]
    names = sorted(path.relative_to(folder).as_posix() for path in folder.rglob("*") if path.is_file())
    partial = target.with_name(target.name + ".part")
    with zipfile.ZipFile(partial, "w", zipfile.ZIP_DEFLATED) as archive:
        for name in names:
            entry = zipfile.ZipInfo(f"{folder.name}/{name}", stamp)
            entry.create_system = 3  # Unix, so that unzip there gives rw-r--r--
            entry.external_attr = 0o100644 << 16
            entry.compress_type = zipfile.ZIP_DEFLATED
            archive.writestr(entry, (folder / name).read_bytes())
    os.replace(partial, target)
    return 0


if __name__ == "__main__":
    sys.exit(main())
