#!/usr/bin/env python3
"""Checks that every picture the program loads is present and has the right shape.

Usage: python3 art/check_geometry.py <images-folder> [--ico <icon-file>]

For every expected file below the images folder: it exists, is a PNG whose
image data decompresses to the size its header promises, is 8-bit RGBA
(colour type 6), and has exactly the expected width and height. None.png must
also be fully transparent. With --ico, the icon must hold the sizes 16, 24,
32, 48, 64 and 256. Prints every problem found and exits with 1 when there is
any, 0 otherwise. Standard library only.
"""

import os
import struct
import sys
import zlib

PANEL = (341, 113)
SIGNATURE = b"\x89PNG\r\n\x1a\n"
ICON_SIZES = (16, 24, 32, 48, 64, 256)


def expected_files():
    """(relative path with "/" separators, width, height) of every loaded picture."""
    files = [("None.png",) + PANEL, ("extend0001.png",) + PANEL, ("extend0015.png",) + PANEL]
    files += [("LEFT_Extend/%d.png" % i,) + PANEL for i in range(1, 16)]
    files += [("Button/X/%s.png" % s, 24, 24) for s in ("n", "d", "o")]
    for turn in ("Turn Left", "Turn Right"):
        files += [("Button/%s/%s.png" % (turn, s), 48, 48) for s in ("n", "d", "o", "un")]
    for lock in ("lock", "Unlock"):
        files += [("Button/%s/%s.png" % (lock, s), 48, 48) for s in ("n", "d", "o")]
    files += [("Button/Stage1/d.png", 114, 113), ("Button/Stage1/n.png", 114, 113),
              ("Button/Stage2/d.png", 91, 113)]
    return files


class PngError(Exception):
    pass


def read_png(path):
    """Returns (width, height, bit depth, colour type, interlace, raw filtered data)."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != SIGNATURE:
        raise PngError("not a PNG file")
    pos, header, idat = 8, None, bytearray()
    while pos + 8 <= len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if len(body) != length or pos + 12 + length > len(data):
            raise PngError("truncated %s chunk" % kind.decode("latin-1"))
        crc = struct.unpack(">I", data[pos + 8 + length:pos + 12 + length])[0]
        if zlib.crc32(kind + body) & 0xFFFFFFFF != crc:
            raise PngError("bad checksum in %s chunk" % kind.decode("latin-1"))
        if header is None and kind != b"IHDR":
            raise PngError("first chunk is not IHDR")
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        elif kind == b"IEND":
            break
        pos += 12 + length
    else:
        raise PngError("no IEND chunk")
    if not idat:
        raise PngError("no image data")
    try:
        raw = zlib.decompress(bytes(idat))
    except zlib.error as exc:
        raise PngError("image data does not decompress: %s" % exc)
    width, height, depth, color_type, _, _, interlace = header
    return width, height, depth, color_type, interlace, raw


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def alpha_values(width, height, raw):
    """Undoes the row filters of 8-bit RGBA data and yields every alpha byte."""
    stride = width * 4
    prev = bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - 4] if i >= 4 else 0
            upleft = prev[i - 4] if i >= 4 else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + prev[i]) & 255
            elif kind == 3:
                line[i] = (line[i] + ((left + prev[i]) >> 1)) & 255
            elif kind == 4:
                line[i] = (line[i] + _paeth(left, prev[i], upleft)) & 255
            elif kind != 0:
                raise PngError("unknown row filter %d" % kind)
        for i in range(3, stride, 4):
            yield line[i]
        prev = line


def check_picture(folder, relative, width, height):
    """Returns a list of problems with one picture (empty when it is fine)."""
    path = os.path.join(folder, *relative.split("/"))
    if not os.path.isfile(path):
        return ["%s: missing" % relative]
    try:
        w, h, depth, color_type, interlace, raw = read_png(path)
    except (OSError, PngError) as exc:
        return ["%s: %s" % (relative, exc)]
    problems = []
    if (w, h) != (width, height):
        problems.append("%s: is %d x %d, expected %d x %d" % (relative, w, h, width, height))
    if depth != 8 or color_type != 6:
        problems.append("%s: bit depth %d, colour type %d; expected 8-bit RGBA (colour type 6)"
                        % (relative, depth, color_type))
    if interlace != 0:
        problems.append("%s: interlaced" % relative)
    if problems:
        return problems
    if len(raw) != h * (1 + w * 4):
        return ["%s: image data holds %d bytes, expected %d" % (relative, len(raw), h * (1 + w * 4))]
    if relative == "None.png":
        try:
            opaque = sum(1 for a in alpha_values(w, h, raw) if a != 0)
        except PngError as exc:
            return ["%s: %s" % (relative, exc)]
        if opaque:
            problems.append("%s: %d pixels are not fully transparent" % (relative, opaque))
    return problems


def check_icon(path):
    if not os.path.isfile(path):
        return ["%s: missing" % path]
    with open(path, "rb") as f:
        data = f.read()
    if len(data) < 6 or struct.unpack("<HHH", data[:6])[:2] != (0, 1):
        return ["%s: not an icon file" % path]
    count = struct.unpack("<H", data[4:6])[0]
    sizes = []
    for i in range(count):
        entry = data[6 + 16 * i:22 + 16 * i]
        if len(entry) < 16:
            return ["%s: truncated directory" % path]
        w, h, _, _, _, _, size, offset = struct.unpack("<BBBBHHII", entry)
        if offset + size > len(data):
            return ["%s: image %d reaches past the end of the file" % (path, i)]
        sizes.append((w or 256, h or 256))
    wanted = [(s, s) for s in ICON_SIZES]
    if sorted(sizes) != wanted:
        return ["%s: holds sizes %s, expected %s" % (path, sorted(sizes), wanted)]
    return []


def main(argv):
    args = list(argv)
    icon = None
    if "--ico" in args:
        at = args.index("--ico")
        if at + 1 >= len(args):
            print("check_geometry: --ico needs a file name", file=sys.stderr)
            return 2
        icon = args[at + 1]
        del args[at:at + 2]
    if len(args) != 1:
        print("usage: check_geometry.py <images-folder> [--ico <icon-file>]", file=sys.stderr)
        return 2
    folder = args[0]
    if not os.path.isdir(folder):
        print("check_geometry: %s is not a folder" % folder, file=sys.stderr)
        return 1
    files = expected_files()
    problems = []
    for relative, width, height in files:
        problems += check_picture(folder, relative, width, height)
    if icon is not None:
        problems += check_icon(icon)
    if problems:
        for problem in problems:
            print("check_geometry: " + problem, file=sys.stderr)
        print("check_geometry: %d problem(s) in %s" % (len(problems), folder), file=sys.stderr)
        return 1
    print("check_geometry: %d pictures in %s are in order" % (len(files), folder))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
