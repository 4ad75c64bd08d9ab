"""Drawing helpers of the cockpit display: stroke glyphs, tell-tale symbols and button icons.

Every symbol is drawn around its own origin in "symbol units": a symbol is about 30 units
wide and 24 units high, symbol strokes are about 2.3 units. Callers place a symbol with
`place()`, which scales it and, where a picture is shown stretched (tabs, buttons that fill a
wide face), narrows it horizontally by the expected stretch so that it reads undistorted on
screen.
"""

import math
from contextlib import contextmanager

import svgkit as K
from svgkit import fmt

# Colours of the cockpit's own pictures (besides the shared palette)
INK = "#262626"            # dark symbols on the light grey menu and tab faces
INK_SOFT = "#3a3a3a"
EMBOSS = "#dcdcdc"         # light under-stroke that keeps dark symbols readable on pressed faces
MERCURY = "#ff0000"        # the mercury colour that the temperature control paints at run time
SYMBOL_STROKE = 2.3        # symbol stroke in symbol units


def stroke(colour, width, **kw):
    """Attributes of a round-capped outline stroke."""
    base = dict(fill="none", stroke=colour, stroke_width=width, stroke_linecap="round",
                stroke_linejoin="round")
    base.update(kw)
    return base


@contextmanager
def place(c, cx, cy, scale, squeeze=1.0, rotate=0.0, mirror=False):
    """Group whose origin sits at (cx, cy), scaled by `scale` (narrowed by `squeeze`)."""
    sx = scale / squeeze * (-1 if mirror else 1)
    t = f"translate({fmt(cx)},{fmt(cy)})"
    if rotate:
        t += f" rotate({fmt(rotate)})"
    t += f" scale({fmt(sx)},{fmt(scale)})"
    with c.group(transform=t):
        yield c


def halo(c, colour, rx, ry, cx=0.0, cy=0.0, peak=0.42):
    """Soft glow behind a lit symbol (the tell-tale 'on' look)."""
    g = c.radial([(0, colour, peak), (0.5, colour, peak * 0.4), (1, colour, 0)])
    c.ellipse(cx, cy, rx, ry, fill=g)


# ---------------------------------------------------------------------------------------------
# Stroke glyphs: letters and digits as paths (pictures carry no text elements).
# Each glyph lives in a box 6 wide (A: 7) and 10 high, y downwards, top at 0.
GLYPHS = {
    "0": "M3,0 C5.3,0 6,2.3 6,5 C6,7.7 5.3,10 3,10 C0.7,10 0,7.7 0,5 C0,2.3 0.7,0 3,0 Z",
    "1": "M0.9,2.2 L3.6,0 L3.6,10",
    "2": "M0.3,2.3 C0.7,0.8 1.7,0 3.1,0 C4.8,0 5.8,1.1 5.8,2.7 C5.8,4.6 4.2,5.8 0.2,10 L6,10",
    "4": "M4.4,10 L4.4,0 L0,7 L6.2,7",
    "6": "M5.4,1 C4.8,0.3 4,0 3.2,0 C1,0 0,2.6 0,6 C0,8.7 1.3,10 3.1,10 C4.9,10 6,8.7 6,6.8 "
         "C6,4.9 4.8,3.8 3.1,3.8 C1.6,3.8 0.5,4.7 0,6",
    "-": "M0.6,6 L4,6",
    "A": "M0,10 L3.5,0 L7,10 M1.3,6.6 L5.7,6.6",
    "I": "M0.6,0 L0.6,10",
}
GLYPH_WIDTH = {"A": 7, "-": 4.6, "I": 1.2, "1": 4.6}


def text_width(s, h, gap=0.22):
    u = h / 10
    return sum(GLYPH_WIDTH.get(ch, 6) * u for ch in s) + gap * h * (len(s) - 1)


def text(c, s, x, y, h, colour, width, anchor="middle", gap=0.22):
    """Draw `s` with stroke glyphs, vertically centred on y, glyph height h. The glyphs' group
    carries the text as its aria-label, so that the lettering can be read and checked in the file."""
    u = h / 10
    total = text_width(s, h, gap)
    x0 = x - total / 2 if anchor == "middle" else (x - total if anchor == "end" else x)
    with c.group(aria_label=s):
        for ch in s:
            with c.group(transform=f"translate({fmt(x0)},{fmt(y - h / 2)}) scale({fmt(u)})"):
                c.path(GLYPHS[ch], **stroke(colour, width / u))
            x0 += GLYPH_WIDTH.get(ch, 6) * u + gap * h


# ---------------------------------------------------------------------------------------------
# Tell-tale symbols, drawn around the origin in symbol units.

def wave_path(x, y0, y1, amp=1.7, halfwaves=4):
    """Vertical wavy line from y0 to y1 around x."""
    step = (y1 - y0) / halfwaves
    d = f"M{fmt(x)},{fmt(y0)}"
    y = y0
    for i in range(halfwaves):
        a = amp if i % 2 == 0 else -amp
        d += (f" C{fmt(x + a)},{fmt(y + step / 3)} {fmt(x + a)},{fmt(y + 2 * step / 3)}"
              f" {fmt(x)},{fmt(y + step)}")
        y += step
    return d


def lamp_path(a, h=9.0, depth=13.0):
    """Headlamp body: flat face at x=a, rounded back towards +x."""
    return (f"M{fmt(a)},{fmt(-h)} C{fmt(a + depth * 0.62)},{fmt(-h * 1.06)} {fmt(a + depth)},{fmt(-h * 0.6)}"
            f" {fmt(a + depth)},0 C{fmt(a + depth)},{fmt(h * 0.6)} {fmt(a + depth * 0.62)},{fmt(h * 1.06)}"
            f" {fmt(a)},{fmt(h)} Z")


def headlamp(c, kind, colour, sw=SYMBOL_STROKE):
    """Lamp with rays: 'high', 'low', 'drl', 'fog_front', 'fog_rear' (rear fog is mirrored)."""
    a = 0.5
    st = stroke(colour, sw)
    if kind == "fog_rear":
        with c.group(transform="scale(-1,1)"):
            c.path(lamp_path(a), **st)
            for y in (-5.6, 0, 5.6):
                c.line(a - 3.6, y, a - 14.5, y, **st)
            c.path(wave_path(a - 9, -10.5, 10.5, amp=1.8), **st)
        return
    c.path(lamp_path(a), **st)
    if kind == "high":
        for y in (-6.6, -2.2, 2.2, 6.6):
            c.line(a - 3.6, y, a - 13.5, y, **st)
    elif kind == "low":
        for y in (-6.9, -2.3, 2.3, 6.9):
            c.line(a - 3.6, y - 2.0, a - 13.2, y + 3.2, **st)
    elif kind == "fog_front":
        for y in (-5.6, 0, 5.6):
            c.line(a - 3.6, y - 1.6, a - 14.5, y + 2.8, **st)
        c.path(wave_path(a - 9, -10.5, 10.5, amp=1.8), **st)
    elif kind == "drl":
        ox = a + 5.0
        for ang in (180, 148, 212, 118, 242):
            x1, y1 = K.polar(ox, 0, 9.6 if ang in (180, 148, 212) else 11.4, ang)
            x2, y2 = K.polar(ox, 0, 17.8 if ang in (180, 148, 212) else 16.6, ang)
            c.line(x1, y1, x2, y2, **st)


def hazard(c, colour, sw=SYMBOL_STROKE):
    """Two nested triangles."""
    def tri(scale, cy):
        h = 22 * scale
        half = h / math.sqrt(3)
        top = cy - h * 2 / 3
        base = cy + h / 3
        return [(0, top), (half, base), (-half, base)]
    c.polygon(tri(1.0, 3.7), **stroke(colour, sw * 1.15))
    c.polygon(tri(0.42, 3.7), **stroke(colour, sw * 0.95))


WINDSHIELD = "M-14,9 L-10.5,-8 Q0,-11.6 10.5,-8 L14,9 Q0,6 -14,9 Z"


def windshield(c, colour, sw=SYMBOL_STROKE):
    c.path(WINDSHIELD, **stroke(colour, sw))


def heat_waves(c, colour, xs, sw=SYMBOL_STROKE, y0=5.0, y1=-6.0):
    for x in xs:
        c.path(wave_path(x, y0, y1, amp=1.35, halfwaves=4), **stroke(colour, sw * 0.85))


def heated_windshield(c, colour, sw=SYMBOL_STROKE, auto=False):
    windshield(c, colour, sw)
    if auto:
        heat_waves(c, colour, (-7.4, 7.4), sw)
        text(c, "A", 0, 0.3, 9.0, colour, sw * 0.85)
    else:
        heat_waves(c, colour, (-6, 0, 6), sw)


def wiper(c, colour, sw=SYMBOL_STROKE, sweep=True, arm_deg=-128):
    """Windshield with wiper arm and its sweep arc."""
    windshield(c, colour, sw)
    px, py = 0, 6.9
    x2, y2 = K.polar(px, py, 12.2, arm_deg)
    c.line(px, py, x2, y2, **stroke(colour, sw))
    if sweep:
        c.path(K.arc_path(px, py, 9.0, 200, 340), **stroke(colour, sw * 0.6, stroke_dasharray="0.1 2.2"))


def washer(c, colour, sw=SYMBOL_STROKE):
    """Windshield with a spray fan from the nozzle below it."""
    windshield(c, colour, sw)
    nx, ny = 0, 13.4
    c.path(f"M{fmt(nx - 2.6)},{fmt(ny + 1.2)} A2.6,2.6 0 0 1 {fmt(nx + 2.6)},{fmt(ny + 1.2)} Z", fill=colour)
    for ang in (-60, -90, -120):
        x1, y1 = K.polar(nx, ny, 6.4, ang)
        xe, ye = K.polar(nx, ny, 19.6, ang)
        c.line(x1, y1, xe, ye, **stroke(colour, sw * 0.95, stroke_dasharray="0.1 2.85"))


def brake(c, colour, levels, sw=SYMBOL_STROKE):
    """Brake tell-tale: circle with '!' and one, two or three pairs of arcs."""
    st = stroke(colour, sw)
    c.circle(0, 0, 7.0, **st)
    c.line(0, -3.9, 0, 1.0, **st)
    c.circle(0, 3.7, sw * 0.55, fill=colour)
    for i in range(levels):
        r = 10.6 + 3.9 * i
        c.path(K.arc_path(0, 0, r, 138, 222), **st)
        c.path(K.arc_path(0, 0, r, -42, 42), **st)


BELL = ("M0,-10.4 C-6.2,-10.4 -7.8,-5.6 -7.8,-1.2 L-7.8,3.2 C-7.8,4.6 -9.2,5.6 -10.6,6.6 L10.6,6.6"
        " C9.2,5.6 7.8,4.6 7.8,3.2 L7.8,-1.2 C7.8,-5.6 6.2,-10.4 0,-10.4 Z")


def bell(c, colour, sw=SYMBOL_STROKE, fill=None):
    c.path(BELL, **stroke(colour, sw, **({"fill": fill} if fill else {})))
    c.line(0, -10.4, 0, -12.2, **stroke(colour, sw))
    c.path("M-2.8,8.9 Q0,12.2 2.8,8.9", **stroke(colour, sw))


def check(c, colour, sw, x=0, y=0, s=1.0):
    c.path(f"M{fmt(x - 4.2 * s)},{fmt(y + 0.2 * s)} L{fmt(x - 1.2 * s)},{fmt(y + 3.2 * s)}"
           f" L{fmt(x + 4.6 * s)},{fmt(y - 3.0 * s)}", **stroke(colour, sw))


def steering_icon(c, colour, sw=SYMBOL_STROKE):
    st = stroke(colour, sw)
    c.circle(0, 0, 11.4, **st)
    c.circle(0, 0.8, 3.4, **st)
    c.line(-3.3, 0.1, -10.6, -1.2, **st)
    c.line(3.3, 0.1, 10.6, -1.2, **st)
    c.line(0, 4.2, 0, 11.2, **st)


def sensor_waves(c, colour, sw=SYMBOL_STROKE):
    ox = -8.5
    c.circle(ox, 0, 2.6, fill=colour)
    for r in (6.4, 11.4, 16.4):
        c.path(K.arc_path(ox, 0, r, -42, 42), **stroke(colour, sw))


def arrows(c, colour, gap=2.4, length=6.0, height=7.0):
    """Pair of indicator arrows pointing left and right."""
    for s in (-1, 1):
        x0 = s * gap
        c.polygon([(x0, -height / 2), (x0 + s * length, 0), (x0, height / 2)], fill=colour,
                  stroke=colour, stroke_width=0.8, stroke_linejoin="round")


# ---------------------------------------------------------------------------------------------
# Pictures that sit on a face: embossed ink (menu, tabs) and lit/unlit tell-tales (buttons).

def embossed(c, draw, colour=INK, highlight=EMBOSS, offset=0.8):
    """Draw `draw(c, colour)` as dark ink with a light lower edge, as if engraved in the face."""
    with c.group(transform=f"translate(0,{fmt(offset)})"):
        draw(c, highlight)
    draw(c, colour)


def button_pictures(name, draw, active_colour, squeeze, scale=1.1, cy=20.0, glow=(17, 14),
                    out_dir=None):
    """Write name_active.svg and name_inactive.svg on the button canvas.

    `draw(c, colour)` paints the symbol around the origin; the inactive look is the grey symbol
    line, the active look the lit colour with a soft glow.
    """
    out_dir = out_dir or K.LAYERS_DIR
    for state in ("active", "inactive"):
        c = K.button_canvas()
        with place(c, 20, cy, scale, squeeze):
            if state == "active":
                halo(c, active_colour, glow[0], glow[1])
                draw(c, active_colour)
            else:
                draw(c, K.SYMBOL_INACTIVE)
        c.save(f"{out_dir}/{name}_{state}.svg")
