"""Zentara artwork as SVG text: palette, shapes and one builder per picture.

Every picture the program loads is described here once, for every display
scale the program has a set for; render.py writes the SVG text into art/svg/
and rasterises it. The design is given in pixels at 100 %. A `Layout` turns it
into the pixels of one set: whatever the 100 % design puts on whole pixels (the
body's edges, hairline strokes, the padlock's body, the buttons' places) is
rounded half up to whole pixels of that set, and only what is free (curves,
diagonal strokes, round glyphs) scales exactly. So every set is drawn for its
own size and its straight edges stay sharp.
"""

import math

# --- Panel geometry at 100 % (window pixels) ---------------------------------------

PANEL_W, PANEL_H = 341, 113
BODY_TOP, BODY_BOTTOM = 9, 103          # the body is 94 px tall, centred on y 56
RADIUS_LEFT, RADIUS_RIGHT = 22, 6       # rounded free side, tighter docked side
COLLAPSED_LEFT = 227                    # collapsed, only x 227..340 shows
STAGE1_W, STAGE2_W = 114, 91
HANDLE_CENTRE_STAGE1 = 57               # chevron disc centre, relative to handle left
HANDLE_CENTRE_STAGE2 = 45
HANDLE_CENTRE_Y = 56
STAGE1_GRIP_X = 98                      # relative to the Stage1 handle's left
STAGE2_GRIP_X = 14                      # relative to the panel's left
BUTTON_SIZES = {"X": 24, "Turn Left": 48, "Turn Right": 48, "lock": 48, "Unlock": 48}

BUTTON_PLACES = {                       # widget left/top on the expanded panel
    "X": (280, 44),
    "Turn Left": (102, 32),
    "Turn Right": (158, 32),
    "lock": (214, 32),
    "Unlock": (214, 32),
}

# Display scales with a set of their own, in percent. The 100 % set lives
# directly in images/, every other one in images/scale-<percent>/.
SCALES = (100, 125, 150, 175, 200, 225, 250, 300)


def scale_folder(percent):
    """Folder of a set below images/, with "/" separators; "" for the 100 % set."""
    return "" if percent == 100 else "scale-%d" % percent


def round_half_up(value):
    return int(math.floor(value + 0.5))


class Layout:
    """The panel's geometry in the pixels of one set."""

    def __init__(self, percent=100):
        self.percent = percent
        self.k = percent / 100.0
        px = self.px
        self.panel_w, self.panel_h = px(PANEL_W), px(PANEL_H)
        self.body_top, self.body_bottom = px(BODY_TOP), px(BODY_BOTTOM)
        self.radius_left, self.radius_right = px(RADIUS_LEFT), px(RADIUS_RIGHT)
        self.collapsed_left = px(COLLAPSED_LEFT)
        self.stage1_w, self.stage2_w = px(STAGE1_W), px(STAGE2_W)
        self.handle_centre_stage1 = px(HANDLE_CENTRE_STAGE1)
        self.handle_centre_stage2 = px(HANDLE_CENTRE_STAGE2)
        self.handle_centre_y = px(HANDLE_CENTRE_Y)
        self.stage1_grip_x, self.stage2_grip_x = px(STAGE1_GRIP_X), px(STAGE2_GRIP_X)
        self.line = max(1, px(1))               # a hairline: one pixel at 100 %
        self.button_places = {name: (px(x), px(y)) for name, (x, y) in BUTTON_PLACES.items()}
        self.button_sizes = {name: px(size) for name, size in BUTTON_SIZES.items()}

    def px(self, value):
        """A length the 100 % design puts on whole pixels, in whole pixels of this set."""
        return round_half_up(value * self.k)

    def of(self, value):
        """A free length (curve, diagonal, radius), scaled exactly."""
        return value * self.k


ONE = Layout(100)

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


def body_gradient(g, gid="body"):
    """Vertical slate gradient in window coordinates, shared by every body layer."""
    return (
        '<linearGradient id="%s" gradientUnits="userSpaceOnUse" x1="0" y1="%d" x2="0" y2="%d">'
        '<stop offset="0" stop-color="%s"/><stop offset="1" stop-color="%s"/></linearGradient>'
        % (gid, g.body_top, g.body_bottom, SLATE_TOP, SLATE_BOTTOM)
    )


def rim_gradient(g, gid="rim"):
    """Thin light rim, brighter along the top edge like a lit bevel."""
    return (
        '<linearGradient id="%s" gradientUnits="userSpaceOnUse" x1="0" y1="%d" x2="0" y2="%d">'
        '<stop offset="0" stop-color="#ffffff" stop-opacity="0.20"/>'
        '<stop offset="0.5" stop-color="#ffffff" stop-opacity="0.07"/>'
        '<stop offset="1" stop-color="#ffffff" stop-opacity="0.05"/></linearGradient>'
        % (gid, g.body_top, g.body_bottom)
    )


def body_path(x0, x1, top, bottom, rl, rr):
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


def body_outline(g, x0, x1):
    """The body's outline from x0 to x1 at the set's body height and radii."""
    return body_path(x0, x1, g.body_top, g.body_bottom, g.radius_left, g.radius_right)


def body(g, x0, x1, alpha, rim_opacity=1.0):
    """Panel body from x0 to x1: slate fill plus a hairline inner rim."""
    out = '<path d="%s" fill="url(#body)" fill-opacity="%s"/>' % (body_outline(g, x0, x1), f(alpha))
    if rim_opacity > 0:
        h = g.line / 2.0                        # the rim's centre line, inside the edge
        out += ('<path d="%s" fill="none" stroke="url(#rim)" stroke-width="%d" opacity="%s"/>'
                % (body_path(x0 + h, x1 - h, g.body_top + h, g.body_bottom - h,
                             g.radius_left - h, max(g.radius_right - h, 0)),
                   g.line, f(rim_opacity)))
    return out


# --- Handle -----------------------------------------------------------------------

def chevron_disc(g, cx, cy, angle, active=True):
    """Disc with a chevron; angle 0 points left (expand), 180 points right (collapse)."""
    if active:
        disc = ('<circle cx="%s" cy="%s" r="%s" fill="%s" fill-opacity="0.16" stroke="%s" '
                'stroke-opacity="0.9" stroke-width="%s"/>'
                % (f(cx), f(cy), f(g.of(17)), ACCENT, ACCENT, f(g.of(1.6))))
        stroke, opacity = GLYPH, 1.0
    else:
        disc = ('<circle cx="%s" cy="%s" r="%s" fill="none" stroke="%s" stroke-opacity="0.28" '
                'stroke-width="%s"/>' % (f(cx), f(cy), f(g.of(17)), GLYPH, f(g.of(1.4))))
        stroke, opacity = GLYPH, 0.5
    dx, dy = g.of(3.5), g.of(7.5)
    chevron = ('<path d="M %s %s L %s %s L %s %s" fill="none" stroke="%s" stroke-opacity="%s" '
               'stroke-width="%s" stroke-linecap="round" stroke-linejoin="round" '
               'transform="rotate(%s %s %s)"/>'
               % (f(cx + dx), f(cy - dy), f(cx - dx), f(cy), f(cx + dx), f(cy + dy),
                  stroke, f(opacity), f(g.of(3)), f(angle), f(cx), f(cy)))
    return disc + chevron


def grip(g, cx, cy, opacity):
    """Two short columns of dots: the panel can be dragged by its handle."""
    dots = []
    for dx in (-g.px(3), g.px(3)):
        for dy in (-g.px(6), 0, g.px(6)):
            dots.append('<circle cx="%s" cy="%s" r="%s"/>' % (f(cx + dx), f(cy + dy), f(g.of(1.3))))
    return '<g fill="%s" fill-opacity="%s">%s</g>' % (GLYPH, f(opacity), "".join(dots))


def stage2_zone(g, x0, opacity=1.0):
    """The expanded handle: a lighter strip inside the rim with a groove on its right side."""
    x1 = x0 + g.stage2_w
    w = g.line
    top, bottom = g.body_top + g.px(14), g.body_bottom - g.px(14)
    return (
        '<g opacity="%s"><path d="%s" fill="#ffffff" fill-opacity="0.045"/>'
        '<path d="M %s %d V %d" stroke="%s" stroke-opacity="0.35" stroke-width="%d"/>'
        '<path d="M %s %d V %d" stroke="#ffffff" stroke-opacity="0.11" stroke-width="%d"/>%s</g>'
        % (f(opacity), body_path(x0 + w, x1, g.body_top + w, g.body_bottom - w,
                                 g.radius_left - w, 0),
           f(x1 - 1.5 * w), top, bottom, SHADOW, w,
           f(x1 - 0.5 * w), top, bottom, w,
           grip(g, x0 + g.stage2_grip_x, g.handle_centre_y, 0.30)))


def handle_defs(g):
    return body_gradient(g) + rim_gradient(g)


def stage1_svg(active, g=ONE):
    """Collapsed handle (114 x 113 at 100 %), drawn at the collapsed left over extend0001."""
    alpha = STAGE1_ACTIVE_ALPHA if active else STAGE1_IDLE_ALPHA
    left = g.collapsed_left
    content = '<g transform="translate(%d 0)">%s%s%s</g>' % (
        -left,
        body(g, left, g.panel_w, alpha, 1.0 if active else 0.55),
        grip(g, left + g.stage1_grip_x, g.handle_centre_y, 0.30 if active else 0.14),
        chevron_disc(g, left + g.handle_centre_stage1, g.handle_centre_y, 0, active))
    return document(g.stage1_w, g.panel_h, content, handle_defs(g))


def stage2_svg(g=ONE):
    """Expanded handle (91 x 113 at 100 %), drawn at (0, 0) over extend0015."""
    content = stage2_zone(g, 0) + chevron_disc(g, g.handle_centre_stage2, g.handle_centre_y, 180)
    return document(g.stage2_w, g.panel_h, content, handle_defs(g))


def collapsed_background_svg(g=ONE):
    """extend0001: the base of the docked tab; Stage1 completes it."""
    return document(g.panel_w, g.panel_h,
                    body(g, g.collapsed_left, g.panel_w, COLLAPSED_BASE_ALPHA, 0), handle_defs(g))


def expanded_background_svg(g=ONE):
    """extend0015: the whole panel body."""
    return document(g.panel_w, g.panel_h, body(g, 0, g.panel_w, BODY_ALPHA), handle_defs(g))


# --- Buttons ----------------------------------------------------------------------

STATES = ("n", "d", "o", "un")          # normal, pressed, hovered, disabled


def button_face(g, name, state):
    """Round button chrome for the square picture of button `name`."""
    c = g.button_sizes[name] / 2.0
    # A hairline ring whose outer edge keeps a whole-pixel margin to the picture's edge.
    margin = g.px(2) if BUTTON_SIZES[name] >= 48 else g.px(1)
    r = c - margin - g.line / 2.0
    if state == "n":
        return ('<circle cx="%s" cy="%s" r="%s" fill="#ffffff" fill-opacity="0.07" '
                'stroke="#ffffff" stroke-opacity="0.17" stroke-width="%d"/>'
                % (f(c), f(c), f(r), g.line))
    if state == "o":
        return ('<circle cx="%s" cy="%s" r="%s" fill="%s" fill-opacity="0.28" '
                'stroke="%s" stroke-opacity="0.95" stroke-width="%s"/>'
                % (f(c), f(c), f(r), ACCENT, ACCENT, f(g.of(1.5))))
    if state == "d":
        return ('<circle cx="%s" cy="%s" r="%s" fill="%s" fill-opacity="0.55" '
                'stroke="%s" stroke-opacity="0.55" stroke-width="%d"/>'
                '<circle cx="%s" cy="%s" r="%s" fill="url(#inset)"/>'
                % (f(c), f(c), f(r), SHADOW, ACCENT, g.line, f(c), f(c), f(r - g.line / 2.0)))
    return ('<circle cx="%s" cy="%s" r="%s" fill="#ffffff" fill-opacity="0.025" '
            'stroke="#ffffff" stroke-opacity="0.07" stroke-width="%d"/>'
            % (f(c), f(c), f(r), g.line))


def inset_gradient():
    """Shadow along the top inside of a pressed button."""
    return ('<linearGradient id="inset" x1="0" y1="0" x2="0" y2="1">'
            '<stop offset="0" stop-color="#000000" stop-opacity="0.45"/>'
            '<stop offset="0.45" stop-color="#000000" stop-opacity="0"/></linearGradient>')


def glyph_style(state):
    """Glyph colour, opacity and whether it sinks: pressed sinks by a hairline."""
    return {
        "n": (GLYPH, 0.95, False),
        "o": (GLYPH, 1.0, False),
        "d": (ACCENT_LIGHT, 0.85, True),
        "un": (GLYPH, 0.30, False),
    }[state]


def rotate_glyph(g, colour, opacity):
    """Counter-clockwise arrow around a small display, in a 48 x 48 box at 100 %."""
    cx = cy = g.of(24.0)
    r = g.of(12.0)
    end = math.radians(104)                           # arrow tip, just left of the top
    start = end - math.radians(262)

    def point(a):
        return cx + r * math.cos(a), cy - r * math.sin(a)

    # The stroke stops under the head so the head keeps a crisp point.
    arc_end = end - math.radians(14)
    sx, sy = point(start)
    ex, ey = point(arc_end)
    arc = ('<path d="M %s %s A %s %s 0 1 0 %s %s" fill="none" stroke="%s" stroke-width="%s" '
           'stroke-linecap="round"/>'
           % (f(sx), f(sy), f(r), f(r), f(ex), f(ey), colour, f(g.of(2.5))))
    px, py = point(end)
    dx, dy = -math.sin(end), -math.cos(end)          # counter-clockwise on screen
    nx, ny = -dy, dx
    ahead, behind, half = g.of(3.4), g.of(2.6), g.of(4.2)
    tip = (px + dx * ahead, py + dy * ahead)
    back = (px - dx * behind, py - dy * behind)
    head = ('<path d="M %s %s L %s %s L %s %s Z" fill="%s" stroke="%s" stroke-width="%s" '
            'stroke-linejoin="round"/>' % (
                f(tip[0]), f(tip[1]), f(back[0] + nx * half), f(back[1] + ny * half),
                f(back[0] - nx * half), f(back[1] - ny * half), colour, colour, f(g.of(1))))
    # The display's frame: its inner sides and its top and bottom outer edges lie on
    # whole pixels, the stroke width itself is free.
    w = g.of(1.5)
    inner_half_w, outer_half_h = g.px(3), g.px(6)
    screen = ('<rect x="%s" y="%s" width="%s" height="%s" rx="%s" fill="%s" '
              'fill-opacity="0.35" stroke="%s" stroke-width="%s"/>'
              % (f(cx - inner_half_w - w / 2.0), f(cy - outer_half_h + w / 2.0),
                 f(2 * inner_half_w + w), f(2 * outer_half_h - w), f(g.of(1.6)),
                 colour, colour, f(w)))
    return '<g opacity="%s">%s%s%s</g>' % (f(opacity), arc, head, screen)


def padlock_glyph(g, colour, opacity, closed):
    o = g.of
    if closed:
        shackle = "M %s %s V %s A %s %s 0 0 1 %s %s V %s" % (
            f(o(19)), f(o(23)), f(o(18.5)), f(o(5)), f(o(5)), f(o(29)), f(o(18.5)), f(o(23)))
    else:
        shackle = "M %s %s V %s A %s %s 0 0 0 %s %s V %s" % (
            f(o(29)), f(o(23)), f(o(14.5)), f(o(5)), f(o(5)), f(o(19)), f(o(14.5)), f(o(17)))
    c = g.px(24)
    half = g.px(9)                                   # the lock's body sits on whole pixels
    top, bottom = g.px(22), g.px(36)
    return (
        '<g opacity="%s"><path d="%s" fill="none" stroke="%s" stroke-width="%s" '
        'stroke-linecap="round"/>'
        '<rect x="%d" y="%d" width="%d" height="%d" rx="%s" fill="%s"/>'
        '<circle cx="%s" cy="%s" r="%s" fill="%s"/>'
        '<rect x="%s" y="%s" width="%s" height="%s" rx="%s" fill="%s"/></g>'
        % (f(opacity), shackle, colour, f(o(2.6)),
           c - half, top, 2 * half, bottom - top, f(o(3.5)), colour,
           f(o(24)), f(o(27.6)), f(o(2)), KEYHOLE,
           f(o(23.1)), f(g.px(28)), f(o(1.8)), f(o(4.2)), f(o(0.9)), KEYHOLE))


def cross_glyph(g, colour, opacity):
    near, far = f(g.of(8.6)), f(g.of(15.4))
    return ('<g opacity="%s" stroke="%s" stroke-width="%s" stroke-linecap="round">'
            '<path d="M %s %s L %s %s"/><path d="M %s %s L %s %s"/></g>'
            % (f(opacity), colour, f(g.of(2)), near, near, far, far, far, near, near, far))


def button_content(g, name, state):
    """Face and glyph of one button state, in the picture's own coordinates."""
    colour, opacity, sinks = glyph_style(state)
    if name == "X":
        glyph = cross_glyph(g, colour, opacity)
    elif name == "Turn Left":
        glyph = rotate_glyph(g, colour, opacity)
    elif name == "Turn Right":
        glyph = ('<g transform="translate(%d 0) scale(-1 1)">%s</g>'
                 % (g.button_sizes[name], rotate_glyph(g, colour, opacity)))
    elif name == "lock":
        glyph = padlock_glyph(g, colour, opacity, closed=True)
    else:
        glyph = padlock_glyph(g, colour, opacity, closed=False)
    drop = g.line if sinks else 0
    return '%s<g transform="translate(0 %d)">%s</g>' % (button_face(g, name, state), drop, glyph)


def button_svg(name, state, g=ONE):
    size = g.button_sizes[name]
    return document(size, size, button_content(g, name, state), inset_gradient())


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


def frame_svg(index, g=ONE):
    """Frame `index` (1..15): the body grows leftwards from the docked handle.

    The buttons ride with the body's left edge, clipped by it and fading in; the
    handle disc slides from its collapsed to its expanded place while its
    chevron turns from left to right. The end frames are composed from the
    real pictures instead (render.py), and this drawing agrees with them.
    """
    e = ease_out((index - 1) / (FRAME_COUNT - 1.0))
    left = g.collapsed_left * (1.0 - e)
    parts = [body(g, left, g.panel_w, BODY_ALPHA)]
    parts.append(stage2_zone(g, left, e))
    parts.append(grip(g, left + g.stage1_grip_x, g.handle_centre_y,
                      0.30 * max(0.0, 1.0 - e / 0.35)))
    buttons = []
    for name in ("X", "Turn Left", "Turn Right", "lock"):
        bx, by = g.button_places[name]
        buttons.append('<g transform="translate(%s %d)">%s</g>'
                       % (f(bx + left), by, button_content(g, name, "n")))
    # Faded in as they come out, so nothing of them shows on the collapsed tab.
    reveal = min(1.0, e / 0.6)
    parts.append('<g clip-path="url(#slide)" opacity="%s">%s</g>' % (f(reveal), "".join(buttons)))
    c1, c2 = g.handle_centre_stage1, g.handle_centre_stage2
    centre = left + c1 + (c2 - c1) * e
    parts.append(chevron_disc(g, centre, g.handle_centre_y, 180.0 * min(1.0, e / 0.8)))
    defs = handle_defs(g) + inset_gradient() + (
        '<clipPath id="slide"><path d="%s"/></clipPath>' % body_outline(g, left, g.panel_w))
    return document(g.panel_w, g.panel_h, "".join(parts), defs)


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
