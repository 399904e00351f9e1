#!/usr/bin/env python3
"""Checks that every picture the program loads is present and has the right shape.

Usage: python3 art/check_geometry.py <images-folder> [--ico <icon-file>]
       python3 art/check_geometry.py --places

The program has one set of pictures per display scale: the 100 % set directly
in the images folder, every other set in scale-<percent>/ below it, with the
same file names. Every length of the 100 % set is multiplied by the set's
scale and rounded half up, like every distance the program scales.

For every expected file of every set: it exists, is a PNG whose image data
decompresses to the size its header promises, is 8-bit RGBA (colour type 6),
and has exactly the expected width and height. None.png must also be fully
transparent, at every scale each button must lie inside the panel at its
scaled place, and the expanded body's straight edges must lie on whole pixels
(no partly covered pixel across its middle row and column). With --ico, the icon must hold the sizes 16, 24, 32, 48, 64 and
256. Prints every problem found and exits with 1 when there is any, 0
otherwise. --places prints, per set, where the program puts each picture.
Standard library only.
"""

import os
import struct
import sys
import zlib

PANEL = (341, 113)
SIGNATURE = b"\x89PNG\r\n\x1a\n"
ICON_SIZES = (16, 24, 32, 48, 64, 256)
SCALES = (100, 125, 150, 175, 200, 225, 250, 300)
BODY_ROWS = (9, 103)        # the expanded body's straight top and bottom edges at 100 %
BODY_ALPHA_MIN = 229        # the body is 90 % opaque

# Picture folder, 100 % size and 100 % place (left, top) on the panel of each
# widget, in the order the program builds them.
WIDGETS = (
    ("X", (24, 24), (280, 44)),
    ("Turn Left", (48, 48), (102, 32)),
    ("Turn Right", (48, 48), (158, 32)),
    ("lock", (48, 48), (214, 32)),
    ("Unlock", (48, 48), (214, 32)),
    ("Stage1", (114, 113), (227, 0)),
    ("Stage2", (91, 113), (0, 0)),
)
STATES = {"X": "ndo", "Turn Left": ("n", "d", "o", "un"), "Turn Right": ("n", "d", "o", "un"),
          "lock": "ndo", "Unlock": "ndo", "Stage1": "dn", "Stage2": "d"}


def scaled(length, percent):
    """A 100 % length at `percent`, rounded half up (exact in integers)."""
    return (length * percent * 2 + 100) // 200


def scale_folder(percent):
    """Folder of a set below the images folder ("" for 100 %)."""
    return "" if percent == 100 else "scale-%d" % percent


def expected_files(percent=100):
    """(relative path with "/" separators, width, height) of every picture of one set."""
    panel = (scaled(PANEL[0], percent), scaled(PANEL[1], percent))
    files = [("None.png",) + panel, ("extend0001.png",) + panel, ("extend0015.png",) + panel]
    files += [("LEFT_Extend/%d.png" % i,) + panel for i in range(1, 16)]
    for name, (width, height), _ in WIDGETS:
        size = (scaled(width, percent), scaled(height, percent))
        files += [("Button/%s/%s.png" % (name, state),) + size for state in STATES[name]]
    folder = scale_folder(percent)
    return [(folder + "/" + path if folder else path, w, h) for path, w, h in files]


def places(percent):
    """(widget, left, top, width, height) of every widget on one set's expanded panel."""
    return [(name, scaled(x, percent), scaled(y, percent), scaled(w, percent), scaled(h, percent))
            for name, (w, h), (x, y) in WIDGETS]


def check_places(percent):
    """Every button lies inside the panel at its scaled place; the handles may overhang
    the panel's right edge by the one column rounding gives them."""
    panel_w, panel_h = scaled(PANEL[0], percent), scaled(PANEL[1], percent)
    problems = []
    for name, left, top, width, height in places(percent):
        slack = 1 if name.startswith("Stage") else 0
        if left < 0 or top < 0 or left + width > panel_w + slack or top + height > panel_h:
            problems.append("%d %%: %s at (%d, %d), %d x %d, leaves the %d x %d panel"
                            % (percent, name, left, top, width, height, panel_w, panel_h))
    return problems


def print_places():
    print("scale  panel       " + "  ".join("%-11s" % name for name, _, _ in WIDGETS))
    for percent in SCALES:
        cells = ["%d,%d" % (left, top) for _, left, top, _, _ in places(percent)]
        print("%3d %%  %4d x %-4d " % (percent, scaled(PANEL[0], percent), scaled(PANEL[1], percent))
              + "  ".join("%-11s" % cell for cell in cells))


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
    if relative.endswith("None.png"):
        try:
            opaque = sum(1 for a in alpha_values(w, h, raw) if a != 0)
        except PngError as exc:
            return ["%s: %s" % (relative, exc)]
        if opaque:
            problems.append("%s: %d pixels are not fully transparent" % (relative, opaque))
    return problems


def check_sharp_body(folder, percent):
    """The body's straight edges lie on whole pixels of the set.

    Along the middle column and the middle row of the set's extend0015.png,
    every pixel is either clear or fully body: a picture scaled from another
    size, or drawn at a fractional place, has partly covered pixels there.
    """
    relative = "/".join(filter(None, (scale_folder(percent), "extend0015.png")))
    try:
        w, h, _, _, _, raw = read_png(os.path.join(folder, *relative.split("/")))
        alpha = bytes(alpha_values(w, h, raw))
    except (OSError, PngError) as exc:
        return ["%s: %s" % (relative, exc)]
    top, bottom = scaled(BODY_ROWS[0], percent), scaled(BODY_ROWS[1], percent)
    column = alpha[w // 2::w]
    row = alpha[(h // 2) * w:(h // 2 + 1) * w]
    problems = []
    for y, a in enumerate(column):
        inside = top <= y < bottom
        if (inside and a < BODY_ALPHA_MIN) or (not inside and a != 0):
            problems.append("%s: column %d, row %d has alpha %d; the body covers rows %d..%d"
                            % (relative, w // 2, y, a, top, bottom - 1))
    for x, a in enumerate(row):
        if a < BODY_ALPHA_MIN:
            problems.append("%s: row %d, column %d has alpha %d; the body covers every column"
                            % (relative, h // 2, x, a))
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
    if args == ["--places"]:
        print_places()
        return 0
    icon = None
    if "--ico" in args:
        at = args.index("--ico")
        if at + 1 >= len(args):
            print("check_geometry: --ico needs a file name", file=sys.stderr)
            return 2
        icon = args[at + 1]
        del args[at:at + 2]
    if len(args) != 1:
        print("usage: check_geometry.py <images-folder> [--ico <icon-file>] | --places", file=sys.stderr)
        return 2
    folder = args[0]
    if not os.path.isdir(folder):
        print("check_geometry: %s is not a folder" % folder, file=sys.stderr)
        return 1
    files = [item for percent in SCALES for item in expected_files(percent)]
    problems = []
    for percent in SCALES:
        problems += check_places(percent)
    for relative, width, height in files:
        problems += check_picture(folder, relative, width, height)
    if not problems:
        for percent in SCALES:
            problems += check_sharp_body(folder, percent)
    if icon is not None:
        problems += check_icon(icon)
    if problems:
        for problem in problems:
            print("check_geometry: " + problem, file=sys.stderr)
        print("check_geometry: %d problem(s) in %s" % (len(problems), folder), file=sys.stderr)
        return 1
    print("check_geometry: %d pictures in %d sets in %s are in order"
          % (len(files), len(SCALES), folder))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
