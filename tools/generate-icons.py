#!/usr/bin/env python3
"""Draws the editor's icons, brand logo, start-page illustration and colour checkerboard into images/,
and lists them in images/images.qrc next to the entries it does not own.

Run it after changing a drawing and check the written files in; the build does not run it. It fails,
naming the drawing, when what it wrote is off (see faults()).

Icons share one grid and one pen: a 24 x 24 view box, round caps and joins, light grey lines on
transparent, the selection green only where an icon means "add" or "run". Every icon also gets a
"_Disabled" twin in the disabled text grey, and the few the resource page names with "_Off" get that
twin as well. Drawings stay within what Qt's SVG renderer draws faithfully (SVG Tiny 1.2): shapes,
paths, gradients and opacity; no filters, masks, styles or text.
"""

import math
import random
import re
import struct
import sys
import xml.etree.ElementTree as ET
import zlib
from pathlib import Path

OUT_DIR = Path(__file__).resolve().parent.parent / "images"
ICON_DIR = "Images"
QRC_NAME = "images.qrc"

LINE = "#B3B3B3"       # enabled text and lines
OFF = "#4D4E4E"        # disabled text
ACCENT = "#04FFC5"     # selection
PAGE = "#000508"       # the start page behind the illustration
PEN = 1.75

# Pages that show a disabled icon under its "_Off" name.
OFF_TWINS = {"Icon_Undo", "Icon_Redo", "Icon_ChangeImage", "Icon_DeleteImage"}


def num(x):
    text = ("%.2f" % x).rstrip("0").rstrip(".")
    return "0" if text in ("", "-0") else text


# An icon is a list of shapes; each shape names its role, which picks its colours per variant:
# "line" and "accent" are stroked, "solid" is stroked and filled, "tint" and "accent_tint" are
# stroked with a faint fill of the same colour.
def path(d, role="line"):
    return (role, "path", {"d": d})


def rect(x, y, w, h, r=1.0, role="line"):
    return (role, "rect", {"x": x, "y": y, "width": w, "height": h, "rx": r})


def circle(cx, cy, r, role="line"):
    return (role, "circle", {"cx": cx, "cy": cy, "r": r})


def turned(shapes):
    """The shapes turned a quarter clockwise about the centre (left edge to top edge)."""
    return [("group", "matrix(0 1 -1 0 24 0)", shapes)]


def render_shapes(shapes, colours):
    out = []
    for shape in shapes:
        if shape[0] == "group":
            out.append('<g transform="%s">%s</g>' % (shape[1], "".join(render_shapes(shape[2], colours))))
            continue
        role, tag, attrs = shape
        colour = colours["accent"] if role.startswith("accent") else colours["line"]
        text = " ".join('%s="%s"' % (k, num(v) if isinstance(v, (int, float)) else v)
                        for k, v in attrs.items())
        style = 'stroke="%s"' % colour
        if role == "solid":
            style += ' fill="%s"' % colour
        elif role.endswith("tint"):
            style += ' fill="%s" fill-opacity="0.22"' % colour
        out.append("<%s %s %s/>" % (tag, text, style))
    return out


def icon_svg(shapes, colours):
    body = "".join(render_shapes(shapes, colours))
    return ('<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" width="24" '
            'height="24" viewBox="0 0 24 24"><g fill="none" stroke-width="%s" stroke-linecap="round" '
            'stroke-linejoin="round">%s</g></svg>\n' % (num(PEN), body))


# ---- shared pieces -------------------------------------------------------------------------------

# Frames drawn open at the bottom right, where a small badge sits centred on (17.5, 17.5).
LAYOUT_FRAME = "M21 12V7a2 2 0 0 0-2-2H5a2 2 0 0 0-2 2v10a2 2 0 0 0 2 2h7"
IMAGE_FRAME = "M21 12V6a2 2 0 0 0-2-2H5a2 2 0 0 0-2 2v12a2 2 0 0 0 2 2h7"
GRID_FRAME = "M20 12V6a2 2 0 0 0-2-2H6a2 2 0 0 0-2 2v12a2 2 0 0 0 2 2h6"

BADGE_ADD = path("M17.5 14v7M14 17.5h7", "accent")
BADGE_MINUS = path("M14 17.5h7")
BADGE_PLUS = path("M17.5 14v7M14 17.5h7")
BADGE_REMOVE = path("M15 15l5 5M20 15l-5 5")


BADGE_SWAP = path("M14.5 15.5h6M18.5 13.5l2 2-2 2M20.5 20h-6M16.5 18l-2 2 2 2")

# A layout: panels of controls side by side.
LAYOUT_INSIDE = [path("M9 5v14M9 11h12")]
IMAGE_INSIDE = [circle(8, 8.5, 1.6), path("M3.5 16.5l4.5-4.5 3.5 3.5 2.5-2.5 1.5 1.5")]
GRID_INSIDE = [path("M9.33 4v16M4 9.33h16M14.67 4v8M4 14.67h8")]

DOCUMENT = path("M13.5 3H7a2 2 0 0 0-2 2v14a2 2 0 0 0 2 2h10a2 2 0 0 0 2-2V8.5z")
DOCUMENT_FOLD = path("M13.5 3v4a1.5 1.5 0 0 0 1.5 1.5h4")
TRAY = path("M4 14.5V18a2 2 0 0 0 2 2h12a2 2 0 0 0 2-2v-3.5")
MAGNIFIER = [circle(10.5, 10.5, 6.5), path("M15.3 15.3l5.2 5.2")]
MENU_CARET = path("M17.5 19l1.75 1.75L21 19")


def scissors():
    rings = [(7.0, 17.5), (17.0, 17.5)]
    tips = [(16.5, 3.5), (7.5, 3.5)]
    shapes = []
    for (cx, cy), (tx, ty) in zip(rings, tips):
        dx, dy = tx - cx, ty - cy
        length = math.hypot(dx, dy)
        sx, sy = cx + 3 * dx / length, cy + 3 * dy / length
        shapes.append(circle(cx, cy, 3))
        shapes.append(path("M%s %sL%s %s" % (num(sx), num(sy), num(tx), num(ty))))
    return shapes


# Stacking order: squares running from the top left (back) to the bottom right (front). The
# selected one is solid; a square hides what lies behind it with a small gap around its edge.
def stack(count, selected, box=24.0):
    size, step, gap = (11.0, 6.0, 2.6) if count == 2 else (9.5, 5.0, 2.4)
    size *= box / 24
    step *= box / 24
    origin = (box - size - step * (count - 1)) / 2
    boxes = [(origin + i * step, origin + i * step) for i in range(count)]
    shapes = []
    for i, (x, y) in enumerate(boxes):
        r, b = x + size, y + size
        role = "solid" if i == selected else "line"
        if i == count - 1:
            shapes.append(rect(x, y, size, size, 1.5, role))
            continue
        nx, ny = boxes[i + 1]
        if role == "solid":
            hx, hy = nx - gap - 0.9, ny - gap - 0.9
            d = "M%s %sH%sV%sH%sV%sH%sz" % (num(x), num(y), num(r), num(hy), num(hx), num(b), num(x))
        else:
            d = "M%s %sV%sH%sV%sH%s" % (num(r), num(ny - gap), num(y), num(x), num(b), num(nx - gap))
        shapes.append(path(d, role))
    return shapes


ALIGN_LEFT = [path("M4 3v18"), rect(7.5, 5, 12.5, 5), rect(7.5, 14, 7.5, 5)]
ALIGN_CENTRE = [path("M12 3v2M12 10v4M12 19v2"), rect(5, 5, 14, 5), rect(8, 14, 8, 5)]
ALIGN_RIGHT = [path("M20 3v18"), rect(4, 5, 12.5, 5), rect(9, 14, 7.5, 5)]
DISTRIBUTE = [path("M3.5 4v16M20.5 4v16"), rect(6.5, 7, 4, 10), rect(13.5, 5, 4, 14)]
FILL = [path("M4 5v14M20 5v14M7.5 12h9M10 9.5L7.5 12l2.5 2.5M14 9.5l2.5 2.5-2.5 2.5")]

ICONS = {
    # File menu
    "New_File": [DOCUMENT, DOCUMENT_FOLD, path("M12 11.5v6M9 14.5h6", "accent")],
    "Open_File": [path("M4 19V6a1.5 1.5 0 0 1 1.5-1.5h3.8l2 2h6.2A1.5 1.5 0 0 1 19 8v3"),
                  path("M4 19l2.8-8H21l-2.6 8z")],
    "Save_File": [path("M5 3.5h10.5l5 5V19a1.5 1.5 0 0 1-1.5 1.5H5A1.5 1.5 0 0 1 3.5 19V5A1.5 1.5 0 0 1 5 3.5z"),
                  path("M8 3.5V8h6.5V3.5"), path("M7.5 20.5v-6h9v6")],
    "Upload_File": [TRAY, path("M12 15.5V4M7.5 8.5L12 4l4.5 4.5")],
    "Download_File": [TRAY, path("M12 4v11.5M7.5 11l4.5 4.5 4.5-4.5")],
    # Test window
    "Icon_Play": [path("M7.5 5.2v13.6a1 1 0 0 0 1.52.85l10.9-6.8a1 1 0 0 0 0-1.7L9.02 4.35A1 1 0 0 0 7.5 5.2z",
                       "accent_tint")],
    "Icon_Stop": [rect(5.5, 5.5, 13, 13, 2, "tint")],
    # Clipboard and history
    "Icon_Cut": scissors(),
    "Icon_Copy": [rect(9, 9, 11.5, 11.5, 2),
                  path("M15 9V5.5a2 2 0 0 0-2-2H5.5a2 2 0 0 0-2 2V13a2 2 0 0 0 2 2H9")],
    "Icon_Paste": [path("M8.5 5H7a2 2 0 0 0-2 2v12.5a2 2 0 0 0 2 2h10a2 2 0 0 0 2-2V7a2 2 0 0 0-2-2h-1.5"),
                   rect(8.5, 3, 7, 4, 1), path("M9 12h6M9 16h4")],
    "Icon_Undo": [path("M8.5 13.5L4 9l4.5-4.5"), path("M4 9h10.5a5.5 5.5 0 0 1 0 11H10")],
    "Icon_Redo": [path("M15.5 13.5L20 9l-4.5-4.5"), path("M20 9H9.5a5.5 5.5 0 0 0 0 11H14")],
    # Layouts and images
    "Icon_NewLayout": [path(LAYOUT_FRAME)] + LAYOUT_INSIDE + [BADGE_ADD],
    "Icon_DeleteLayout": [path(LAYOUT_FRAME)] + LAYOUT_INSIDE + [BADGE_REMOVE],
    "Icon_NewImage": [path(IMAGE_FRAME)] + IMAGE_INSIDE + [BADGE_ADD],
    "Icon_ChangeImage": [path(IMAGE_FRAME)] + IMAGE_INSIDE + [BADGE_SWAP],
    "Icon_DeleteImage": [path(IMAGE_FRAME)] + IMAGE_INSIDE + [BADGE_REMOVE],
    # Grid
    "Icon_DecreaseGridSize": [path(GRID_FRAME)] + GRID_INSIDE + [BADGE_MINUS],
    "Icon_IncreaseGridSize": [path(GRID_FRAME)] + GRID_INSIDE + [BADGE_PLUS],
    "Icon_SnapToGrid": [path("M5 4v7.5a7 7 0 0 0 14 0V4h-4.5v7.5a2.5 2.5 0 0 1-5 0V4z"),
                        path("M5 8h4.5M14.5 8H19")],
    "Icon_ShowGrid": [rect(4, 4, 16, 16, 2), path("M9.33 4v16M14.67 4v16M4 9.33h16M4 14.67h16")],
    "Icon_LightDarkGrid": [circle(12, 12, 8), path("M12 4a8 8 0 0 1 0 16z", "solid")],
    # Arranging the selection
    "Icon_FillHorizontally": FILL,
    "Icon_FillVertically": turned(FILL),
    "Icon_Align": [path("M4 3v18"), rect(7.5, 5, 11, 4.5), rect(7.5, 12.5, 6, 4.5), MENU_CARET],
    "Icon_AlignLeft": ALIGN_LEFT,
    "Icon_AlignVCentre": ALIGN_CENTRE,
    "Icon_AlignRight": ALIGN_RIGHT,
    "Icon_AlignTop": turned(ALIGN_LEFT),
    "Icon_AlignHCentre": turned(ALIGN_CENTRE),
    "Icon_AlignBottom": turned(ALIGN_RIGHT),
    "Icon_DistributeHorizontally": DISTRIBUTE,
    "Icon_DistributeVertically": turned(DISTRIBUTE),
    "Icon_Order": stack(3, None, box=18.0) + [MENU_CARET],
    "Icon_BringToFront": stack(3, 2),
    "Icon_BringForwards": stack(2, 1),
    "Icon_SendToBack": stack(3, 0),
    "Icon_SendBackwards": stack(2, 0),
    # View
    "Icon_ZoomIn": MAGNIFIER + [path("M10.5 7.5v6M7.5 10.5h6")],
    "Icon_ZoomOut": MAGNIFIER + [path("M7.5 10.5h6")],
    "Icon_ZoomToFit": [path("M4 8.5V5a1 1 0 0 1 1-1h3.5M15.5 4H19a1 1 0 0 1 1 1v3.5"
                            "M20 15.5V19a1 1 0 0 1-1 1h-3.5M8.5 20H5a1 1 0 0 1-1-1v-3.5"),
                       rect(8.5, 8.5, 7, 7, 1)],
}


# ---- brand logo ----------------------------------------------------------------------------------

# Letters on a 10-unit cap height, drawn from their top left; (path, advance).
LETTERS = {
    "K": ("M0 0v10M7 0L0 6.6M2.6 4.15L7.2 10", 7.2),
    "E": ("M6.4 0H0v10h6.4M0 5h5.2", 6.4),
    "L": ("M0 0v10h6", 5.0),   # narrower advance: the open top would leave a hole
    "V": ("M0 0l3.8 10L7.6 0", 7.6),
    "A": ("M0 10L3.8 0l3.8 10M1.35 6.4h4.9", 7.6),
    "R": ("M0 10V0h4.2a2.9 2.9 0 0 1 0 5.8H0M3.9 5.8L6.9 10", 6.9),
    "I": ("M0 0v10", 0.0),
}


def brand_logo():
    # Emblem: three fader tracks with their caps at different heights.
    parts = []
    for x, cap in ((4.0, 14.5), (11.0, 8.0), (18.0, 11.5)):
        parts.append('<path d="M%s 3.5V%sM%s %sV20.5" stroke="%s" stroke-opacity="0.55"/>'
                     % (num(x), num(cap - 3), num(x), num(cap + 3), LINE))
        parts.append('<rect x="%s" y="%s" width="6" height="3.5" rx="1" fill="%s" stroke="none"/>'
                     % (num(x - 3), num(cap - 1.75), ACCENT))
    x, scale, tracking = 31.0, 1.2, 3.2
    word = []
    for letter in "KELVARI":
        d, advance = LETTERS[letter]
        word.append('<path transform="translate(%s 6) scale(%s)" d="%s"/>' % (num(x), num(scale), d))
        x += (advance + tracking) * scale
    width = math.ceil(x - tracking * scale + 1.5)
    return ('<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" width="%d" height="24" '
            'viewBox="0 0 %d 24"><g fill="none" stroke-width="1.6" stroke-linecap="round" '
            'stroke-linejoin="round">%s<g stroke="%s" stroke-width="%s">%s</g></g></svg>\n'
            % (width, width, "".join(parts), LINE, num(1.6 / scale), "".join(word)))


# ---- start page illustration ---------------------------------------------------------------------

def initial_page_background():
    """A mixing surface seen from the operator's seat, in dim lines: fader strips on the desk
    and a meter bridge behind them, fading towards the back so the page's buttons stay legible."""
    W, H = 1600, 900
    horizon, focal, centre = 300.0, 600.0, 800.0
    rng = random.Random(7)
    out = []

    def to_screen(x, z, lift=0.0):
        # x across the desk, z away from the viewer (1 at the front edge), lift above the desk.
        return centre + x * focal / z * 1.65, horizon + (focal - lift) / z

    def line(p, q, colour, opacity, width):
        out.append('<path d="M%s %sL%s %s" stroke="%s" stroke-opacity="%s" stroke-width="%s"/>'
                   % (num(p[0]), num(p[1]), num(q[0]), num(q[1]), colour, num(opacity), num(width)))

    def quad(points, colour, opacity):
        d = "M" + "L".join("%s %s" % (num(x), num(y)) for x, y in points) + "z"
        out.append('<path d="%s" fill="%s" fill-opacity="%s" stroke="none"/>' % (d, colour, num(opacity)))

    teal, grey = "#2FB7A4", "#8FA3A8"
    near, far, bridge = 1.0, 2.3, 2.45
    strips = 24
    half = 1.0

    # Desk outline and a faint sheen.
    out.append('<defs><linearGradient id="desk" x1="0" y1="0" x2="0" y2="1">'
               '<stop offset="0" stop-color="%s" stop-opacity="0.10"/>'
               '<stop offset="1" stop-color="%s" stop-opacity="0.02"/></linearGradient>'
               '<radialGradient id="glow" cx="800" cy="520" r="760" gradientUnits="userSpaceOnUse">'
               '<stop offset="0" stop-color="%s" stop-opacity="0.10"/>'
               '<stop offset="1" stop-color="%s" stop-opacity="0"/></radialGradient>'
               '<linearGradient id="fogBelow" x1="0" y1="0" x2="0" y2="1">'
               '<stop offset="0.72" stop-color="%s" stop-opacity="0"/>'
               '<stop offset="1" stop-color="%s" stop-opacity="0.85"/></linearGradient>'
               '<linearGradient id="fogSides" x1="0" y1="0" x2="1" y2="0">'
               '<stop offset="0" stop-color="%s" stop-opacity="0.9"/>'
               '<stop offset="0.22" stop-color="%s" stop-opacity="0"/>'
               '<stop offset="0.78" stop-color="%s" stop-opacity="0"/>'
               '<stop offset="1" stop-color="%s" stop-opacity="0.9"/></linearGradient></defs>'
               % ((teal,) * 4 + (PAGE,) * 6))
    out.append('<rect x="0" y="0" width="%d" height="%d" fill="url(#glow)"/>' % (W, H))
    corners = [to_screen(-half, near), to_screen(-half, far), to_screen(half, far), to_screen(half, near)]
    d = "M" + "L".join("%s %s" % (num(x), num(y)) for x, y in corners) + "z"
    out.append('<path d="%s" fill="url(#desk)" stroke="%s" stroke-opacity="0.35" stroke-width="1.5"/>' % (d, teal))

    for i in range(strips + 1):
        x = -half + 2 * half * i / strips
        line(to_screen(x, near), to_screen(x, far), grey, 0.07, 1)

    for i in range(strips):
        x = -half + 2 * half * (i + 0.5) / strips
        # Fader slot, and a cap with its lit index line.
        line(to_screen(x, 1.08), to_screen(x, 1.75), grey, 0.3, 1.6)
        pos = 1.12 + 0.55 * rng.random()
        w, depth = 0.026, 0.024
        quad([to_screen(x - w, pos), to_screen(x + w, pos), to_screen(x + w, pos + depth),
              to_screen(x - w, pos + depth)], grey, 0.28)
        line(to_screen(x - w, pos + depth / 2), to_screen(x + w, pos + depth / 2), "#04FFC5", 0.55, 1.5)
        # Two knobs above the fader.
        for kz in (1.88, 2.08):
            cx, cy = to_screen(x, kz)
            r = 13.0 / kz
            out.append('<circle cx="%s" cy="%s" r="%s" stroke="%s" stroke-opacity="0.22" stroke-width="1.2"/>'
                       % (num(cx), num(cy), num(r), grey))
            a = math.radians(rng.uniform(-135, 135))
            line((cx, cy), (cx + r * math.sin(a), cy - r * math.cos(a) * 0.55), teal, 0.45, 1.2)
        # Meter on the bridge: segments lit from the bottom, the top one brightest.
        level = rng.uniform(0.25, 0.85)
        segments = 14
        for s in range(segments):
            lo, hi = 18 + s * 9, 18 + s * 9 + 6
            lit = s / segments < level
            colour = "#04FFC5" if lit and s >= segments * level - 1 else teal
            opacity = (0.5 if lit else 0.06) * (1 - 0.02 * s)
            quad([to_screen(x - 0.022, bridge, lo), to_screen(x + 0.022, bridge, lo),
                  to_screen(x + 0.022, bridge, hi), to_screen(x - 0.022, bridge, hi)], colour, opacity)

    # Bridge frame.
    top = 18 + 14 * 9 + 8
    for lift in (10, top):
        line(to_screen(-half, bridge, lift), to_screen(half, bridge, lift), teal, 0.22, 1.2)
    line(to_screen(-half, far), to_screen(-half, bridge, top), teal, 0.18, 1.2)
    line(to_screen(half, far), to_screen(half, bridge, top), teal, 0.18, 1.2)

    # Fog in the page colour: the surface fades out towards the viewer and the sides.
    out.append('<rect x="0" y="0" width="%d" height="%d" fill="url(#fogBelow)"/>' % (W, H))
    out.append('<rect x="0" y="0" width="%d" height="%d" fill="url(#fogSides)"/>' % (W, H))

    return ('<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" width="%d" height="%d" '
            'viewBox="0 0 %d %d"><g fill="none" stroke-linecap="round" stroke-linejoin="round">%s</g></svg>\n'
            % (W, H, W, H, "".join(out)))


# ---- checkerboard --------------------------------------------------------------------------------

def checkerboard_png(size=20, light=(0x9A, 0x9A, 0x9A), dark=(0x6B, 0x6B, 0x6B)):
    """One tile of four squares, so that tiling it gives an unbroken checkerboard."""
    half = size // 2
    rows = b"".join(b"\0" + b"".join(bytes(light if (x < half) == (y < half) else dark) for x in range(size))
                    for y in range(size))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    header = struct.pack(">IIBBBBB", size, size, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows, 9))
            + chunk(b"IEND", b""))


# ---- checks on what is written ------------------------------------------------------------------

HEX = re.compile(r"#[0-9A-Fa-f]{6}\b")
# Least width per height: the logo sits in the 28-pixel menu bar, the illustration fills a landscape page.
MIN_WIDTH_PER_HEIGHT = {"brandLogo.svg": 3.0, "initialPageBackground.svg": 1.5}
TOOLBAR_PIXELS = 30


def brightest(svg):
    return max((max(int(c[i:i + 2], 16) for i in (1, 3, 5)) for c in HEX.findall(svg)), default=0)


def faults(written):
    """What is wrong with the written files, as text. Every drawing draws something, no narrower than its
    place allows; an icon's pen stays at least a pixel wide at toolbar size; its disabled twins are the
    same shape in the dim grey while it is lit; the checkerboard tiles without seams."""
    found = []
    for name, content in written.items():
        if name.endswith(".png"):
            found += ["%s: %s" % (name, f) for f in tile_faults(content)]
            continue
        width, height = (float(v) for v in re.search(r'viewBox="0 0 ([\d.]+) ([\d.]+)"', content).groups())
        least = MIN_WIDTH_PER_HEIGHT.get(name, 1.0)
        if width / height < least:
            found.append("%s: narrower than %s widths a height" % (name, least))
        if not re.search(r"<(path|rect|circle) ", content):
            found.append("%s: draws nothing" % name)
        if name.startswith(ICON_DIR) and PEN * TOOLBAR_PIXELS / max(width, height) < 1:
            found.append("%s: pen under a pixel at toolbar size" % name)
        if "_Disabled" in name or "_Off" in name:
            lit = written[re.sub(r"_(Disabled|Off)\.svg$", ".svg", name)]
            if brightest(lit) < 0xB0 or brightest(content) > 0x50:
                found.append("%s: not dim beside a lit icon" % name)
            if HEX.sub("", lit) != HEX.sub("", content):
                found.append("%s: not the shape of its lit icon" % name)
        elif name.startswith(ICON_DIR) and ("%s_Disabled.svg" % name[:-4]) not in written:
            found.append("%s: no disabled twin" % name)
    return found


def tile_faults(png):
    """Opposite corners of the square tile match and neighbouring ones differ, so that tiles meet seamlessly."""
    width, height = struct.unpack(">II", png[16:24])
    idat = png.index(b"IDAT")
    rows = zlib.decompress(png[idat + 4:idat + 4 + struct.unpack(">I", png[idat - 4:idat])[0]])
    stride = 1 + 3 * width

    def pixel(x, y):
        return rows[y * stride + 1 + 3 * x:y * stride + 4 + 3 * x]

    last = width - 1
    if width != height or width % 2 or pixel(0, 0) != pixel(last, last) or pixel(last, 0) != pixel(0, last) \
            or pixel(0, 0) == pixel(last, 0):
        return ["does not tile as a checkerboard"]
    return []


# ---- output --------------------------------------------------------------------------------------

def write_all():
    icon_dir = OUT_DIR / ICON_DIR
    icon_dir.mkdir(parents=True, exist_ok=True)
    written = {}   # resource file -> alias (None to keep the path)
    contents = {}

    def write(relative, content, alias=None):
        target = OUT_DIR / relative
        if isinstance(content, bytes):
            target.write_bytes(content)
        else:
            target.write_text(content, encoding="utf-8")
        written[relative] = alias
        contents[relative] = content

    enabled = {"line": LINE, "accent": ACCENT}
    disabled = {"line": OFF, "accent": OFF}
    for name, shapes in ICONS.items():
        write("%s/%s.svg" % (ICON_DIR, name), icon_svg(shapes, enabled))
        write("%s/%s_Disabled.svg" % (ICON_DIR, name), icon_svg(shapes, disabled))
        if name in OFF_TWINS:
            write("%s/%s_Off.svg" % (ICON_DIR, name), icon_svg(shapes, disabled))
    write("%s/colourBackground.png" % ICON_DIR, checkerboard_png())
    write("brandLogo.svg", brand_logo(), "brandLogo")
    write("initialPageBackground.svg", initial_page_background(), "initialPageBackground")

    # Drawings left over from renamed icons go, with their entries.
    for stale in icon_dir.glob("*.svg"):
        if "%s/%s" % (ICON_DIR, stale.name) not in written:
            stale.unlink()
    update_qrc(written)
    return faults(contents)


def owned(entry_path):
    return (entry_path.endswith(".svg") and entry_path.startswith(ICON_DIR + "/")) \
        or entry_path in ("brandLogo.svg", "initialPageBackground.svg", ICON_DIR + "/colourBackground.png")


def update_qrc(written):
    qrc = OUT_DIR / QRC_NAME
    if qrc.exists():
        root = ET.parse(qrc).getroot()
    else:
        root = ET.Element("RCC")
    resource = root.find("qresource[@prefix='/']")
    if resource is None:
        resource = ET.SubElement(root, "qresource", prefix="/")
    for entry in list(resource):
        if owned(entry.text or ""):
            resource.remove(entry)
    for relative in sorted(written):
        entry = ET.SubElement(resource, "file")
        entry.text = relative
        if written[relative]:
            entry.set("alias", written[relative])
    ET.indent(root, space="    ")
    qrc.write_text(ET.tostring(root, encoding="unicode") + "\n", encoding="utf-8")


if __name__ == "__main__":
    problems = write_all()
    for problem in problems:
        print(problem, file=sys.stderr)
    sys.exit(1 if problems else 0)
