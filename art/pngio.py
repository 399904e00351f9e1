"""Minimal PNG reading and writing for the artwork tools (standard library only).

Pictures are kept as a `Picture`: width, height and a flat list of straight
(not premultiplied) RGBA bytes, row 0 at the top. Writing always produces an
8-bit RGBA file (colour type 6) with no ancillary chunks, so the same pixels
always give the same bytes.
"""

import struct
import zlib

SIGNATURE = b"\x89PNG\r\n\x1a\n"
CHANNELS_BY_COLOR_TYPE = {0: 1, 2: 3, 4: 2, 6: 4}


class Picture:
    def __init__(self, width, height, pixels=None):
        self.width = width
        self.height = height
        self.pixels = pixels if pixels is not None else bytearray(width * height * 4)

    def copy(self):
        return Picture(self.width, self.height, bytearray(self.pixels))


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def _unfilter(raw, width, height, bpp):
    stride = width * bpp
    out = bytearray(stride * height)
    prev = bytearray(stride)
    pos = 0
    for y in range(height):
        kind = raw[pos]
        line = bytearray(raw[pos + 1:pos + 1 + stride])
        pos += 1 + stride
        if kind == 1:
            for i in range(bpp, stride):
                line[i] = (line[i] + line[i - bpp]) & 255
        elif kind == 2:
            for i in range(stride):
                line[i] = (line[i] + prev[i]) & 255
        elif kind == 3:
            for i in range(stride):
                left = line[i - bpp] if i >= bpp else 0
                line[i] = (line[i] + ((left + prev[i]) >> 1)) & 255
        elif kind == 4:
            for i in range(stride):
                left = line[i - bpp] if i >= bpp else 0
                upleft = prev[i - bpp] if i >= bpp else 0
                line[i] = (line[i] + _paeth(left, prev[i], upleft)) & 255
        elif kind != 0:
            raise ValueError("unknown PNG filter type %d" % kind)
        out[y * stride:(y + 1) * stride] = line
        prev = line
    return out


def read_png(path):
    """Reads an 8-bit, non-interlaced PNG (grey, RGB, grey+alpha or RGBA) as RGBA."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != SIGNATURE:
        raise ValueError("%s: not a PNG file" % path)
    pos = 8
    idat = bytearray()
    header = None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        elif kind == b"IEND":
            break
    width, height, depth, color_type, _, _, interlace = header
    if depth != 8 or interlace != 0 or color_type not in CHANNELS_BY_COLOR_TYPE:
        raise ValueError("%s: unsupported PNG layout" % path)
    bpp = CHANNELS_BY_COLOR_TYPE[color_type]
    raw = _unfilter(zlib.decompress(bytes(idat)), width, height, bpp)
    if color_type == 6:
        return Picture(width, height, raw)
    rgba = bytearray(width * height * 4)
    for i in range(width * height):
        px = raw[i * bpp:(i + 1) * bpp]
        if color_type == 0:
            rgba[i * 4:i * 4 + 4] = bytes((px[0], px[0], px[0], 255))
        elif color_type == 4:
            rgba[i * 4:i * 4 + 4] = bytes((px[0], px[0], px[0], px[1]))
        else:
            rgba[i * 4:i * 4 + 4] = bytes((px[0], px[1], px[2], 255))
    return Picture(width, height, rgba)


# Cost of a filtered byte: its distance from zero, read as a signed value.
_COST = bytes(v if v < 128 else 256 - v for v in range(256))


def _filter_rows(pic):
    """Per row, picks the filter with the smallest sum of absolute values (ties: lower type)."""
    stride = pic.width * 4
    zero = bytes(4)
    prev = bytes(stride)
    out = bytearray()
    for y in range(pic.height):
        line = bytes(pic.pixels[y * stride:(y + 1) * stride])
        left = zero + line[:-4]
        upleft = zero + prev[:-4]
        candidates = (
            line,
            bytes([(x - a) & 255 for x, a in zip(line, left)]),
            bytes([(x - b) & 255 for x, b in zip(line, prev)]),
            bytes([(x - ((a + b) >> 1)) & 255 for x, a, b in zip(line, left, prev)]),
            bytes([(x - (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
                   for x, a, b, c in zip(line, left, prev, upleft)
                   for pa, pb, pc in ((abs(b - c), abs(a - c), abs(a + b - c - c)),)]),
        )
        costs = [sum(f.translate(_COST)) for f in candidates]
        kind = costs.index(min(costs))
        out.append(kind)
        out += candidates[kind]
        prev = line
    return bytes(out)


def _chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)


def encode_png(pic):
    header = struct.pack(">IIBBBBB", pic.width, pic.height, 8, 6, 0, 0, 0)
    compressed = zlib.compress(_filter_rows(pic), 9)
    return SIGNATURE + _chunk(b"IHDR", header) + _chunk(b"IDAT", compressed) + _chunk(b"IEND", b"")


def write_png(path, pic):
    with open(path, "wb") as f:
        f.write(encode_png(pic))


def normalise(pic):
    """Gives every fully transparent pixel the colour 0, so hidden colour never leaks."""
    px = pic.pixels
    alpha = bytes(px[3::4])
    if 0 in alpha:
        for c in range(3):
            px[c::4] = bytes([v if a else 0 for v, a in zip(px[c::4], alpha)])
    return pic


def compose_over(dst, src, left, top):
    """Lays `src` over `dst` at (left, top) with premultiplied source-over, in place.

    Both pictures hold straight colour; the blend itself runs on premultiplied
    values, as the program composes its layered window.
    """
    d, s = dst.pixels, src.pixels
    for y in range(src.height):
        ty = top + y
        if ty < 0 or ty >= dst.height:
            continue
        for x in range(src.width):
            tx = left + x
            if tx < 0 or tx >= dst.width:
                continue
            si = (y * src.width + x) * 4
            sa = s[si + 3]
            if sa == 0:
                continue
            di = (ty * dst.width + tx) * 4
            da = d[di + 3]
            if sa == 255 or da == 0:
                d[di:di + 4] = s[si:si + 4]
                continue
            keep = 1.0 - sa / 255.0
            out_a = sa + da * keep
            for c in range(3):
                premul = s[si + c] * sa / 255.0 + d[di + c] * da / 255.0 * keep
                d[di + c] = min(255, int(premul * 255.0 / out_a + 0.5))
            d[di + 3] = min(255, int(out_a + 0.5))
    return dst
