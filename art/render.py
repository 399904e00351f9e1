#!/usr/bin/env python3
"""Regenerates Zentara's artwork: art/svg/, every PNG below images/, art/zentara.ico.

Usage: python3 art/render.py [--scale PERCENT ...] [--preview DIR]

Draws one set of pictures per display scale (design.SCALES): the 100 % set
directly in images/, every other set in images/scale-<percent>/ with the same
layout. The SVG text comes from design.py, drawn for each set's own pixel size,
and is rasterised with rsvg-convert. Every PNG is re-encoded here as 8-bit RGBA
with no ancillary chunks, so running the script twice gives identical files.
The first and last slide frames of a set are composed from the very pictures
the program composes for the collapsed and expanded panel, at that set's
places, with premultiplied source-over, so the slide starts and ends without a
jump. --scale renders only the named sets (repeatable; the icon comes with the
100 % set). --preview additionally writes composited views of both panel
states over a light and a dark backdrop (not committed; for looking at).
"""

import os
import shutil
import struct
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import design  # noqa: E402
import pngio   # noqa: E402

ART_DIR = os.path.dirname(os.path.abspath(__file__))
ROOT_DIR = os.path.dirname(ART_DIR)
IMAGES_DIR = os.path.join(ROOT_DIR, "images")
SVG_DIR = os.path.join(ART_DIR, "svg")
ICON_PATH = os.path.join(ART_DIR, "zentara.ico")


def slug(text):
    return text.lower().replace(" ", "-")


def sources(g):
    """(svg path below art/svg/, svg text, png path below the set's folder or None) per picture."""
    folder = design.scale_folder(g.percent)
    items = [
        ("extend0001.svg", design.collapsed_background_svg(g), "extend0001.png"),
        ("extend0015.svg", design.expanded_background_svg(g), "extend0015.png"),
        ("stage1-d.svg", design.stage1_svg(True, g), "Button/Stage1/d.png"),
        ("stage1-n.svg", design.stage1_svg(False, g), "Button/Stage1/n.png"),
        ("stage2-d.svg", design.stage2_svg(g), "Button/Stage2/d.png"),
    ]
    for name, states in design.BUTTON_STATES.items():
        for state in states:
            items.append(("button-%s-%s.svg" % (slug(name), state), design.button_svg(name, state, g),
                          "Button/%s/%s.png" % (name, state)))
    for i in range(2, design.FRAME_COUNT):
        items.append(("frame-%02d.svg" % i, design.frame_svg(i, g), "LEFT_Extend/%d.png" % i))
    if g.percent == 100:
        for size in design.ICON_SIZES:
            items.append(("icon-%d.svg" % size, design.icon_svg(size), None))
    return [(folder + "/" + svg if folder else svg, text, png) for svg, text, png in items]


def rasterise(svg_path, png_path):
    subprocess.run(["rsvg-convert", "--format=png", "--output", png_path, svg_path], check=True)
    return pngio.normalise(pngio.read_png(png_path))


def save(pic, folder, relative):
    path = os.path.join(IMAGES_DIR, *(folder + "/" + relative).strip("/").split("/"))
    os.makedirs(os.path.dirname(path), exist_ok=True)
    pngio.write_png(path, pic)
    return path


def collapsed_panel(g, pictures, look="d"):
    """What the program shows collapsed: extend0001 with the Stage1 handle (active look "d")."""
    frame = pictures["extend0001.png"].copy()
    pngio.compose_over(frame, pictures["Button/Stage1/%s.png" % look], g.collapsed_left, 0)
    return frame


def expanded_panel(g, pictures, lock="lock", turn_state="n"):
    """What the program shows expanded, children in the order they are attached."""
    frame = pictures["extend0015.png"].copy()
    for name, state in (("X", "n"), ("Turn Left", turn_state), ("Turn Right", turn_state),
                        (lock, "n")):
        left, top = g.button_places[name]
        pngio.compose_over(frame, pictures["Button/%s/%s.png" % (name, state)], left, top)
    pngio.compose_over(frame, pictures["Button/Stage2/d.png"], 0, 0)
    return frame


def _dib_entry(pic):
    """A classic 32-bit icon image: BGRA rows bottom-up followed by the AND mask."""
    w, h = pic.width, pic.height
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = bytearray()
    for y in range(h - 1, -1, -1):
        for x in range(w):
            i = (y * w + x) * 4
            r, g, b, a = pic.pixels[i:i + 4]
            rows += bytes((b, g, r, a))
    mask_stride = ((w + 31) // 32) * 4
    mask = bytearray()
    for y in range(h - 1, -1, -1):
        line = bytearray(mask_stride)
        for x in range(w):
            if pic.pixels[(y * w + x) * 4 + 3] == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    return header + bytes(rows) + bytes(mask)


def write_icon(path, pictures):
    """Multi-size .ico: PNG-compressed at 256, classic bitmaps below."""
    blobs = []
    for pic in pictures:
        blobs.append(pngio.encode_png(pic) if pic.width >= 256 else _dib_entry(pic))
    offset = 6 + 16 * len(pictures)
    out = bytearray(struct.pack("<HHH", 0, 1, len(pictures)))
    for pic, blob in zip(pictures, blobs):
        side = 0 if pic.width >= 256 else pic.width
        out += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    for blob in blobs:
        out += blob
    with open(path, "wb") as f:
        f.write(bytes(out))


def backdrop(width, height, rgb):
    pic = pngio.Picture(width, height)
    pic.pixels[:] = bytes((rgb[0], rgb[1], rgb[2], 255)) * (width * height)
    return pic


def write_previews(folder, g, pictures, frames):
    """Panel states and the slide over light and dark backdrops, at 230/255 window alpha."""
    os.makedirs(folder, exist_ok=True)
    pad = 12
    states = [collapsed_panel(g, pictures), collapsed_panel(g, pictures, "n"),
              expanded_panel(g, pictures), expanded_panel(g, pictures, "Unlock"),
              expanded_panel(g, pictures, "lock", "un")]
    suffix = "" if g.percent == 100 else "-%d" % g.percent
    for label, rgb in (("light", (236, 239, 244)), ("dark", (32, 33, 36)), ("mid", (90, 120, 160))):
        rows = len(states) + len(frames)
        sheet = backdrop(g.panel_w + 2 * pad, rows * (g.panel_h + pad) + pad, rgb)
        for row, pic in enumerate(states + frames):
            faded = pic.copy()
            for i in range(3, len(faded.pixels), 4):
                faded.pixels[i] = faded.pixels[i] * 230 // 255
            pngio.compose_over(sheet, faded, pad, pad + row * (g.panel_h + pad))
        pngio.write_png(os.path.join(folder, "panel-%s%s.png" % (label, suffix)), sheet)


def render_set(g, scratch, preview):
    """Writes one set's SVG text and PNGs; returns the icon pictures it drew by width."""
    pictures = {}
    icons = {}
    for svg_name, svg_text, target in sources(g):
        svg_path = os.path.join(SVG_DIR, *svg_name.split("/"))
        os.makedirs(os.path.dirname(svg_path), exist_ok=True)
        with open(svg_path, "w", newline="\n") as f:
            f.write(svg_text)
        pic = rasterise(svg_path, os.path.join(scratch, svg_name.replace("/", "-") + ".png"))
        if target is None:
            icons[pic.width] = pic
        else:
            pictures[target] = pic

    pictures["None.png"] = pngio.Picture(g.panel_w, g.panel_h)
    pictures["LEFT_Extend/1.png"] = collapsed_panel(g, pictures)
    pictures["LEFT_Extend/%d.png" % design.FRAME_COUNT] = expanded_panel(g, pictures)
    folder = design.scale_folder(g.percent)
    for relative in sorted(pictures):
        save(pictures[relative], folder, relative)
    if preview:
        frames = [pictures["LEFT_Extend/%d.png" % i] for i in range(1, design.FRAME_COUNT + 1)]
        write_previews(preview, g, pictures, frames)
    print("render: %d %%: wrote %d pictures below images/%s" % (g.percent, len(pictures), folder))
    return icons


def main(argv):
    preview = None
    scales = []
    args = list(argv)
    while args:
        if len(args) >= 2 and args[0] == "--preview":
            preview = args[1]
        elif len(args) >= 2 and args[0] == "--scale" and args[1].isdigit() \
                and int(args[1]) in design.SCALES:
            scales.append(int(args[1]))
        else:
            print(__doc__)
            return 2
        del args[:2]
    if shutil.which("rsvg-convert") is None:
        print("render: rsvg-convert not found (Debian package librsvg2-bin)", file=sys.stderr)
        return 1

    os.makedirs(SVG_DIR, exist_ok=True)
    with tempfile.TemporaryDirectory() as scratch:
        for percent in design.SCALES:
            if scales and percent not in scales:
                continue
            icons = render_set(design.Layout(percent), scratch, preview)
            if percent == 100:
                write_icon(ICON_PATH, [icons[size] for size in design.ICON_SIZES])
                print("render: wrote art/zentara.ico")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
