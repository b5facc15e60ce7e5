#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Kavelin artwork: writes the SVG sources and renders the PNGs.

    /usr/bin/python3 resources/src/make_art.py        # SVGs, PNGs, resources.qrc
    /usr/bin/python3 resources/src/make_art.py --svg  # SVGs only

Needs python3-fonttools, libharfbuzz-bin (hb-shape), librsvg2-bin
(rsvg-convert) and the fonts fonts-noto-core.  All lettering is shaped with
HarfBuzz and written into the SVGs as outlines, so the SVG files render the
same everywhere without the fonts.

Grid rules: icons are drawn on a 32-unit grid, toolbar images on a 16-unit
grid, so a 1-unit outline is one crisp device pixel at 1x and two at 2x.
Coloured objects get a darker outline of their own hue; white objects get the
slate outline; symbols (badges, arrows) are flat fills without outline.
"""

import json
import math
import os
import subprocess
import sys

from fontTools.pens.boundsPen import BoundsPen
from fontTools.pens.svgPathPen import SVGPathPen
from fontTools.pens.transformPen import TransformPen
from fontTools.ttLib import TTFont

HERE = os.path.dirname(os.path.abspath(__file__))
RES = os.path.dirname(HERE)

# ---------------------------------------------------------------- palette
INK = "#2E3A4F"        # lettering, dark details
OUT = "#4A5670"        # outline of white / neutral objects
PAPER = "#FFFFFF"
RULE = "#B9C2D0"       # text lines on paper
GREY_L = "#DDE2EA"
GREY = "#8C97AA"
GREY_D = "#5F6B80"
GREY_DD = "#444F63"
INDIGO = "#4B56D2"
INDIGO_D = "#333DA6"
INDIGO_L = "#9AA2F2"
SAFFRON = "#F59A14"
SAFFRON_D = "#C4730A"
RED = "#E0474C"
RED_D = "#A9292E"
GREEN = "#27A065"
GREEN_D = "#1B7649"
TEAL = "#159C93"
FOLDER = "#F6C04A"
FOLDER_B = "#E0A42A"
FOLDER_D = "#A8730E"
WOOD = "#C98B4B"
WOOD_D = "#8E5A26"
GLASS = "#D6E7FF"

FONT_DIR = "/usr/share/fonts/truetype/noto"
FONTS = {
    "sans-bold": "NotoSans-Bold.ttf",
    "sans": "NotoSans-Regular.ttf",
    "serif-bolditalic": "NotoSerif-BoldItalic.ttf",
    "mono": "NotoSansMono-Regular.ttf",
    "mono-bold": "NotoSansMono-Bold.ttf",
    "deva-bold": "NotoSansDevanagari-Bold.ttf",
    "deva": "NotoSansDevanagari-Regular.ttf",
}


# ---------------------------------------------------------------- lettering
class _Font:
    def __init__(self, key):
        self.path = os.path.join(FONT_DIR, FONTS[key])
        self.tt = TTFont(self.path)
        self.gs = self.tt.getGlyphSet()
        self.order = self.tt.getGlyphOrder()
        self.upem = self.tt["head"].unitsPerEm


_fonts = {}


def _font(key):
    if key not in _fonts:
        _fonts[key] = _Font(key)
    return _fonts[key]


def _num(v):
    s = f"{v:.2f}".rstrip("0").rstrip(".")
    return "0" if s in ("-0", "") else s


def _outline(text, key, size, x, y):
    """Shape text with HarfBuzz; return (path data, ink bbox) with the
    baseline origin at (x, y) in SVG coordinates."""
    f = _font(key)
    out = subprocess.run(
        ["hb-shape", "--output-format=json", "--no-glyph-names", f.path, text],
        check=True, capture_output=True, text=True).stdout
    glyphs = json.loads(out)
    s = size / f.upem
    pen = SVGPathPen(f.gs, ntos=_num)
    box = [math.inf, math.inf, -math.inf, -math.inf]
    cx = 0
    for g in glyphs:
        name = f.order[g["g"]]
        tx = x + (cx + g["dx"]) * s
        ty = y - g["dy"] * s
        t = (s, 0, 0, -s, tx, ty)
        f.gs[name].draw(TransformPen(pen, t))
        bp = BoundsPen(f.gs)
        f.gs[name].draw(bp)
        if bp.bounds:
            x0, y0, x1, y1 = bp.bounds
            box[0] = min(box[0], tx + x0 * s)
            box[2] = max(box[2], tx + x1 * s)
            box[1] = min(box[1], ty - y1 * s)
            box[3] = max(box[3], ty - y0 * s)
        cx += g["ax"]
    return pen.getCommands(), box


def text(txt, key, fill, *, cx=None, cy=None, left=None, right=None,
         top=None, bottom=None, height=None, width=None, size=None,
         extra=""):
    """Lettering as a <path>.  Size it by font size, by ink height or by
    ink width; place it by the ink box (centre, or an edge)."""
    d, b = _outline(txt, key, 100, 0, 0)
    if size is None:
        if height is not None:
            size = 100 * height / (b[3] - b[1])
        else:
            size = 100 * width / (b[2] - b[0])
    k = size / 100
    w, h = (b[2] - b[0]) * k, (b[3] - b[1]) * k
    if left is not None:
        x0 = left
    elif right is not None:
        x0 = right - w
    else:
        x0 = cx - w / 2
    if top is not None:
        y0 = top
    elif bottom is not None:
        y0 = bottom - h
    else:
        y0 = cy - h / 2
    ox, oy = x0 - b[0] * k, y0 - b[1] * k
    d, _ = _outline(txt, key, size, ox, oy)
    return f'<path d="{d}" fill="{fill}"{extra}/>'


# ---------------------------------------------------------------- helpers
def svg(w, h, title, *body):
    inner = "\n  ".join(body)
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{w}" '
            f'height="{h}" viewBox="0 0 {w} {h}">\n'
            f"  <title>{title}</title>\n  {inner}\n</svg>\n")


def rect(x, y, w, h, fill, stroke=None, rx=0, sw=1, extra=""):
    s = f' stroke="{stroke}" stroke-width="{sw}"' if stroke else ""
    r = f' rx="{rx}"' if rx else ""
    return (f'<rect x="{_num(x)}" y="{_num(y)}" width="{_num(w)}" '
            f'height="{_num(h)}"{r} fill="{fill}"{s}{extra}/>')


def circle(cx, cy, r, fill, stroke=None, sw=1, extra=""):
    s = f' stroke="{stroke}" stroke-width="{sw}"' if stroke else ""
    return (f'<circle cx="{_num(cx)}" cy="{_num(cy)}" r="{_num(r)}" '
            f'fill="{fill}"{s}{extra}/>')


def path(d, fill="none", stroke=None, sw=1, extra=""):
    s = f' stroke="{stroke}" stroke-width="{_num(sw)}"' if stroke else ""
    return f'<path d="{d}" fill="{fill}"{s}{extra}/>'


def line(x1, y1, x2, y2, stroke, sw=1, cap="round"):
    return (f'<path d="M{_num(x1)} {_num(y1)}L{_num(x2)} {_num(y2)}" '
            f'fill="none" stroke="{stroke}" stroke-width="{_num(sw)}" '
            f'stroke-linecap="{cap}"/>')


def poly(pts, fill, stroke=None, sw=1, extra=""):
    d = "M" + "L".join(f"{_num(x)} {_num(y)}" for x, y in pts) + "Z"
    return path(d, fill, stroke, sw, extra + ' stroke-linejoin="round"')


def group(transform, *items):
    return f'<g transform="{transform}">' + "".join(items) + "</g>"


ROUND = ' stroke-linejoin="round"'
# A faint light rim under dark lettering, so it still reads on dark panels;
# on light panels it disappears into the background.
HALO = (' stroke="#FFFFFF" stroke-opacity=".4" stroke-width="1.2"'
        ' stroke-linejoin="round" paint-order="stroke"')


# ---------------------------------------------------------------- icons (32)
def app_mark(x, y, s):
    """The Kavelin tile: a Latin k turning into Devanagari ka.  Drawn in a
    32-unit box at (x, y) scaled by s."""
    return group(
        f"translate({_num(x)} {_num(y)}) scale({_num(s)})",
        rect(1, 1, 30, 30, INDIGO, rx=7),
        text("k", "sans-bold", SAFFRON, left=5, top=3, height=9.5),
        text("क", "deva-bold", PAPER, right=28, top=14, width=21),
    )


def icon_101():
    return svg(32, 32, "Kavelin", app_mark(0, 0, 1))


def page32(x, y, w, h, lines=()):
    out = [rect(x + .5, y + .5, w - 1, h - 1, PAPER, OUT, rx=1.5)]
    for (lx, ly, lw) in lines:
        out.append(rect(lx, ly, lw, 2, RULE))
    return out


def icon_102():
    lines = [(8, 8, 14), (8, 12, 14), (8, 16, 10), (8, 20, 6)]
    eraser = group(
        "rotate(-40 21 22)",
        rect(11.5, 17.5, 9, 9, RED, RED_D, rx=1.5),
        rect(20.5, 17.5, 9, 9, INDIGO, INDIGO_D, rx=1.5),
        rect(19, 18, 2, 8, PAPER),
    )
    return svg(32, 32, "Clear",
               *page32(4, 2, 20, 27, lines),
               path("M6 27.5H14", stroke=GREY_L, sw=3, extra=' stroke-linecap="round"'),
               eraser)


def icon_103():
    return svg(32, 32, "About",
               circle(16, 16, 14, INDIGO),
               circle(16, 9.5, 2.5, PAPER),
               rect(13.5, 14, 5, 11, PAPER, rx=1.5))


def icon_104():
    return svg(32, 32, "Exit",
               rect(4, 3, 15, 26, GREY_DD, GREY, sw=2),
               poly([(4.5, 3.5), (11.5, 7), (11.5, 31), (4.5, 28.5)],
                    WOOD, WOOD_D),
               circle(9.5, 18, 1.25, SAFFRON),
               poly([(14, 13.5), (22, 13.5), (22, 8), (31, 16), (22, 24),
                     (22, 18.5), (14, 18.5)], RED))


def icon_105():
    keys = []
    for i in range(6):
        keys.append(rect(4 + 4 * i, 11, 3, 3, PAPER, rx=.5))
    for i in range(6):
        fill = SAFFRON if i == 2 else PAPER
        keys.append(rect(5 + 4 * i, 15, 3, 3, fill, rx=.5))
    keys += [rect(4, 19, 3, 3, PAPER, rx=.5),
             rect(8, 19, 16, 3, PAPER, rx=.5),
             rect(25, 19, 3, 3, PAPER, rx=.5)]
    return svg(32, 32, "Keyboard",
               rect(1.5, 8.5, 29, 16, GREY_D, GREY_DD, rx=2.5),
               *keys)


def icon_106():
    return svg(32, 32, "Help",
               circle(16, 16, 14, GREEN),
               text("?", "sans-bold", PAPER, cx=16, cy=16, height=17))


def gear_path(cx, cy, r_out, r_in, r_hole, teeth, tooth_frac=0.5):
    pts = []
    step = 2 * math.pi / teeth
    half_top = step * tooth_frac / 2 * 0.8
    half_base = step * tooth_frac / 2 * 1.15
    for i in range(teeth):
        a = i * step - math.pi / 2
        for ang, r in ((a - half_base, r_in), (a - half_top, r_out),
                       (a + half_top, r_out), (a + half_base, r_in)):
            pts.append((cx + r * math.cos(ang), cy + r * math.sin(ang)))
    d = "M" + "L".join(f"{_num(x)} {_num(y)}" for x, y in pts) + "Z"
    d += (f"M{_num(cx + r_hole)} {_num(cy)}"
          f"a{_num(r_hole)} {_num(r_hole)} 0 1 0 {_num(-2 * r_hole)} 0"
          f"a{_num(r_hole)} {_num(r_hole)} 0 1 0 {_num(2 * r_hole)} 0Z")
    return d


def icon_107():
    return svg(32, 32, "Settings",
               path(gear_path(13, 13, 12, 9, 3.5, 8), GREY_D, GREY_DD,
                    extra=' fill-rule="evenodd" stroke-linejoin="round"'),
               rect(14.5, 18.5, 17, 12, PAPER, INDIGO_D, rx=2),
               text("Aa", "sans-bold", INDIGO, cx=23, cy=24.5, height=7.5))


def icon_108():
    return svg(32, 32, "Print",
               rect(8.5, 2.5, 15, 10, PAPER, OUT, rx=1),
               rect(2.5, 10.5, 27, 13, GREY_D, GREY_DD, rx=2.5),
               rect(3, 11, 26, 3, GREY, rx=2),
               circle(25.5, 15.5, 1.5, GREEN),
               rect(6.5, 18.5, 19, 11, PAPER, OUT, rx=1),
               rect(9, 22, 14, 2, RULE), rect(9, 26, 9, 2, RULE))


# ---------------------------------------------------------------- toolbar (16)
def tb_new():
    return svg(16, 16, "New",
               path("M2.5 1.5H10L13.5 5V14.5H2.5Z", PAPER, OUT, extra=ROUND),
               path("M9.5 1.5V5.5H13.5", GREY_L, OUT, extra=ROUND),
               rect(4, 8, 7, 1, RULE), rect(4, 10, 7, 1, RULE),
               rect(4, 12, 4, 1, RULE))


def tb_open():
    return svg(16, 16, "Open",
               path("M1.5 2.5H6L7.5 4H12.5V13.5H1.5Z", FOLDER_B, FOLDER_D,
                    extra=ROUND),
               rect(3, 5, 8, 5, PAPER),
               path("M1.5 13.5L3.5 7.5H15.5L13.5 13.5Z", FOLDER, FOLDER_D,
                    extra=ROUND))


def tb_save():
    return svg(16, 16, "Save",
               path("M2.5 1.5H12L14.5 4V13.5A1 1 0 0 1 13.5 14.5H2.5"
                    "A1 1 0 0 1 1.5 13.5V2.5A1 1 0 0 1 2.5 1.5Z",
                    INDIGO, INDIGO_D, extra=ROUND),
               rect(4, 2, 7, 4, GREY_L), rect(8, 3, 2, 2, INDIGO_D),
               rect(4, 9, 8, 5, PAPER),
               rect(5, 10, 6, 1, RULE), rect(5, 12, 6, 1, RULE))


def tb_print():
    return svg(16, 16, "Print",
               rect(4.5, 1.5, 7, 5, PAPER, OUT),
               rect(1.5, 5.5, 13, 6, GREY_D, GREY_DD, rx=1),
               rect(12, 7, 1, 1, GREEN),
               rect(3.5, 8.5, 9, 6, PAPER, OUT),
               rect(5, 10, 6, 1, RULE), rect(5, 12, 4, 1, RULE))


def tb_cut():
    return svg(16, 16, "Cut",
               poly([(11.5, 1), (12.5, 2), (7, 10), (5.5, 10)], GREY_D,
                    GREY_DD),
               poly([(4.5, 1), (3.5, 2), (9, 10), (10.5, 10)], GREY_D,
                    GREY_DD),
               circle(8, 6.8, .8, GREY_L),
               circle(4.5, 12, 2.5, "none", RED, 2),
               circle(11.5, 12, 2.5, "none", RED, 2))


def tb_copy():
    return svg(16, 16, "Copy",
               rect(1.5, 1.5, 8, 10, PAPER, OUT),
               rect(3, 4, 5, 1, RULE), rect(3, 6, 5, 1, RULE),
               rect(6.5, 4.5, 8, 10, PAPER, OUT),
               rect(8, 7, 5, 1, INDIGO_L), rect(8, 9, 5, 1, INDIGO_L),
               rect(8, 11, 3, 1, INDIGO_L))


def tb_paste():
    return svg(16, 16, "Paste",
               rect(2.5, 2.5, 11, 12, WOOD, WOOD_D, rx=1),
               rect(4.5, 5.5, 7, 8, PAPER, OUT),
               rect(5.5, 1.5, 5, 3, GREY_L, GREY_DD, rx=.5),
               rect(6, 8, 4, 1, RULE), rect(6, 10, 4, 1, RULE))


def tb_bold():
    return svg(16, 16, "Bold",
               text("B", "sans-bold", INK, cx=8, cy=8, height=12, extra=HALO))


def tb_italic():
    return svg(16, 16, "Italic",
               text("I", "serif-bolditalic", INK, cx=8, cy=8, height=12,
                    extra=HALO))


def tb_underline():
    return svg(16, 16, "Underline",
               text("U", "sans-bold", INK, cx=8, top=1, height=10, extra=HALO),
               rect(3, 13, 10, 2, INDIGO))


def _align(kind):
    widths = [14, 10, 14, 8] if kind != "center" else [14, 8, 12, 6]
    out = []
    for i, w in enumerate(widths):
        y = 1 + 4 * i
        if kind == "left":
            x = 1
        elif kind == "right":
            x = 15 - w
        else:
            x = 8 - w / 2
        out.append(rect(x, y, w, 2, INK, rx=.5, extra=HALO))
    return out


def tb_align_left():
    return svg(16, 16, "Align Left", *_align("left"))


def tb_center():
    return svg(16, 16, "Center", *_align("center"))


def tb_align_right():
    return svg(16, 16, "Align Right", *_align("right"))


ARROW_L = [(1, 8), (7, 2), (7, 6), (15, 6), (15, 10), (7, 10), (7, 14)]


def tb_back():
    return svg(16, 16, "Back", poly(ARROW_L, INDIGO))


def tb_forward():
    return svg(16, 16, "Forward",
               poly([(16 - x, y) for x, y in ARROW_L], INDIGO))


def tb_stop():
    pts = [(5, 1), (11, 1), (15, 5), (15, 11), (11, 15), (5, 15), (1, 11),
           (1, 5)]
    return svg(16, 16, "Stop",
               poly(pts, RED),
               line(5.5, 5.5, 10.5, 10.5, PAPER, 2),
               line(10.5, 5.5, 5.5, 10.5, PAPER, 2))


def tb_refresh():
    cx, cy, r = 8, 8.5, 5
    a0, a1 = math.radians(-60), math.radians(200)
    x0, y0 = cx + r * math.cos(a0), cy + r * math.sin(a0)
    x1, y1 = cx + r * math.cos(a1), cy + r * math.sin(a1)
    d = (f"M{_num(x0)} {_num(y0)}A{r} {r} 0 1 1 {_num(x1)} {_num(y1)}")
    # arrowhead at the start point, pointing along the direction of travel
    # (counter-clockwise in screen terms: tangent at a0 going backwards)
    tx, ty = math.sin(a0), -math.cos(a0)   # direction of decreasing angle
    nx, ny = math.cos(a0), math.sin(a0)    # outward normal
    tip = (x0 + tx * 3.2, y0 + ty * 3.2)
    b1 = (x0 + nx * 3, y0 + ny * 3)
    b2 = (x0 - nx * 3, y0 - ny * 3)
    return svg(16, 16, "Refresh",
               path(d, "none", TEAL, 2),
               poly([tip, b1, b2], TEAL))


def tb_home():
    return svg(16, 16, "Home",
               rect(3.5, 7.5, 9, 7, PAPER, OUT),
               rect(7, 10, 2, 5, WOOD),
               poly([(0.5, 8.5), (8, 1), (15.5, 8.5), (13.5, 8.5), (8, 3),
                     (2.5, 8.5)], RED, RED_D, extra=""))


def tb_search():
    return svg(16, 16, "Search",
               line(10.5, 10.5, 14, 14, WOOD_D, 3),
               circle(6.5, 6.5, 4.75, GLASS, INK, 1.5))


def tb_unicode_preview():
    return svg(16, 16, "Unicode Preview",
               rect(.5, 1.5, 15, 13, PAPER, INDIGO_D, rx=1),
               rect(1, 2, 14, 2, INDIGO),
               text("अ", "deva-bold", INK, cx=8, top=5, height=9))


# ---------------------------------------------------------------- bitmaps
def bmp_101():
    w, h = 150, 85
    return svg(w, h, "Kavelin",
               rect(0, 0, w, h, INDIGO, rx=12),
               path("M0 58V73a12 12 0 0 0 12 12H138a12 12 0 0 0 12-12V58Z",
                    INDIGO_D),
               text("Kavelin", "sans-bold", PAPER, cx=75, cy=31, width=124),
               text("कवेलिन", "deva-bold", SAFFRON, cx=75, cy=71.5, height=19))


def key(x, y, s, label, font, dark=False, lh=12):
    face, edge, ink = (INDIGO, INDIGO_D, PAPER) if dark else \
        (PAPER, "#C3CAD6", INK)
    return "".join([
        rect(x + .5, y + 2.5, s - 1, s - 1, edge, OUT if not dark else INDIGO_D, rx=4),
        rect(x + .5, y + .5, s - 1, s - 1, face, OUT if not dark else INDIGO_D, rx=4),
        text(label, font, ink, cx=x + s / 2, cy=y + s / 2, height=lh),
    ])


def arrow_right(x, y, w, h, fill):
    """Flat arrow in the box (x, y, w, h)."""
    m = y + h / 2
    hw = h * 0.55
    return poly([(x, m - h * 0.18), (x + w - hw, m - h * 0.18),
                 (x + w - hw, y), (x + w, m), (x + w - hw, y + h),
                 (x + w - hw, m + h * 0.18), (x, m + h * 0.18)], fill)


def bmp_102():
    w, h, s = 140, 80, 28
    out = []
    for row, (a, b, dev) in enumerate((("n", "a", "न"), ("m", "a", "म"))):
        y = 7 + row * 36
        out.append(key(10, y, s, a, "sans-bold", lh=11))
        out.append(key(42, y, s, b, "sans-bold", lh=11))
        out.append(arrow_right(78, y + 7, 18, 14, SAFFRON))
        out.append(key(102, y, s, dev, "deva-bold", dark=True, lh=15))
    return svg(w, h, "Roman keys into Devanagari", *out)


def bmp_103():
    w, h = 300, 50
    box_w = 118
    return svg(w, h, "namaste into Devanagari",
               rect(0, 0, w, h, INDIGO, rx=10),
               rect(8.5, 7.5, box_w, 35, PAPER, INDIGO_D, rx=6),
               text("namaste", "mono-bold", INK, left=19, bottom=31, height=15.6),
               rect(115, 13, 2, 24, SAFFRON),
               arrow_right(136, 16, 28, 18, SAFFRON),
               rect(173.5, 7.5, box_w, 35, PAPER, INDIGO_D, rx=6),
               text("नमस्ते", "deva-bold", INDIGO_D, cx=173.5 + box_w / 2,
                    cy=25, height=23))


# ---------------------------------------------------------------- output
ICONS = {f"{n}": globals()[f"icon_{n}"] for n in range(101, 109)}
BITMAPS = {"101": (bmp_101, 150, 85), "102": (bmp_102, 140, 80),
           "103": (bmp_103, 300, 50)}
TOOLBAR = {
    "new": tb_new, "open": tb_open, "save": tb_save, "print": tb_print,
    "cut": tb_cut, "copy": tb_copy, "paste": tb_paste, "bold": tb_bold,
    "italic": tb_italic, "underline": tb_underline,
    "align-left": tb_align_left, "center": tb_center,
    "align-right": tb_align_right, "back": tb_back, "forward": tb_forward,
    "stop": tb_stop, "refresh": tb_refresh, "home": tb_home,
    "search": tb_search, "unicode-preview": tb_unicode_preview,
}


def write(rel, content):
    p = os.path.join(HERE, rel)
    os.makedirs(os.path.dirname(p), exist_ok=True)
    with open(p, "w", encoding="utf-8") as fh:
        fh.write(content)
    return p


def render(src, dst, w, h):
    os.makedirs(os.path.dirname(dst), exist_ok=True)
    subprocess.run(["rsvg-convert", "-w", str(w), "-h", str(h), "-o", dst,
                    src], check=True)


def main():
    svg_only = "--svg" in sys.argv
    jobs = []
    for n, fn in ICONS.items():
        src = write(f"icons/{n}.svg", fn())
        jobs += [(src, f"icons/{n}.png", 32, 32),
                 (src, f"icons/{n}@2x.png", 64, 64)]
    for n, (fn, w, h) in BITMAPS.items():
        src = write(f"bitmaps/{n}.svg", fn())
        jobs.append((src, f"bitmaps/{n}.png", w, h))
    for n, fn in TOOLBAR.items():
        src = write(f"toolbar/{n}.svg", fn())
        jobs += [(src, f"toolbar/{n}.png", 16, 16),
                 (src, f"toolbar/{n}@2x.png", 32, 32)]
    if svg_only:
        return
    for src, dst, w, h in jobs:
        render(src, os.path.join(RES, dst), w, h)
    write_qrc([dst for _, dst, _, _ in jobs])
    print(f"{len(jobs)} images rendered, resources.qrc written")


# Hand-written resources listed beside the pictures.
EXTRA_RESOURCES = ["home/index.html"]


def write_qrc(files):
    lines = ['<!DOCTYPE RCC>', '<RCC version="1.0">', '<qresource prefix="/">']
    for f in sorted(files + EXTRA_RESOURCES, key=lambda f: (f.split("/")[0], f)):
        lines.append(f'    <file alias="{f}">{f}</file>')
    lines += ['</qresource>', '</RCC>', '']
    with open(os.path.join(RES, "resources.qrc"), "w", encoding="utf-8") as fh:
        fh.write("\n".join(lines))


if __name__ == "__main__":
    main()
