#!/usr/bin/env python3
"""Draws the built-in widget drawings and writes them, with their resource file, into DefaultImages/.

Run it after changing a drawing and check the written files in; the build does not run it.

Every drawing uses neutral greys plus tones of exactly one theme colour's hue, so that the
recolouring shader, which tints the pixels near the theme hue, recolours all of the coloured
parts and nothing else. Drawings are kept to what the Qt SVG renderer draws faithfully
(SVG Tiny 1.2): shapes, paths, gradients and opacity; no filters, masks, styles or text.
"""

import colorsys
import math
import re
import sys
from dataclasses import dataclass
from pathlib import Path

OUT_DIR = Path(__file__).resolve().parent.parent / "DefaultImages"
QRC_NAME = "DefaultImages.qrc"

# One stroke width for every outline, in view-box units; view boxes are sized so that a drawing
# shown at its usual size scales them alike.
LINE = 1.0
OUTLINE = "#0B0B0B"


@dataclass(frozen=True)
class Theme:
    colour: str          # exactly the colour the config base gives the theme
    count: int           # drawings of every kind
    rotary_count: int    # themed rotary backgrounds (the first themes have none)
    corner: float        # corner radius factor: the theme's shape language
    depth: float         # strength of the body shading, 0 flat to 1 deep

    def hsv(self):
        rgb = [int(self.colour[i:i + 2], 16) / 255 for i in (1, 3, 5)]
        return colorsys.rgb_to_hsv(*rgb)

    def tone(self, value, saturation=1.0):
        """The theme hue at an absolute value, its saturation scaled; the hue stays exact."""
        hue, sat, _ = self.hsv()
        return hsv_hex(hue, sat * saturation, value)

    def lit(self):
        return self.colour

    def glare(self):
        """The lit colour washed towards white, for the hot centre of a light."""
        return self.tone(1.0, 0.35)

    def dim(self):
        """An unlit lamp: the hue, dark."""
        return self.tone(0.27)

    def deep(self):
        return self.tone(0.16)


THEMES = [
    Theme("#6EFF36", 5, 0, corner=0.7, depth=0.35),
    Theme("#FE4F00", 5, 0, corner=1.4, depth=0.8),
    Theme("#0D72B8", 5, 5, corner=1.0, depth=0.6),
    Theme("#FFD100", 5, 5, corner=0.4, depth=0.7),
    Theme("#0D69B9", 2, 2, corner=1.0, depth=0.3),
]
GENERIC_FADER_COUNT = 4
GENERIC_ROTARY_COUNT = 1

BUTTON_BOX = (40, 24)
LED_BOX = (24, 24)
LED_BAR_BOX = (32, 12)
FADER_CAP_BOX = (32, 20)
FADER_TRACK_BOX = (16, 160)
ROTARY_BOX = (64, 64)
DEFAULT_PICTURE_BOX = (64, 64)

# A rotary's travel: 135 degrees either side of straight up; pointers are drawn pointing up.
SWEEP = 135.0


def hsv_hex(hue, sat, value):
    r, g, b = colorsys.hsv_to_rgb(hue, sat, value)
    return "#%02X%02X%02X" % (round(r * 255), round(g * 255), round(b * 255))


def grey(value):
    level = round(max(0.0, min(1.0, value)) * 255)
    return "#%02X%02X%02X" % (level, level, level)


def num(x):
    text = ("%.3f" % x).rstrip("0").rstrip(".")
    return "0" if text in ("", "-0") else text


def polar(cx, cy, radius, degrees):
    """A point at an angle measured clockwise from straight up."""
    a = math.radians(degrees)
    return cx + radius * math.sin(a), cy - radius * math.cos(a)


def arc_path(cx, cy, radius, start, end):
    x0, y0 = polar(cx, cy, radius, start)
    x1, y1 = polar(cx, cy, radius, end)
    large = 1 if end - start > 180 else 0
    return "M%s %sA%s %s 0 %d 1 %s %s" % (num(x0), num(y0), num(radius), num(radius), large,
                                           num(x1), num(y1))


class Svg:
    def __init__(self, width, height, natural=None):
        self.width, self.height = width, height
        self.natural = natural or (width, height)
        self.defs = []
        self.body = []

    def _attrs(self, attrs):
        parts = []
        for key, value in attrs.items():
            if value is None:
                continue
            if isinstance(value, float):
                value = num(value)
            parts.append('%s="%s"' % (key.rstrip("_").replace("_", "-"), value))
        return " ".join(parts)

    def add(self, tag, **attrs):
        self.body.append("<%s %s/>" % (tag, self._attrs(attrs)))

    def _gradient(self, tag, stops, attrs):
        gid = "g%d" % len(self.defs)
        lines = ['<%s id="%s" gradientUnits="userSpaceOnUse" %s>' % (tag, gid, self._attrs(attrs))]
        for offset, colour, *opacity in stops:
            alpha = ' stop-opacity="%s"' % num(opacity[0]) if opacity else ""
            lines.append('<stop offset="%s" stop-color="%s"%s/>' % (num(offset), colour, alpha))
        lines.append("</%s>" % tag)
        self.defs.append("".join(lines))
        return "url(#%s)" % gid

    def linear(self, stops, x1, y1, x2, y2):
        return self._gradient("linearGradient", stops, dict(x1=float(x1), y1=float(y1),
                                                             x2=float(x2), y2=float(y2)))

    def vertical(self, stops, top, bottom):
        return self.linear(stops, 0, top, 0, bottom)

    def radial(self, stops, cx, cy, r, fx=None, fy=None):
        return self._gradient("radialGradient", stops, dict(
            cx=float(cx), cy=float(cy), r=float(r),
            fx=float(cx if fx is None else fx), fy=float(cy if fy is None else fy)))

    def text(self):
        head = ('<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" '
                'width="%s" height="%s" viewBox="0 0 %s %s">'
                % (num(self.natural[0]), num(self.natural[1]), num(self.width), num(self.height)))
        defs = ["<defs>"] + self.defs + ["</defs>"] if self.defs else []
        return "\n".join(['<?xml version="1.0" encoding="UTF-8"?>', head] + defs + self.body
                         + ["</svg>", ""])


# Shared parts ---------------------------------------------------------------------------------

def grey_body(svg, theme, top, bottom, light=0.34, dark=0.14):
    """A grey gradient lit from above; the theme's depth sets how strong it is."""
    mid = (light + dark) / 2
    spread = (light - dark) / 2 * (0.4 + 0.6 * theme.depth)
    return svg.vertical([(0, grey(mid + spread)), (1, grey(mid - spread))], top, bottom)


def rounded_rect(svg, x, y, w, h, r, **attrs):
    svg.add("rect", x=float(x), y=float(y), width=float(w), height=float(h),
            rx=float(min(r, w / 2, h / 2)), ry=float(min(r, w / 2, h / 2)), **attrs)


def top_sheen(svg, x, y, w, h, r, strength):
    """A soft white reflection over the upper part of a face."""
    fill = svg.vertical([(0, "#FFFFFF", strength), (1, "#FFFFFF", 0)], y, y + h)
    rounded_rect(svg, x, y, w, h, r, fill=fill)


def glow_disc(svg, theme, cx, cy, inner, outer, strength):
    fill = svg.radial([(0, theme.lit(), strength), (inner / outer, theme.lit(), strength),
                       (1, theme.lit(), 0)], cx, cy, outer)
    svg.add("circle", cx=float(cx), cy=float(cy), r=float(outer), fill=fill)


# Buttons --------------------------------------------------------------------------------------

def button(theme, variant, on):
    w, h = BUTTON_BOX
    svg = Svg(w, h)
    radius = 3.0 * theme.corner
    body = grey_body(svg, theme, 0, h)
    if variant == 3:
        radius = h / 2
    rounded_rect(svg, 0.5, 0.5, w - 1, h - 1, radius, fill=body, stroke=OUTLINE, stroke_width=LINE)
    inner = max(radius - 2.5, 0.8)

    if variant == 0:  # soft key: the whole face lights
        face = (svg.vertical([(0, theme.glare()), (0.45, theme.lit()), (1, theme.tone(0.62))], 3, 21)
                if on else svg.vertical([(0, theme.tone(0.34)), (1, theme.tone(0.2))], 3, 21))
        rounded_rect(svg, 3, 3, 34, 18, inner, fill=face, stroke=theme.tone(0.12), stroke_width=LINE)
        top_sheen(svg, 4, 3.5, 32, 8, inner, 0.28 if on else 0.08)
    elif variant == 1:  # key with a lamp strip along its top
        cap = grey_body(svg, theme, 3, 21, light=0.4, dark=0.2)
        rounded_rect(svg, 3, 3, 34, 18, inner, fill=cap, stroke=grey(0.08), stroke_width=LINE)
        if on:
            rounded_rect(svg, 6, 4, 28, 6, 3, fill=theme.lit(), fill_opacity=0.35)
        rounded_rect(svg, 8, 5.5, 24, 3, 1.5, fill=theme.lit() if on else theme.dim(),
                     stroke=theme.glare() if on else theme.deep(), stroke_width=0.5)
    elif variant == 2:  # dark key whose frame lights
        if on:
            face = svg.radial([(0, theme.lit(), 0.45), (1, theme.lit(), 0.08)], 20, 12, 18)
            rounded_rect(svg, 3.5, 3.5, 33, 17, inner, fill=face)
        rounded_rect(svg, 3.5, 3.5, 33, 17, inner, fill="none",
                     stroke=theme.lit() if on else theme.dim(), stroke_width=1.5)
        if on:
            rounded_rect(svg, 3.5, 3.5, 33, 17, inner, fill="none", stroke=theme.glare(),
                         stroke_width=0.5)
    elif variant == 3:  # capsule
        face = (svg.vertical([(0, theme.glare()), (0.5, theme.lit()), (1, theme.tone(0.6))], 3, 21)
                if on else svg.vertical([(0, theme.tone(0.32)), (1, theme.deep())], 3, 21))
        rounded_rect(svg, 3, 3, 34, 18, 9, fill=face, stroke=theme.tone(0.12), stroke_width=LINE)
        top_sheen(svg, 7, 4, 26, 7, 3.5, 0.4 if on else 0.1)
    else:  # grey key with an indicator lamp
        cap = grey_body(svg, theme, 3, 21, light=0.42, dark=0.22)
        rounded_rect(svg, 3, 3, 34, 18, inner, fill=cap, stroke=grey(0.08), stroke_width=LINE)
        # the lamp sits in the corner, leaving the face free for the widget's label
        if on:
            glow_disc(svg, theme, 8, 7.5, 2.25, 5, 0.5)
        svg.add("circle", cx=8.0, cy=7.5, r=2.25,
                fill=(svg.radial([(0, theme.glare()), (1, theme.lit())], 7.5, 7, 2.25) if on
                      else theme.dim()),
                stroke=grey(0.1), stroke_width=0.5)
    # light from above catches the top edge
    rounded_rect(svg, 1.5, 1.5, w - 3, h - 3, max(radius - 1, 0.5), fill="none",
                 stroke="#FFFFFF", stroke_opacity=0.1, stroke_width=LINE)
    return svg


# LEDs -----------------------------------------------------------------------------------------

def lens_fill(svg, theme, on, cx, cy, r):
    if on:
        return svg.radial([(0, theme.glare()), (0.45, theme.lit()), (1, theme.tone(0.7))],
                          cx, cy, r, cx - r * 0.25, cy - r * 0.3)
    return svg.radial([(0, theme.tone(0.36)), (1, theme.deep())], cx, cy, r,
                      cx - r * 0.25, cy - r * 0.3)


def specular(svg, cx, cy, rx, ry, strength):
    svg.add("ellipse", cx=float(cx), cy=float(cy), rx=float(rx), ry=float(ry),
            fill=svg.radial([(0, "#FFFFFF", strength), (1, "#FFFFFF", 0)], cx, cy, rx))


def led(theme, variant, on):
    if variant == 3:  # a bar segment, as in a row of meter lamps
        w, h = LED_BAR_BOX
        svg = Svg(w, h)
        rounded_rect(svg, 0.5, 0.5, w - 1, h - 1, 2 * theme.corner,
                     fill=grey_body(svg, theme, 0, h), stroke=OUTLINE, stroke_width=LINE)
        lens = (svg.vertical([(0, theme.glare()), (0.5, theme.lit()), (1, theme.tone(0.7))], 3, 9)
                if on else svg.vertical([(0, theme.tone(0.34)), (1, theme.deep())], 3, 9))
        rounded_rect(svg, 3, 3, 26, 6, theme.corner, fill=lens, stroke=grey(0.05),
                     stroke_width=0.5)
        top_sheen(svg, 4, 3.5, 24, 2.5, 1, 0.45 if on else 0.15)
        return svg

    w, h = LED_BOX
    svg = Svg(w, h)
    c = w / 2
    if variant == 0:  # round lamp in a bezel
        svg.add("circle", cx=c, cy=c, r=10.5, fill=grey_body(svg, theme, 1.5, 22.5),
                stroke=OUTLINE, stroke_width=LINE)
        if on:
            glow_disc(svg, theme, c, c, 7, 11.5, 0.45)
        svg.add("circle", cx=c, cy=c, r=7.5, fill=grey(0.05))
        svg.add("circle", cx=c, cy=c, r=6.5, fill=lens_fill(svg, theme, on, c, c, 6.5))
        specular(svg, 10, 9, 2.6, 1.6, 0.7 if on else 0.3)
    elif variant == 1:  # square lamp
        r = 2.5 * theme.corner
        rounded_rect(svg, 1.5, 1.5, 21, 21, r, fill=grey_body(svg, theme, 1.5, 22.5),
                     stroke=OUTLINE, stroke_width=LINE)
        if on:
            rounded_rect(svg, 3, 3, 18, 18, r, fill=theme.lit(), fill_opacity=0.35)
        rounded_rect(svg, 5, 5, 14, 14, r * 0.6, fill=lens_fill(svg, theme, on, c, c, 9),
                     stroke=grey(0.05), stroke_width=LINE)
        top_sheen(svg, 6, 5.5, 12, 5, r * 0.5, 0.45 if on else 0.15)
    elif variant == 2:  # ring lamp around a dark hub
        svg.add("circle", cx=c, cy=c, r=10.5, fill=grey_body(svg, theme, 1.5, 22.5),
                stroke=OUTLINE, stroke_width=LINE)
        if on:
            glow_disc(svg, theme, c, c, 7.5, 11.5, 0.4)
        svg.add("circle", cx=c, cy=c, r=7.75, fill=grey(0.05))
        ring = (svg.radial([(0, theme.glare()), (0.6, theme.glare()), (0.8, theme.lit()),
                            (1, theme.tone(0.75))], c, c, 7) if on
                else svg.radial([(0, theme.tone(0.34)), (0.7, theme.tone(0.3)), (1, theme.deep())],
                                c, c, 7))
        svg.add("circle", cx=c, cy=c, r=5.5, fill="none", stroke=ring, stroke_width=2.5)
        svg.add("circle", cx=c, cy=c, r=3.75, fill=grey_body(svg, theme, 8, 16, 0.3, 0.12),
                stroke=grey(0.04), stroke_width=0.5)
    else:  # bare dot, free to glow wide
        if on:
            glow_disc(svg, theme, c, c, 4, 11.5, 0.55)
        svg.add("circle", cx=c, cy=c, r=5.5, fill=lens_fill(svg, theme, on, c, c, 5.5),
                stroke=theme.tone(0.1) if not on else theme.tone(0.8), stroke_width=LINE)
        specular(svg, 10.5, 10, 2, 1.2, 0.7 if on else 0.3)
    return svg


# Fader caps -----------------------------------------------------------------------------------

def fader_cap(theme, variant):
    w, h = FADER_CAP_BOX
    svg = Svg(w, h)
    r = 2.0 * theme.corner
    mid = h / 2
    if variant == 0:  # classic: convex cap, grip ridges, lit index line
        body = grey_body(svg, theme, 0, h, 0.48, 0.18)
    elif variant == 1:  # dished cap, lighter at both edges
        body = svg.vertical([(0, grey(0.44)), (0.5, grey(0.2 + 0.08 * (1 - theme.depth))),
                             (1, grey(0.36))], 0, h)
    elif variant == 2:  # cap moulded in the theme colour
        body = svg.vertical([(0, theme.tone(1.0, 0.7)), (0.5, theme.lit()),
                             (1, theme.tone(0.45))], 0, h)
    elif variant == 3:  # dark cap outlined in the theme colour
        body = svg.vertical([(0, grey(0.17)), (1, grey(0.08))], 0, h)
    else:  # fine-ribbed cap with index arrows at its ends
        body = grey_body(svg, theme, 0, h, 0.42, 0.2)
    rounded_rect(svg, 0.5, 0.5, w - 1, h - 1, r, fill=body, stroke=OUTLINE, stroke_width=LINE)

    def ridges(ys, colour, x0=4.0, x1=28.0):
        for y in ys:
            svg.add("line", x1=x0, y1=float(y), x2=x1, y2=float(y), stroke=colour,
                    stroke_width=LINE, stroke_linecap="round")
            svg.add("line", x1=x0, y1=y + 0.9, x2=x1, y2=y + 0.9, stroke="#FFFFFF",
                    stroke_opacity=0.12, stroke_width=0.5)

    if variant == 0:
        ridges((3.5, 5.5, 13.5, 15.5), grey(0.12))
        rounded_rect(svg, 2, mid - 1, w - 4, 2, 0.5, fill=theme.lit())
    elif variant == 1:
        ridges((4.0, 15.0), grey(0.14))
        rounded_rect(svg, 3, mid - 0.75, w - 6, 1.5, 0.5, fill=theme.lit())
        for x in (1.0, w - 3.0):
            rounded_rect(svg, x, mid - 2, 2, 4, 0.5, fill=theme.lit())
    elif variant == 2:
        ridges((3.5, 5.5, 13.5, 15.5), theme.tone(0.3))
        rounded_rect(svg, 2, mid - 0.75, w - 4, 1.5, 0.5, fill=grey(0.95))
    elif variant == 3:
        rounded_rect(svg, 1.75, 1.75, w - 3.5, h - 3.5, max(r - 1, 0.5), fill="none",
                     stroke=theme.dim(), stroke_width=LINE)
        rounded_rect(svg, 2, mid - 1, w - 4, 2, 0.5, fill=theme.lit())
    else:
        ridges([2.5 + 1.75 * i for i in range(4)] + [11.25 + 1.75 * i for i in range(4)],
               grey(0.15), 6.0, 26.0)
        rounded_rect(svg, 6, mid - 0.5, 20, 1, 0.5, fill=grey(0.85))
        for x0, x1 in ((1.5, 5.0), (w - 1.5, w - 5.0)):
            svg.add("path", d="M%s %sL%s %sL%s %sZ" % (num(x0), num(mid - 2.5), num(x1), num(mid),
                                                          num(x0), num(mid + 2.5)),
                    fill=theme.lit())
    top_sheen(svg, 1.5, 1.25, w - 3, h * 0.35, max(r - 1, 0.5), 0.18 * theme.depth + 0.06)
    return svg


# Fader tracks ---------------------------------------------------------------------------------

def fader_track(variant):
    w, h = FADER_TRACK_BOX
    svg = Svg(w, h)
    c = w / 2
    top, bottom = 6.0, h - 6.0

    def slot(width):
        fill = svg.linear([(0, "#000000"), (0.6, grey(0.06)), (1, grey(0.12))], c - width / 2, 0,
                          c + width / 2, 0)
        rounded_rect(svg, c - width / 2, top, width, bottom - top, width / 2, fill=fill,
                     stroke=grey(0.3), stroke_width=LINE)

    if variant == 0:  # the bare slot
        slot(4)
    elif variant == 1:  # slot between tick ladders
        for i in range(11):
            y = top + 4 + i * (bottom - top - 8) / 10
            major = i % 5 == 0
            for x0, x1 in ((0.5 if major else 2.0, 4.5), (w - 4.5, w - 0.5 if major else w - 2.0)):
                svg.add("line", x1=x0, y1=y, x2=x1, y2=y, stroke=grey(0.62 if major else 0.45),
                        stroke_width=LINE, stroke_linecap="round")
        slot(4)
    elif variant == 2:  # slot in a raised plate
        plate = svg.linear([(0, grey(0.16)), (0.5, grey(0.25)), (1, grey(0.14))], 0, 0, w, 0)
        rounded_rect(svg, 0.5, 0.5, w - 1, h - 1, 3, fill=plate, stroke=OUTLINE, stroke_width=LINE)
        rounded_rect(svg, 1.5, 1.5, w - 3, h - 3, 2, fill="none", stroke="#FFFFFF",
                     stroke_opacity=0.08, stroke_width=LINE)
        slot(4)
    else:  # narrow slot between two rails with end stops
        for x in (3.5, w - 3.5):
            svg.add("line", x1=x, y1=top, x2=x, y2=bottom, stroke=grey(0.4), stroke_width=LINE,
                    stroke_linecap="round")
        for y in (top - 3, bottom + 1):
            rounded_rect(svg, 2, y, w - 4, 2, 1, fill=grey(0.45), stroke=OUTLINE,
                         stroke_width=0.5)
        slot(2.5)
    return svg


# Rotary pointers (the turning knob) -------------------------------------------------------------

def knob_shadow(svg, c, r):
    svg.add("circle", cx=c, cy=c + 1.5, r=r + 1, fill=svg.radial(
        [(0, "#000000", 0.55), (r / (r + 1), "#000000", 0.45), (1, "#000000", 0)], c, c + 1.5, r + 1))


def rotary_pointer(theme, variant):
    w, h = ROTARY_BOX
    svg = Svg(w, h)
    c = w / 2
    skirt, cap = 21.0, 16.0

    def cap_disc(radius, light=0.36, dark=0.18):
        edge = svg.vertical([(0, grey(0.55)), (1, grey(0.08))], c - radius, c + radius)
        svg.add("circle", cx=c, cy=c, r=radius,
                fill=svg.radial([(0, grey(light)), (1, grey(dark))], c, c, radius, c, c - radius * 0.6),
                stroke=edge, stroke_width=LINE)

    def index_line(y0, y1, colour, width=2.5):
        svg.add("line", x1=c, y1=y0, x2=c, y2=y1, stroke=colour, stroke_width=width,
                stroke_linecap="round")

    if variant == 3:  # a needle alone, turning over a dial
        svg.add("path", d="M%s 3.5L%s 28L%s 39L%s 28Z" % (num(c), num(c + 2), num(c), num(c - 2)),
                fill=svg.linear([(0, theme.lit()), (0.5, theme.lit()), (1, theme.tone(0.55))],
                                c - 2, 0, c + 2, 0),
                stroke=theme.tone(0.25), stroke_width=0.5, stroke_linejoin="round")
        svg.add("circle", cx=c, cy=c, r=4.5, fill=grey_body(svg, theme, c - 4.5, c + 4.5, 0.45, 0.15),
                stroke=OUTLINE, stroke_width=LINE)
        svg.add("circle", cx=c, cy=c, r=1.5, fill=theme.lit())
        return svg

    knob_shadow(svg, c, skirt)
    if variant == 0:  # skirted knob with a lit index line
        svg.add("circle", cx=c, cy=c, r=skirt, fill=grey_body(svg, theme, c - skirt, c + skirt),
                stroke=OUTLINE, stroke_width=LINE)
        index_line(c - skirt + 2, c - skirt + 6, theme.lit(), 2)
        cap_disc(cap)
        index_line(c - cap + 2.5, c - 5, theme.lit())
    elif variant == 1:  # knurled grip with a lit dot
        svg.add("circle", cx=c, cy=c, r=skirt, fill=grey_body(svg, theme, c - skirt, c + skirt, 0.3, 0.1),
                stroke=OUTLINE, stroke_width=LINE)
        for i in range(48):
            x0, y0 = polar(c, c, skirt - 3, i * 7.5)
            x1, y1 = polar(c, c, skirt - 0.5, i * 7.5)
            svg.add("line", x1=x0, y1=y0, x2=x1, y2=y1, stroke=grey(0.42 if i % 2 else 0.06),
                    stroke_width=0.75)
        cap_disc(skirt - 3.5, 0.4, 0.2)
        glow_disc(svg, theme, c, c - 12, 2, 3.5, 0.35)
        svg.add("circle", cx=c, cy=c - 12, r=2.0, fill=theme.lit(), stroke=theme.tone(0.35),
                stroke_width=0.5)
    elif variant == 2:  # skirt moulded in the theme colour, white index
        skirt_fill = svg.vertical([(0, theme.glare()), (0.3, theme.lit()), (1, theme.tone(0.3))],
                                  c - skirt, c + skirt)
        svg.add("circle", cx=c, cy=c, r=skirt, fill=skirt_fill, stroke=OUTLINE, stroke_width=LINE)
        cap_disc(cap - 0.5)
        index_line(c - skirt + 1.5, c - 5, grey(0.95))
    else:  # pointer bar across a round body
        svg.add("circle", cx=c, cy=c, r=skirt - 2, fill=grey_body(svg, theme, c - skirt, c + skirt, 0.26, 0.08),
                stroke=OUTLINE, stroke_width=LINE)
        bar = svg.linear([(0, grey(0.3)), (0.4, grey(0.5)), (1, grey(0.2))], c - 6, 0, c + 6, 0)
        rounded_rect(svg, c - 6, 8.5, 12, 47, 6, fill=bar, stroke=OUTLINE, stroke_width=LINE)
        rounded_rect(svg, c - 4.5, 10, 9, 44, 4.5, fill="none", stroke="#FFFFFF",
                     stroke_opacity=0.12, stroke_width=0.5)
        index_line(12.0, 24.0, theme.lit())
    return svg


# Rotary backgrounds (the fixed dial around the knob) -----------------------------------------

def dial_well(svg, c):
    svg.add("circle", cx=c, cy=c, r=23.5, fill=svg.radial(
        [(0, grey(0.13)), (0.85, grey(0.1)), (1, grey(0.04))], c, c, 23.5),
        stroke=grey(0.22), stroke_width=0.5)


def ticks(svg, c, count, inner, outer, colour, width, angles=None):
    for i in range(count):
        angle = -SWEEP + i * 2 * SWEEP / (count - 1) if angles is None else angles[i]
        x0, y0 = polar(c, c, inner, angle)
        x1, y1 = polar(c, c, outer, angle)
        svg.add("line", x1=x0, y1=y0, x2=x1, y2=y1, stroke=colour, stroke_width=width,
                stroke_linecap="round")


def rotary_dial(variant, bright, faint, ramp):
    """Draws a dial in the given colours; ramp(t) gives the colour along the travel, t from 0 to 1."""
    w, h = ROTARY_BOX
    svg = Svg(w, h)
    c = w / 2
    if variant == 3:  # raised plate with a recessed well
        plate = svg.vertical([(0, grey(0.3)), (1, grey(0.12))], 1, 63)
        svg.add("circle", cx=c, cy=c, r=31, fill=plate, stroke=OUTLINE, stroke_width=LINE)
    dial_well(svg, c)
    if variant == 0:  # tick scale, longer ticks at the quarters
        ticks(svg, c, 21, 26.5, 29, faint, LINE)
        ticks(svg, c, 5, 25.5, 30.5, bright, 1.5)
    elif variant == 1:  # segmented ramp, growing brighter along the travel
        segments = 15
        step = 2 * SWEEP / segments
        for i in range(segments):
            start = -SWEEP + i * step + 1.2
            svg.add("path", d=arc_path(c, c, 27.5, start, start + step - 2.4), fill="none",
                    stroke=ramp(i / (segments - 1)), stroke_width=3.5)
    elif variant == 2:  # dots that grow along the travel
        for i in range(11):
            x, y = polar(c, c, 28, -SWEEP + i * 2 * SWEEP / 10)
            svg.add("circle", cx=x, cy=y, r=0.9 + 0.13 * i, fill=ramp(i / 10))
    elif variant == 3:
        svg.add("path", d=arc_path(c, c, 26.75, -SWEEP, SWEEP), fill="none", stroke=faint,
                stroke_width=1.5, stroke_linecap="round")
        ticks(svg, c, 3, 25, 29.5, bright, 1.5)
    else:  # centre-detented scale, ramping outwards from the middle
        ticks(svg, c, 21, 26.5, 29, faint, LINE)
        for side in (-1, 1):
            for i in range(9):
                start = side * (4 + i * 14.5)
                end = start + side * 12
                svg.add("path", d=arc_path(c, c, 24, min(start, end), max(start, end)),
                        fill="none", stroke=ramp(i / 8), stroke_width=1.5)
        x, y = polar(c, c, 30.5, 0)
        svg.add("path", d="M%s %sL%s %sL%s %sZ" % (num(x - 2.5), num(y - 1), num(x + 2.5), num(y - 1),
                                                      num(x), num(y + 3)), fill=bright)
        for angle in (-SWEEP, SWEEP):
            ticks(svg, c, 1, 25.5, 30.5, bright, 1.5, [angle])
    return svg


def themed_rotary(theme, variant):
    return rotary_dial(variant, theme.lit(), theme.tone(0.62, 0.85),
                       lambda t: theme.tone(theme.hsv()[2] * (0.55 + 0.45 * t)))


def generic_rotary(variant):
    return rotary_dial(variant, grey(0.78), grey(0.45), lambda t: grey(0.3 + 0.5 * t))


# The default picture --------------------------------------------------------------------------

def default_picture():
    w, h = DEFAULT_PICTURE_BOX
    svg = Svg(w, h, natural=(128, 128))
    rounded_rect(svg, 5, 11, 54, 42, 3, fill=grey(0.2), stroke=grey(0.55), stroke_width=2.0)
    svg.add("circle", cx=44.0, cy=23.0, r=4.5, fill=grey(0.75))
    svg.add("path", d="M6 46L22 27L33 39L38 34L58 50L58 52L6 52Z", fill=grey(0.45))
    svg.add("path", d="M6 52L6 48L16 41L27 52Z", fill=grey(0.6))
    return svg


# Checks on what is generated -----------------------------------------------------------------

# The widgets hand the shader this hue distance; a colour further from the theme hue would keep
# its colour when the user picks another. Below the shader's saturation threshold it leaves
# colours alone, and dark colours are judged by neither (their hue is lost in rounding).
RECOLOUR_RANGE = 0.12
SHADER_MIN_SATURATION = 0.025
JUDGEABLE_VALUE = 48 / 255

# Height per width of each kind: caps and keys wider than tall, knobs and dials square, lamps
# square or wide, tracks tall and thin.
PROPORTIONS = [("fader_control", 0.3, 0.9), ("rotary", 1.0, 1.0), ("btn_", 0.4, 0.8),
               ("led_", 0.25, 1.0), ("gen_fader", 4.0, 20.0), ("defaultImage", 0.0, 100.0)]


def hue_distance(a, b):
    return 0.5 - abs(abs(a - b) - 0.5)


def drawing_faults(name, svg):
    """What is wrong with a drawing, as text; empty when it suits its widget and the shader."""
    faults = []
    low, high = next((lo, hi) for kind, lo, hi in PROPORTIONS if kind in name)
    if not low <= svg.height / svg.width <= high:
        faults.append("view box %s x %s outside %s..%s height per width" % (svg.width, svg.height, low, high))
    theme = THEMES[int(name.split("_")[2])] if name.startswith("default_th_") else None
    colours = set(re.findall(r"#[0-9A-Fa-f]{6}\b", svg.text()))
    themed = 0
    for colour in sorted(colours):
        hue, sat, value = colorsys.rgb_to_hsv(*[int(colour[i:i + 2], 16) / 255 for i in (1, 3, 5)])
        if sat < SHADER_MIN_SATURATION or value < JUDGEABLE_VALUE:
            continue
        if theme is None or hue_distance(hue, theme.hsv()[0]) > RECOLOUR_RANGE:
            faults.append("%s is neither grey nor of the theme's hue" % colour)
        elif sat >= 0.3:
            themed += 1
    if theme is not None and themed == 0:
        faults.append("no colour of the theme for the shader to recolour")
    if len(colours) < 2:
        faults.append("a flat blot: shading needs more than one colour")
    return faults


# Catalogue and output -------------------------------------------------------------------------

def drawings():
    """Every drawing by resource name, in the order the config base lists them."""
    for t, theme in enumerate(THEMES):
        for n in range(theme.count):
            yield "default_th_%d_fader_control_%d" % (t, n), fader_cap(theme, n)
        for n in range(theme.count):
            yield "default_th_%d_rotary_pointer_%d" % (t, n), rotary_pointer(theme, n)
        for n in range(theme.rotary_count):
            yield "default_th_%d_rotary_%d" % (t, n), themed_rotary(theme, n)
        for n in range(theme.count):
            yield "default_th_%d_btn_off_%d" % (t, n), button(theme, n, False)
            yield "default_th_%d_btn_on_%d" % (t, n), button(theme, n, True)
        for n in range(theme.count):
            yield "default_th_%d_led_off_%d" % (t, n), led(theme, n, False)
            yield "default_th_%d_led_on_%d" % (t, n), led(theme, n, True)
    for n in range(GENERIC_FADER_COUNT):
        yield "default_gen_fader_%d" % n, fader_track(n)
    for n in range(GENERIC_ROTARY_COUNT):
        yield "default_gen_rotary_%d" % n, generic_rotary(n)
    yield "defaultImage", default_picture()


def main():
    OUT_DIR.mkdir(exist_ok=True)
    for stale in OUT_DIR.glob("*.svg"):
        stale.unlink()
    entries = []
    faults = []
    for name, svg in drawings():
        faults += ["%s: %s" % (name, fault) for fault in drawing_faults(name, svg)]
        (OUT_DIR / (name + ".svg")).write_text(svg.text(), encoding="utf-8")
        entries.append('    <file alias="%s">%s.svg</file>' % (name, name))
    qrc = ["<RCC>", '  <qresource prefix="/">'] + entries + ["  </qresource>", "</RCC>", ""]
    (OUT_DIR / QRC_NAME).write_text("\n".join(qrc), encoding="utf-8")
    print("wrote %d drawings to %s" % (len(entries), OUT_DIR))
    for fault in faults:
        print(fault, file=sys.stderr)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
