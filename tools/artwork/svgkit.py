"""Small SVG writing kit shared by every drawing of the product.

Everything the program shows is drawn from these helpers so that the whole set keeps
one palette, one stroke weight and one way of drawing lamps, plates and buttons.
Only features that Qt's SVG renderer (SVG Tiny 1.2) draws are used: paths, basic
shapes, linear and radial gradients, opacity and transforms. No filters, masks,
clip paths, CSS or text elements.
"""

import math
import os
from xml.sax.saxutils import quoteattr

# Palette (see the artwork style sheet)
BACKGROUND = "#212121"
PANEL = "#515151"
BUTTON_FACE = "#a0a0a0"
BUTTON_PRESSED = "#4b4b4b"
PLATE = "#3a3d41"
PLATE_HIGHLIGHT = "#4a4e53"
PLATE_SHADOW = "#2a2c2f"
PCB = "#1f5f3a"
PCB_COPPER = "#c8a24a"
SILK = "#e8e8e8"
CHIP = "#1b1b1b"
PIN = "#9a9a9a"
SYMBOL_INACTIVE = "#8c8c8c"
SYMBOL_ACTIVE = "#ffffff"
TELLTALE_GREEN = "#2ecc40"
TELLTALE_BLUE = "#1e6fff"
TELLTALE_AMBER = "#ffb000"
TELLTALE_RED = "#ff3b30"

LAMP_HEADLIGHT = "#f4f8ff"
LAMP_INDICATOR = "#ff9f1a"
LAMP_BRAKE = "#ff2a1a"
LAMP_REVERSE = "#ffffff"
LAMP_FOG = "#ffe36b"
LED_LEFT = "#ff2a1a"
LED_UP = "#2ecc40"
LED_RIGHT = "#1e6fff"
LED_DOWN = "#ffe36b"


def fmt(v):
    """Compact number text: at most four decimals, no trailing zeros."""
    if isinstance(v, str):
        return v
    s = f"{v:.4f}".rstrip("0").rstrip(".")
    return "0" if s in ("-0", "") else s


def attrs(**kw):
    """Attribute text from keyword arguments; '_' in a name becomes '-'; None is left out."""
    out = []
    for k, v in kw.items():
        if v is None:
            continue
        name = k.rstrip("_").replace("_", "-")
        if isinstance(v, (int, float)):
            v = fmt(v)
        out.append(f"{name}={quoteattr(str(v))}")
    return " ".join(out)


class Canvas:
    """One SVG file: a fixed page size (width/height text with unit) and a view box."""

    def __init__(self, width, height, view_w, view_h):
        self.width = width          # text, e.g. "191.16933mm" or "100"
        self.height = height
        self.view_w = view_w        # text, exactly as the file must carry it
        self.view_h = view_h
        self.vw = float(view_w)
        self.vh = float(view_h)
        self.defs = []
        self.body = []
        self._ids = 0

    # ids -----------------------------------------------------------------
    def new_id(self, prefix="g"):
        self._ids += 1
        return f"{prefix}{self._ids}"

    # defs ----------------------------------------------------------------
    def linear(self, stops, x1=0, y1=0, x2=0, y2=1, units=None, **extra):
        """Linear gradient; stops = [(offset, colour, opacity), ...]. Returns 'url(#id)'."""
        gid = self.new_id("lg")
        s = "".join(
            f'<stop offset="{fmt(o)}" stop-color="{c}" stop-opacity="{fmt(a)}"/>' for o, c, a in stops
        )
        self.defs.append(
            f'<linearGradient {attrs(id=gid, x1=x1, y1=y1, x2=x2, y2=y2, gradientUnits=units, **extra)}>{s}</linearGradient>'
        )
        return f"url(#{gid})"

    def radial(self, stops, cx=0.5, cy=0.5, r=0.5, fx=None, fy=None, units=None, **extra):
        gid = self.new_id("rg")
        s = "".join(
            f'<stop offset="{fmt(o)}" stop-color="{c}" stop-opacity="{fmt(a)}"/>' for o, c, a in stops
        )
        self.defs.append(
            f'<radialGradient {attrs(id=gid, cx=cx, cy=cy, r=r, fx=fx, fy=fy, gradientUnits=units, **extra)}>{s}</radialGradient>'
        )
        return f"url(#{gid})"

    # shapes --------------------------------------------------------------
    def add(self, text):
        self.body.append(text)

    def rect(self, x, y, w, h, rx=None, ry=None, **kw):
        self.add(f"<rect {attrs(x=x, y=y, width=w, height=h, rx=rx, ry=ry if ry is not None else rx, **kw)}/>")

    def circle(self, cx, cy, r, **kw):
        self.add(f"<circle {attrs(cx=cx, cy=cy, r=r, **kw)}/>")

    def ellipse(self, cx, cy, rx, ry, **kw):
        self.add(f"<ellipse {attrs(cx=cx, cy=cy, rx=rx, ry=ry, **kw)}/>")

    def line(self, x1, y1, x2, y2, **kw):
        self.add(f"<line {attrs(x1=x1, y1=y1, x2=x2, y2=y2, **kw)}/>")

    def path(self, d, **kw):
        self.add(f"<path {attrs(d=d, **kw)}/>")

    def polygon(self, pts, **kw):
        self.add(f"<polygon {attrs(points=' '.join(f'{fmt(x)},{fmt(y)}' for x, y in pts), **kw)}/>")

    def polyline(self, pts, **kw):
        self.add(f"<polyline {attrs(points=' '.join(f'{fmt(x)},{fmt(y)}' for x, y in pts), **kw)}/>")

    def group(self, **kw):
        """Context manager for <g ...> ... </g>."""
        canvas = self

        class _G:
            def __enter__(self_inner):
                canvas.add(f"<g {attrs(**kw)}>")
                return canvas

            def __exit__(self_inner, *exc):
                canvas.add("</g>")

        return _G()

    # composite helpers ---------------------------------------------------
    def glow(self, cx, cy, r, colour, peak=0.6):
        """Soft radial glow around a lit lamp: colour at `peak` opacity fading to 0."""
        g = self.radial([(0, colour, peak), (0.45, colour, peak * 0.45), (1, colour, 0)],
                        cx=cx, cy=cy, r=r, units="userSpaceOnUse")
        self.circle(cx, cy, r, fill=g)

    def glow_ellipse(self, cx, cy, rx, ry, colour, peak=0.6):
        g = self.radial([(0, colour, peak), (0.45, colour, peak * 0.45), (1, colour, 0)])
        self.ellipse(cx, cy, rx, ry, fill=g)

    def plate(self, x, y, w, h, radius=None, screws=True):
        """Anodised aluminium module plate with bevel and screw holes."""
        r = radius if radius is not None else 0.03 * min(w, h)
        edge = 0.01 * self.vw
        self.rect(x, y, w, h, r, fill=PLATE_SHADOW)
        body = self.linear([(0, PLATE_HIGHLIGHT, 1), (0.5, PLATE, 1), (1, PLATE_SHADOW, 1)])
        self.rect(x + edge * 0.6, y + edge * 0.6, w - edge * 1.2, h - edge * 1.2, r * 0.9, fill=body)
        if screws:
            sr = 0.012 * min(w, h) + edge * 0.3
            inset = r + sr * 1.2
            for sx, sy in ((x + inset, y + inset), (x + w - inset, y + inset),
                           (x + inset, y + h - inset), (x + w - inset, y + h - inset)):
                self.screw(sx, sy, sr)

    def screw(self, cx, cy, r):
        head = self.radial([(0, "#d8d8d8", 1), (0.7, "#8a8a8a", 1), (1, "#5a5a5a", 1)], fx=0.35, fy=0.35)
        self.circle(cx, cy, r * 1.25, fill=PLATE_SHADOW)
        self.circle(cx, cy, r, fill=head)
        self.line(cx - r * 0.6, cy - r * 0.6, cx + r * 0.6, cy + r * 0.6,
                  stroke="#4a4a4a", stroke_width=r * 0.25, stroke_linecap="round")

    # output ----------------------------------------------------------------
    def svg(self):
        head = (
            '<?xml version="1.0" encoding="UTF-8"?>\n'
            f'<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" '
            f'width="{self.width}" height="{self.height}" viewBox="0 0 {self.view_w} {self.view_h}">\n'
        )
        defs = ("<defs>\n" + "\n".join(self.defs) + "\n</defs>\n") if self.defs else ""
        return head + defs + "\n".join(self.body) + "\n</svg>\n"

    def save(self, path):
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w", encoding="utf-8") as f:
            f.write(self.svg())


# Canvases shared by picture groups (text exactly as the files carry it)
def module_canvas():
    return Canvas("191.16933mm", "145mm", "677.37163", "513.77952")


def button_canvas():
    return Canvas("11.288888mm", "11.288889mm", "39.999997", "40")


def square_canvas():
    return Canvas("100", "100", "26.458333", "26.458334")


def polar(cx, cy, r, deg):
    """Point at angle `deg` (0 = right, clockwise on screen) and radius r."""
    a = math.radians(deg)
    return cx + r * math.cos(a), cy + r * math.sin(a)


def arc_path(cx, cy, r, start_deg, end_deg):
    """Path text of a circular arc, clockwise on screen from start to end."""
    x1, y1 = polar(cx, cy, r, start_deg)
    x2, y2 = polar(cx, cy, r, end_deg)
    sweep = (end_deg - start_deg) % 360
    large = 1 if sweep > 180 else 0
    return f"M{fmt(x1)},{fmt(y1)} A{fmt(r)},{fmt(r)} 0 {large} 1 {fmt(x2)},{fmt(y2)}"


IMAGES = os.path.join(os.path.dirname(__file__), "..", "..", "JOLV", "ZUV-VirtualPlatformCore", "images")
LAYERS_DIR = os.path.normpath(os.path.join(IMAGES, "svg-multilayer-extracted"))
SINGLE_DIR = os.path.normpath(os.path.join(IMAGES, "svg"))
