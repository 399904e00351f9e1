#!/usr/bin/env python3
"""Builds the Debian packages as a distribution does: dpkg-buildpackage on a clean copy of the files
git tracks (as they are in the working tree), so nothing of the working tree's own builds gets in.

    build_debian_packages.py SOURCE OUTPUT [--arch ARCH] [--source-package]

ARCH defaults to this machine's architecture; another one is cross-built (profiles cross and
nocheck). With --source-package the source package is built too. The packages and their .changes
land in OUTPUT, with SHA256SUMS over every package there; the copy and the build log stay in
OUTPUT/build-ARCH. Nothing is built again while the tracked files, the architecture and the options
are as the last build found them. SOURCE_DATE_EPOCH, unless set, is the last commit's time, so two
builds of one commit give the same bytes. Standard library only.
"""
import argparse
import hashlib
import os
import shutil
import subprocess
import sys
import time
from pathlib import Path

PACKAGE_SUFFIXES = (".deb", ".dsc", ".tar.xz")


def output_of(*command, cwd=None):
    return subprocess.run(command, cwd=cwd, check=True, stdout=subprocess.PIPE, text=True).stdout.strip()


def tracked_files(source):
    """The tracked files that the working tree holds, by path relative to `source`."""
    listing = output_of("git", "-C", str(source), "ls-files", "-z").split("\0")
    return sorted(name for name in listing if name and os.path.lexists(source / name))


def tree_digest(source, names, settings):
    digest = hashlib.sha256(repr(settings).encode())
    for name in names:
        path = source / name
        digest.update(name.encode() + b"\0")
        if path.is_symlink():
            digest.update(b"link " + os.readlink(path).encode())
        else:
            digest.update(b"x" if os.access(path, os.X_OK) else b"-")
            digest.update(hashlib.sha256(path.read_bytes()).digest())
    return digest.hexdigest()


def export(source, names, tree, epoch):
    """Copies the files as git knows them: modes 0755 or 0644 (folders 0755) whatever the umask, and
    every time stamp at `epoch`, however old the working tree's files are."""
    if tree.exists():
        shutil.rmtree(tree)
    for name in names:
        target = tree / name
        target.parent.mkdir(parents=True, exist_ok=True)
        shutil.copy2(source / name, target, follow_symlinks=False)
        if not target.is_symlink():
            target.chmod(0o755 if os.access(target, os.X_OK) else 0o644)
        os.utime(target, (epoch, epoch), follow_symlinks=False)
    for folder, _, _ in os.walk(tree):
        os.chmod(folder, 0o755)
        os.utime(folder, (epoch, epoch))


def changes_files(changes):
    """The files a .changes lists (its Files field)."""
    names, listing = [], False
    for line in changes.read_text().splitlines():
        if not line.startswith(" "):
            listing = line.startswith("Files:")
        elif listing:
            names.append(line.split()[-1])
    return names


def write_checksums(output):
    """SHA256SUMS over every package in `output`, written as the zips' are."""
    packages = sorted(str(path) for path in output.iterdir() if path.name.endswith(PACKAGE_SUFFIXES))
    subprocess.run(["cmake", f"-DOUTPUT={output / 'SHA256SUMS'}", f"-DFILES={';'.join(packages)}", "-P",
                    str(Path(__file__).with_name("write_checksums.cmake"))], check=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("source", type=Path)
    parser.add_argument("output", type=Path)
    parser.add_argument("--arch", default=output_of("dpkg", "--print-architecture"))
    parser.add_argument("--source-package", action="store_true")
    args = parser.parse_args()
    source, output = args.source.resolve(), args.output.resolve()

    epoch = os.environ.get("SOURCE_DATE_EPOCH") or output_of("git", "-C", str(source), "log", "-1", "--format=%ct")
    version = output_of("dpkg-parsechangelog", "-l", str(source / "debian" / "changelog"), "-S", "Version")
    command = ["dpkg-buildpackage", "-us", "-uc", "-jauto"]
    if args.arch != output_of("dpkg", "--print-architecture"):
        command += [f"-a{args.arch}", "-Pcross,nocheck"]
    command += [] if args.source_package else ["-b"]

    work = output / f"build-{args.arch}"
    stamp = work / "stamp"
    names = tracked_files(source)
    digest = tree_digest(source, names, (command, epoch, os.environ.get("DEB_BUILD_OPTIONS", "")))
    changes = output / f"zentara_{version}_{args.arch}.changes"
    if stamp.exists() and stamp.read_text() == digest and changes.exists() and \
            all((output / name).exists() for name in changes_files(changes)):
        print(f"The {args.arch} packages in {output} are up to date.")
        return 0

    started = time.monotonic()
    stamp.unlink(missing_ok=True)
    tree = work / f"zentara-{version}"
    export(source, names, tree, int(epoch))
    log = work / "build.log"
    print(f"Building the {args.arch} packages: {' '.join(command)} (log: {log})", flush=True)
    with log.open("w") as stream:
        result = subprocess.run(command, cwd=tree, stdout=stream, stderr=subprocess.STDOUT,
                                env=dict(os.environ, SOURCE_DATE_EPOCH=epoch))
    if result.returncode != 0:
        sys.stdout.write(log.read_text()[-20000:])
        print(f"dpkg-buildpackage failed with exit code {result.returncode}", file=sys.stderr)
        return 1

    # The artefacts go beside the other architecture's, in place of this one's older ones.
    older = [f"*_{args.arch}.deb", f"*_{args.arch}.changes", f"*_{args.arch}.buildinfo"]
    for path in [p for pattern in older + (["*.dsc", "*.tar.xz"] if args.source_package else [])
                 for p in output.glob(pattern)]:
        path.unlink()
    built = work / changes.name
    for name in changes_files(built) + [built.name]:
        os.replace(work / name, output / name)
    write_checksums(output)
    stamp.write_text(digest)
    print(f"Built {', '.join(changes_files(changes))} in {time.monotonic() - started:.0f} s")
    return 0


if __name__ == "__main__":
    sys.exit(main())
