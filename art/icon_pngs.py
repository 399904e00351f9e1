"""Writes each picture of art/zentara.ico as a PNG in a hicolor icon theme tree.

    python3 art/icon_pngs.py ICO DEST NAME

gives DEST/<n>x<n>/apps/NAME.png for every size in the icon. The icon's pictures
are taken as they are (the 256-pixel one is a PNG already; the smaller ones are
32-bit bitmaps, whose alpha is kept), so the Linux desktop shows the same icon
as Windows. Standard library only, and the same icon always gives the same bytes.
"""

import os
import struct
import sys

import pngio


def icon_pictures(data):
    """Yields (width, PNG bytes) for each picture of an .ico file's data."""
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if reserved != 0 or kind != 1:
        raise ValueError("not an icon file")
    for index in range(count):
        width, height, _, _, _, _, size, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * index)
        blob = data[offset:offset + size]
        if blob[:8] == pngio.SIGNATURE:
            yield struct.unpack(">I", blob[16:20])[0], blob
        else:
            yield width or 256, pngio.encode_png(_bitmap_picture(blob))


def _bitmap_picture(blob):
    """A 32-bit icon bitmap (BGRA rows bottom-up, then the AND mask) as a picture."""
    header_size, width, double_height, _, bits = struct.unpack_from("<IiiHH", blob, 0)
    if bits != 32:
        raise ValueError("only 32-bit icon bitmaps are supported")
    height = double_height // 2
    pic = pngio.Picture(width, height)
    for y in range(height):
        row = header_size + (height - 1 - y) * width * 4
        for x in range(width):
            b, g, r, a = blob[row + x * 4:row + x * 4 + 4]
            pic.pixels[(y * width + x) * 4:(y * width + x) * 4 + 4] = bytes((r, g, b, a))
    return pic


def main(argv):
    if len(argv) != 3:
        print(__doc__)
        return 2
    ico, dest, name = argv
    with open(ico, "rb") as f:
        data = f.read()
    for width, png in icon_pictures(data):
        folder = os.path.join(dest, "%dx%d" % (width, width), "apps")
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, name + ".png"), "wb") as f:
            f.write(png)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
