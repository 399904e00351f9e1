"""Zentara artwork as SVG text: palette, shapes and one builder per picture.

Every picture the program loads is described here once; render.py writes the
SVG text into art/svg/ and rasterises it. Coordinates are in pixels of the
final picture, so what is written here is what lands on screen at 100 %.
"""

import math

# --- Panel geometry (window pixels) -------------------------------------------

PANEL_W, PANEL_H = 341, 113
BODY_TOP, BODY_BOTTOM = 9, 103          # the body is 94 px tall, centred on y 56
RADIUS_LEFT, RADIUS_RIGHT = 22, 6       # rounded free side, tighter docked side
COLLAPSED_LEFT = 227                    # collapsed, only x 227..340 shows
STAGE1_W, STAGE2_W = 114, 91
HANDLE_CENTRE_STAGE1 = 57               # chevron disc centre, relative to handle left
HANDLE_CENTRE_STAGE2 = 45
HANDLE_CENTRE_Y = 56

BUTTON_PLACES = {                       # widget left/top on the expanded panel
    "X": (280, 44),
    "Turn Left": (102, 32),
    "Turn Right": (158, 32),
    "lock": (214, 32),
    "Unlock": (214, 32),
}

# --- Palette --------------------------------------------------------------------

SLATE_TOP = "#243043"
SLATE_BOTTOM = "#121821"
BODY_ALPHA = 0.90                       # opacity of the panel body
COLLAPSED_BASE_ALPHA = 0.50             # extend0001 alone; Stage1 brings it to BODY_ALPHA
ACCENT = "#2dd4bf"
ACCENT_LIGHT = "#99f6e4"
GLYPH = "#ffffff"
KEYHOLE = "#1a2230"
SHADOW = "#03060a"


def _stage1_overlay_alpha(total):
    """Opacity a Stage1 picture's body needs so that base + picture reach `total`."""
    return 1.0 - (1.0 - total) / (1.0 - COLLAPSED_BASE_ALPHA)


STAGE1_ACTIVE_ALPHA = _stage1_overlay_alpha(BODY_ALPHA)
STAGE1_IDLE_ALPHA = 0.22


def f(v):
    """Short, stable number formatting for SVG attributes."""
    text = ("%.3f" % v).rstrip("0").rstrip(".")
    return "0" if text in ("-0", "") else text


def document(width, height, content, defs=""):
    return (
        '<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" '
        'viewBox="0 0 %d %d">\n<defs>%s</defs>\n%s\n</svg>\n'
        % (width, height, width, height, defs, content)
    )


def body_gradient(gid="body"):
    """Vertical slate gradient in window coordinates, shared by every body layer."""
    return (
        '<linearGradient id="%s" gradientUnits="userSpaceOnUse" x1="0" y1="%d" x2="0" y2="%d">'
        '<stop offset="0" stop-color="%s"/><stop offset="1" stop-color="%s"/></linearGradient>'
        % (gid, BODY_TOP, BODY_BOTTOM, SLATE_TOP, SLATE_BOTTOM)
    )


def rim_gradient(gid="rim"):
    """Thin light rim, brighter along the top edge like a lit bevel."""
    return (
        '<linearGradient id="%s" gradientUnits="userSpaceOnUse" x1="0" y1="%d" x2="0" y2="%d">'
        '<stop offset="0" stop-color="#ffffff" stop-opacity="0.20"/>'
        '<stop offset="0.5" stop-color="#ffffff" stop-opacity="0.07"/>'
        '<stop offset="1" stop-color="#ffffff" stop-opacity="0.05"/></linearGradient>'
        % (gid, BODY_TOP, BODY_BOTTOM)
    )


def body_path(x0, x1, top=BODY_TOP, bottom=BODY_BOTTOM, rl=RADIUS_LEFT, rr=RADIUS_RIGHT):
    """Rounded rectangle with a large radius on the left and a small one on the right."""
    if rr <= 0:
        right = "H %s V %s H %s" % (f(x1), f(bottom), f(x0 + rl))
    else:
        right = "H %s A %s %s 0 0 1 %s %s V %s A %s %s 0 0 1 %s %s H %s" % (
            f(x1 - rr), f(rr), f(rr), f(x1), f(top + rr), f(bottom - rr),
            f(rr), f(rr), f(x1 - rr), f(bottom), f(x0 + rl))
    return "M %s %s %s A %s %s 0 0 1 %s %s V %s A %s %s 0 0 1 %s %s Z" % (
        f(x0 + rl), f(top), right, f(rl), f(rl), f(x0), f(bottom - rl),
        f(top + rl), f(rl), f(rl), f(x0 + rl), f(top))


def body(x0, x1, alpha, rim_opacity=1.0):
    """Panel body from x0 to x1: slate fill plus a 1 px inner rim."""
    out = '<path d="%s" fill="url(#body)" fill-opacity="%s"/>' % (body_path(x0, x1), f(alpha))
    if rim_opacity > 0:
        out += ('<path d="%s" fill="none" stroke="url(#rim)" stroke-width="1" opacity="%s"/>'
                % (body_path(x0 + 0.5, x1 - 0.5, BODY_TOP + 0.5, BODY_BOTTOM - 0.5,
                             RADIUS_LEFT - 0.5, max(RADIUS_RIGHT - 0.5, 0)), f(rim_opacity)))
    return out


# --- Handle -----------------------------------------------------------------------

def chevron_disc(cx, cy, angle, active=True):
    """Disc with a chevron; angle 0 points left (expand), 180 points right (collapse)."""
    if active:
        disc = ('<circle cx="%s" cy="%s" r="17" fill="%s" fill-opacity="0.16" stroke="%s" '
                'stroke-opacity="0.9" stroke-width="1.6"/>' % (f(cx), f(cy), ACCENT, ACCENT))
        stroke, opacity = GLYPH, 1.0
    else:
        disc = ('<circle cx="%s" cy="%s" r="17" fill="none" stroke="%s" stroke-opacity="0.28" '
                'stroke-width="1.4"/>' % (f(cx), f(cy), GLYPH))
        stroke, opacity = GLYPH, 0.5
    chevron = ('<path d="M %s %s L %s %s L %s %s" fill="none" stroke="%s" stroke-opacity="%s" '
               'stroke-width="3" stroke-linecap="round" stroke-linejoin="round" '
               'transform="rotate(%s %s %s)"/>'
               % (f(cx + 3.5), f(cy - 7.5), f(cx - 3.5), f(cy), f(cx + 3.5), f(cy + 7.5),
                  stroke, f(opacity), f(angle), f(cx), f(cy)))
    return disc + chevron


def grip(cx, cy, opacity):
    """Two short columns of dots: the panel can be dragged by its handle."""
    dots = []
    for dx in (-3, 3):
        for dy in (-6, 0, 6):
            dots.append('<circle cx="%s" cy="%s" r="1.3"/>' % (f(cx + dx), f(cy + dy)))
    return '<g fill="%s" fill-opacity="%s">%s</g>' % (GLYPH, f(opacity), "".join(dots))


STAGE1_GRIP_X = 98                      # relative to the Stage1 handle's left
STAGE2_GRIP_X = 14                      # relative to the panel's left


def stage2_zone(x0, opacity=1.0):
    """The expanded handle: a lighter strip with a groove on its right side."""
    x1 = x0 + STAGE2_W
    return (
        '<g opacity="%s"><path d="%s" fill="#ffffff" fill-opacity="0.045"/>'
        '<path d="M %s %d V %d" stroke="%s" stroke-opacity="0.35" stroke-width="1"/>'
        '<path d="M %s %d V %d" stroke="#ffffff" stroke-opacity="0.11" stroke-width="1"/>%s</g>'
        % (f(opacity), body_path(x0 + 1, x1, BODY_TOP + 1, BODY_BOTTOM - 1, RADIUS_LEFT - 1, 0),
           f(x1 - 1.5), BODY_TOP + 14, BODY_BOTTOM - 14, SHADOW,
           f(x1 - 0.5), BODY_TOP + 14, BODY_BOTTOM - 14,
           grip(x0 + STAGE2_GRIP_X, HANDLE_CENTRE_Y, 0.30)))


def handle_defs():
    return body_gradient() + rim_gradient()


def stage1_svg(active):
    """Collapsed handle, 114 x 113, drawn at window x 227 over extend0001."""
    alpha = STAGE1_ACTIVE_ALPHA if active else STAGE1_IDLE_ALPHA
    content = '<g transform="translate(%d 0)">%s%s%s</g>' % (
        -COLLAPSED_LEFT,
        body(COLLAPSED_LEFT, PANEL_W, alpha, 1.0 if active else 0.55),
        grip(COLLAPSED_LEFT + STAGE1_GRIP_X, HANDLE_CENTRE_Y, 0.30 if active else 0.14),
        chevron_disc(COLLAPSED_LEFT + HANDLE_CENTRE_STAGE1, HANDLE_CENTRE_Y, 0, active))
    return document(STAGE1_W, PANEL_H, content, handle_defs())


def stage2_svg():
    """Expanded handle, 91 x 113, drawn at (0, 0) over extend0015."""
    content = stage2_zone(0) + chevron_disc(HANDLE_CENTRE_STAGE2, HANDLE_CENTRE_Y, 180)
    return document(STAGE2_W, PANEL_H, content, handle_defs())


def collapsed_background_svg():
    """extend0001: the base of the docked tab; Stage1 completes it."""
    return document(PANEL_W, PANEL_H, body(COLLAPSED_LEFT, PANEL_W, COLLAPSED_BASE_ALPHA, 0),
                    handle_defs())


def expanded_background_svg():
    """extend0015: the whole panel body."""
    return document(PANEL_W, PANEL_H, body(0, PANEL_W, BODY_ALPHA), handle_defs())


# --- Buttons ----------------------------------------------------------------------

STATES = ("n", "d", "o", "un")          # normal, pressed, hovered, disabled


def button_face(size, state):
    """Round button chrome for a square picture of `size` pixels."""
    c = size / 2.0
    r = c - 2.5 if size >= 48 else c - 1.5
    if state == "n":
        return ('<circle cx="%s" cy="%s" r="%s" fill="#ffffff" fill-opacity="0.07" '
                'stroke="#ffffff" stroke-opacity="0.17" stroke-width="1"/>' % (f(c), f(c), f(r)))
    if state == "o":
        return ('<circle cx="%s" cy="%s" r="%s" fill="%s" fill-opacity="0.28" '
                'stroke="%s" stroke-opacity="0.95" stroke-width="1.5"/>'
                % (f(c), f(c), f(r), ACCENT, ACCENT))
    if state == "d":
        return ('<circle cx="%s" cy="%s" r="%s" fill="%s" fill-opacity="0.55" '
                'stroke="%s" stroke-opacity="0.55" stroke-width="1"/>'
                '<circle cx="%s" cy="%s" r="%s" fill="url(#inset)"/>'
                % (f(c), f(c), f(r), SHADOW, ACCENT, f(c), f(c), f(r - 0.5)))
    return ('<circle cx="%s" cy="%s" r="%s" fill="#ffffff" fill-opacity="0.025" '
            'stroke="#ffffff" stroke-opacity="0.07" stroke-width="1"/>' % (f(c), f(c), f(r)))


def inset_gradient():
    """Shadow along the top inside of a pressed button."""
    return ('<linearGradient id="inset" x1="0" y1="0" x2="0" y2="1">'
            '<stop offset="0" stop-color="#000000" stop-opacity="0.45"/>'
            '<stop offset="0.45" stop-color="#000000" stop-opacity="0"/></linearGradient>')


def glyph_style(state):
    """Glyph colour, opacity and offset for a state: pressed sinks by one pixel."""
    return {
        "n": (GLYPH, 0.95, 0),
        "o": (GLYPH, 1.0, 0),
        "d": (ACCENT_LIGHT, 0.85, 1),
        "un": (GLYPH, 0.30, 0),
    }[state]


def rotate_glyph(colour, opacity):
    """Counter-clockwise arrow around a small display, in a 48 x 48 box."""
    cx = cy = 24.0
    r = 12.0
    end = math.radians(104)                           # arrow tip, just left of the top
    start = end - math.radians(262)

    def point(a):
        return cx + r * math.cos(a), cy - r * math.sin(a)

    # The stroke stops under the head so the head keeps a crisp point.
    arc_end = end - math.radians(14)
    sx, sy = point(start)
    ex, ey = point(arc_end)
    arc = ('<path d="M %s %s A %s %s 0 1 0 %s %s" fill="none" stroke="%s" stroke-width="2.5" '
           'stroke-linecap="round"/>' % (f(sx), f(sy), f(r), f(r), f(ex), f(ey), colour))
    px, py = point(end)
    dx, dy = -math.sin(end), -math.cos(end)          # counter-clockwise on screen
    nx, ny = -dy, dx
    tip = (px + dx * 3.4, py + dy * 3.4)
    back = (px - dx * 2.6, py - dy * 2.6)
    head = ('<path d="M %s %s L %s %s L %s %s Z" fill="%s" stroke="%s" stroke-width="1" '
            'stroke-linejoin="round"/>' % (
                f(tip[0]), f(tip[1]), f(back[0] + nx * 4.2), f(back[1] + ny * 4.2),
                f(back[0] - nx * 4.2), f(back[1] - ny * 4.2), colour, colour))
    screen = ('<rect x="20.25" y="18.75" width="7.5" height="10.5" rx="1.6" fill="%s" '
              'fill-opacity="0.35" stroke="%s" stroke-width="1.5"/>' % (colour, colour))
    return '<g opacity="%s">%s%s%s</g>' % (f(opacity), arc, head, screen)


def padlock_glyph(colour, opacity, closed):
    if closed:
        shackle = "M 19 23 V 18.5 A 5 5 0 0 1 29 18.5 V 23"
    else:
        shackle = "M 29 23 V 14.5 A 5 5 0 0 0 19 14.5 V 17"
    return (
        '<g opacity="%s"><path d="%s" fill="none" stroke="%s" stroke-width="2.6" '
        'stroke-linecap="round"/>'
        '<rect x="15" y="22" width="18" height="14" rx="3.5" fill="%s"/>'
        '<circle cx="24" cy="27.6" r="2" fill="%s"/>'
        '<rect x="23.1" y="28" width="1.8" height="4.2" rx="0.9" fill="%s"/></g>'
        % (f(opacity), shackle, colour, colour, KEYHOLE, KEYHOLE))


def cross_glyph(colour, opacity):
    return ('<g opacity="%s" stroke="%s" stroke-width="2" stroke-linecap="round">'
            '<path d="M 8.6 8.6 L 15.4 15.4"/><path d="M 15.4 8.6 L 8.6 15.4"/></g>'
            % (f(opacity), colour))


def button_content(name, state):
    """Face and glyph of one button state, in the picture's own coordinates."""
    colour, opacity, drop = glyph_style(state)
    if name == "X":
        glyph = cross_glyph(colour, opacity)
    elif name == "Turn Left":
        glyph = rotate_glyph(colour, opacity)
    elif name == "Turn Right":
        glyph = '<g transform="translate(48 0) scale(-1 1)">%s</g>' % rotate_glyph(colour, opacity)
    elif name == "lock":
        glyph = padlock_glyph(colour, opacity, closed=True)
    else:
        glyph = padlock_glyph(colour, opacity, closed=False)
    size = 24 if name == "X" else 48
    return '%s<g transform="translate(0 %d)">%s</g>' % (button_face(size, state), drop, glyph)


def button_svg(name, state):
    size = 24 if name == "X" else 48
    return document(size, size, button_content(name, state), inset_gradient())


BUTTON_STATES = {
    "X": ("n", "d", "o"),
    "Turn Left": ("n", "d", "o", "un"),
    "Turn Right": ("n", "d", "o", "un"),
    "lock": ("n", "d", "o"),
    "Unlock": ("n", "d", "o"),
}


# --- Slide animation ------------------------------------------------------------

FRAME_COUNT = 15


def ease_out(p):
    return 1.0 - (1.0 - p) ** 3


def frame_svg(index):
    """Frame `index` (1..15): the body grows leftwards from the docked handle.

    The buttons ride with the body's left edge, clipped by it and fading in; the
    handle disc slides from its collapsed to its expanded place while its
    chevron turns from left to right. The end frames are composed from the
    real pictures instead (render.py), and this drawing agrees with them.
    """
    e = ease_out((index - 1) / (FRAME_COUNT - 1.0))
    left = COLLAPSED_LEFT * (1.0 - e)
    parts = [body(left, PANEL_W, BODY_ALPHA)]
    parts.append(stage2_zone(left, e))
    parts.append(grip(left + STAGE1_GRIP_X, HANDLE_CENTRE_Y, 0.30 * max(0.0, 1.0 - e / 0.35)))
    buttons = []
    for name in ("X", "Turn Left", "Turn Right", "lock"):
        bx, by = BUTTON_PLACES[name]
        buttons.append('<g transform="translate(%s %d)">%s</g>'
                       % (f(bx + left), by, button_content(name, "n")))
    # Faded in as they come out, so nothing of them shows on the collapsed tab.
    reveal = min(1.0, e / 0.6)
    parts.append('<g clip-path="url(#slide)" opacity="%s">%s</g>' % (f(reveal), "".join(buttons)))
    centre = left + HANDLE_CENTRE_STAGE1 + (HANDLE_CENTRE_STAGE2 - HANDLE_CENTRE_STAGE1) * e
    parts.append(chevron_disc(centre, HANDLE_CENTRE_Y, 180.0 * min(1.0, e / 0.8)))
    defs = handle_defs() + inset_gradient() + (
        '<clipPath id="slide"><path d="%s"/></clipPath>' % body_path(left, PANEL_W))
    return document(PANEL_W, PANEL_H, "".join(parts), defs)


# --- Application icon -------------------------------------------------------------

ICON_SIZES = (16, 24, 32, 48, 64, 256)


def icon_svg(size):
    """The program icon: a display inside a turning arrow, on a slate tile.

    Drawn in a 256 unit box; small sizes get thicker strokes and a plainer
    display so the picture survives at 16 pixels.
    """
    small = size <= 24
    s = 256.0 / size                       # units per pixel
    inset = 0.0 if small else 8.0
    tile = ('<rect x="%s" y="%s" width="%s" height="%s" rx="%s" fill="url(#tile)"/>'
            % (f(inset), f(inset), f(256 - 2 * inset), f(256 - 2 * inset), f(56 if not small else 48)))
    rim = '' if small else (
        '<rect x="%s" y="%s" width="%s" height="%s" rx="%s" fill="none" stroke="#ffffff" '
        'stroke-opacity="0.14" stroke-width="%s"/>'
        % (f(inset + s / 2), f(inset + s / 2), f(256 - 2 * inset - s), f(256 - 2 * inset - s),
           f(56 - s / 2), f(s)))
    cx = cy = 128.0
    r = 78.0 if small else 74.0
    width = max(24.0, 2.2 * s) if small else max(20.0, 2.0 * s)
    end = math.radians(100)
    start = end - math.radians(250)
    arc_end = end - math.radians(16)

    def point(a):
        return cx + r * math.cos(a), cy - r * math.sin(a)

    sx, sy = point(start)
    ex, ey = point(arc_end)
    arc = ('<path d="M %s %s A %s %s 0 1 0 %s %s" fill="none" stroke="%s" stroke-width="%s" '
           'stroke-linecap="round"/>' % (f(sx), f(sy), f(r), f(r), f(ex), f(ey), ACCENT, f(width)))
    px, py = point(end)
    dx, dy = -math.sin(end), -math.cos(end)
    nx, ny = -dy, dx
    head_len = width * 1.6
    head_half = width * 1.35
    tip = (px + dx * head_len * 0.55, py + dy * head_len * 0.55)
    back = (px - dx * head_len * 0.45, py - dy * head_len * 0.45)
    head = '<path d="M %s %s L %s %s L %s %s Z" fill="%s"/>' % (
        f(tip[0]), f(tip[1]), f(back[0] + nx * head_half), f(back[1] + ny * head_half),
        f(back[0] - nx * head_half), f(back[1] - ny * head_half), ACCENT)
    if small:
        screen = '<rect x="100" y="84" width="56" height="88" rx="12" fill="%s"/>' % GLYPH
    else:
        screen = ('<rect x="98" y="80" width="60" height="96" rx="12" fill="%s"/>'
                  '<rect x="106" y="90" width="44" height="70" rx="4" fill="%s"/>'
                  '<circle cx="128" cy="167" r="4.5" fill="%s"/>' % (GLYPH, SLATE_BOTTOM, SLATE_BOTTOM))
    defs = ('<linearGradient id="tile" x1="0" y1="0" x2="0" y2="1">'
            '<stop offset="0" stop-color="#313e54"/><stop offset="1" stop-color="%s"/>'
            '</linearGradient>' % SLATE_BOTTOM)
    content = '<g transform="scale(%s)">%s%s%s%s%s</g>' % (f(1.0 / s), tile, rim, arc, head, screen)
    return document(size, size, content, defs)
