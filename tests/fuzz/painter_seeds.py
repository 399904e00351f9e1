#!/usr/bin/env python3
"""Writes the seed inputs of the text_painters and glow fuzz targets.

Each seed is one painter record as painter_case.h reads it (README.md gives
the layout); run this again after changing a seed or the layout.
"""
import pathlib
import struct

PLAIN, RADIATE, OUTER_GLOW = 0, 1, 2
INTO_BITMAP, WIDE, PREMULTIPLIED, TARGET_32, NULL_TEXT = 1, 2, 4, 8, 16
CENTER, VCENTER, WORD_BREAK, SINGLE_LINE = 0x1, 0x4, 0x10, 0x20
INT_MIN, INT_MAX = -2**31, 2**31 - 1


def record(kind, flags=0, as_layer=0, text_format=0, rect=(0, 0, 0, 0), radius=0, spread=0,
           opacity=255, shift=(0, 0), glow_color=0xBFFFFF, font_color=0x000000,
           brush_color=0xFFFFFF, font_height=-11, coverage=255, size=(64, 24), extra=(0, 0),
           fill_seed=0x5EED, text=''):
    head = struct.pack('<BBii4iiBBii3IhB4BI', kind, flags, as_layer, text_format, *rect, radius,
                       spread, opacity, *shift, glow_color, font_color, brush_color, font_height,
                       coverage, *size, *extra, fill_seed)
    body = text.encode('utf-16-le') if flags & WIDE else text.encode('latin-1')
    return head + body


TEXT_PAINTERS = {
    'plain-canvas-centred': record(PLAIN, 0, 0, CENTER | VCENTER | SINGLE_LINE, (2, 2, 60, 20),
                                   text='OK'),
    'plain-bitmap-layer-wrapped': record(PLAIN, INTO_BITMAP | WIDE | PREMULTIPLIED | TARGET_32, 1,
                                         WORD_BREAK, (-10, -3, 40, 30),
                                         text='Turn left\nTurn right'),
    'halo-canvas-premultiplied': record(RADIATE, PREMULTIPLIED | TARGET_32, 0, CENTER,
                                        (0, 0, 50, 24), 3, 128, font_color=0xFFFFFF,
                                        text='Lock'),
    'halo-bitmap-layer-no-room': record(RADIATE, INTO_BITMAP | TARGET_32, 1, 0, (0, 0, 20, 14), 7,
                                        size=(20, 14), text='Hi'),
    'outer-glow-canvas-layer': record(OUTER_GLOW, WIDE | TARGET_32, 1, CENTER | VCENTER | SINGLE_LINE,
                                      (-5, -5, 70, 30), 4, 64, 230, (2, 2), coverage=180,
                                      text='Rotation'),
    'outer-glow-bitmap-straight': record(OUTER_GLOW, INTO_BITMAP, 0, CENTER, (3, 3, 61, 21), 2,
                                         shift=(-1, 1), text='Auto'),
    'outer-glow-everything-huge': record(OUTER_GLOW, TARGET_32 | PREMULTIPLIED, 0,
                                         CENTER | VCENTER | SINGLE_LINE,
                                         (INT_MIN, INT_MIN, INT_MAX, INT_MAX), 1_000_000, 255, 255,
                                         (INT_MIN, INT_MAX), text='X'),
    'halo-negative-radius-inverted': record(RADIATE, NULL_TEXT, 0, 0, (10, 10, 5, 5), -5),
}

GLOW = {
    'halo-canvas-straight': record(RADIATE, 0, 0, CENTER | VCENTER | SINGLE_LINE, (0, 0, 60, 30), 5,
                                   100, 200, size=(40, 20), extra=(24, 12), font_color=0xFFFFFF,
                                   text='Unlock'),
    'halo-bitmap-premultiplied-far': record(RADIATE, INTO_BITMAP | TARGET_32 | PREMULTIPLIED, 0,
                                            WORD_BREAK, (-300, -200, 400, 300), 150, 40, 255,
                                            size=(16, 16), extra=(48, 48), text='far away text'),
    'outer-glow-layer-shifted': record(OUTER_GLOW, WIDE | TARGET_32, 1, CENTER, (-4, 2, 50, 40), 6,
                                       200, 255, (-3, 5), size=(30, 30), extra=(34, 10),
                                       text='Stage'),
    'outer-glow-huge-radius': record(OUTER_GLOW, INTO_BITMAP | TARGET_32 | PREMULTIPLIED, 0,
                                     CENTER | VCENTER | SINGLE_LINE, (-5000, -5000, 5000, 5000),
                                     4000, 10, 255, (7, 7), size=(8, 8), extra=(64, 64), text='W'),
}


def main():
    here = pathlib.Path(__file__).resolve().parent
    for target, seeds in (('text_painters', TEXT_PAINTERS), ('glow', GLOW)):
        folder = here / 'corpus' / target
        folder.mkdir(parents=True, exist_ok=True)
        for name, data in seeds.items():
            (folder / name).write_bytes(data)


if __name__ == '__main__':
    main()
