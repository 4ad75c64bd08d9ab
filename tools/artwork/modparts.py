"""Parts shared by the module pictures: geometry of the module page, the board outline,
colour mixing, lenses (unlit and lit), LEDs, push buttons and small electronic parts.

Every module picture is one layer of a stack on the same page, so the positions that the
module views rely on (press areas, the wiper pivot, the display area) are kept here once,
as fractions of the page, and every drawing places its parts from them.
"""

import math

import svgkit as K
from svgkit import fmt

# Page of every module layer (view box units)
W = 677.37163
H = 513.77952

# Module plate: inset so that neighbouring modules on the board just meet (the view is 5 %
# wider than its frame and overhangs it by 2.5 % of the frame's width on each side).
PLATE = (18.0, 8.0, W - 36.0, H - 16.0)

# Microcontroller board (left part of the plate); every module-specific picture that is
# stacked above it keeps this rectangle (and a margin for its shadow) transparent.
BOARD = (34.0, 56.0, 212.0, 402.0)

# Press areas of the module views: centre (fractions of width and height), side (fraction of width)
GENERIC_BUTTON = (0.235, 0.610, 0.15)
ALARM_BUTTON = (0.577, 0.662, 0.15)
LOCK_BUTTON = (0.780, 0.662, 0.15)
IR_SENSOR_AREA = (0.687, 0.631, 0.25)
LIGHT_SENSOR_AREA = (0.854, 0.813, 0.05)

# Wiper pivot
PIVOT = (0.5866666666666667 * W, 0.35146666666666665 * H)

# Cockpit display: 0.8 W wide, 0.48 W high, centred vertically, shifted right by 0.014 W
DISPLAY = (0.114 * W, 0.5 * H - 0.24 * W, 0.8 * W, 0.48 * W)


def centre(area):
    return area[0] * W, area[1] * H


# Board LEDs and button (view box units)
BUTTON_CENTRE = centre(GENERIC_BUTTON)
LED_CENTRE = (BUTTON_CENTRE[0], 406.0)
LED_OFFSET = 23.0
LEDS = {
    "left": ((LED_CENTRE[0] - LED_OFFSET, LED_CENTRE[1]), K.LED_LEFT),
    "up": ((LED_CENTRE[0], LED_CENTRE[1] - LED_OFFSET), K.LED_UP),
    "right": ((LED_CENTRE[0] + LED_OFFSET, LED_CENTRE[1]), K.LED_RIGHT),
    "down": ((LED_CENTRE[0], LED_CENTRE[1] + LED_OFFSET), K.LED_DOWN),
}


# colours ---------------------------------------------------------------------
def rgb(c):
    c = c.lstrip("#")
    return tuple(int(c[i:i + 2], 16) for i in (0, 2, 4))


def mix(a, b, t):
    """Colour between a (t = 0) and b (t = 1)."""
    ra, rb = rgb(a), rgb(b)
    return "#" + "".join(f"{round(x + (y - x) * t):02x}" for x, y in zip(ra, rb))


def dull(colour):
    """The unlit look of a lens: the colour muted towards the dark plate."""
    return mix(colour, "#23262a", 0.62)


# lenses ------------------------------------------------------------------------
def round_lens(c, cx, cy, r, colour, lit, glow_r=None, glow_peak=0.6, hotspot=True):
    """A round lamp lens. Unlit: dull, with a small reflection. Lit: soft glow, bright core."""
    if lit:
        c.glow(cx, cy, glow_r or r * 3.2, colour, glow_peak)
        g = c.radial([(0, mix(colour, "#ffffff", 0.75), 1), (0.55, colour, 1), (1, mix(colour, "#000000", 0.12), 1)],
                     cx=cx, cy=cy - r * 0.15, r=r, units="userSpaceOnUse")
        c.circle(cx, cy, r, fill=g)
        if hotspot:
            c.circle(cx - r * 0.25, cy - r * 0.3, r * 0.3, fill="#ffffff", fill_opacity=0.55)
    else:
        d = dull(colour)
        g = c.radial([(0, mix(d, "#ffffff", 0.22), 1), (0.7, d, 1), (1, mix(d, "#000000", 0.35), 1)],
                     cx=cx, cy=cy - r * 0.2, r=r * 1.05, units="userSpaceOnUse")
        c.circle(cx, cy, r, fill=g)
        c.ellipse(cx - r * 0.3, cy - r * 0.38, r * 0.32, r * 0.2, fill="#ffffff", fill_opacity=0.28)


def shape_lens(c, draw, bbox, colour, lit, glow_pad=None, glow_peak=0.55, vertical=True):
    """A lens of any shape: `draw(fill)` draws the shape; bbox = (x, y, w, h) for the glow."""
    x, y, w, h = bbox
    if lit:
        pad = glow_pad if glow_pad is not None else max(w, h) * 0.9
        c.glow_ellipse(x + w / 2, y + h / 2, w / 2 + pad, h / 2 + pad, colour, glow_peak)
        stops = [(0, mix(colour, "#ffffff", 0.7), 1), (0.6, colour, 1), (1, mix(colour, "#000000", 0.1), 1)]
    else:
        d = dull(colour)
        stops = [(0, mix(d, "#ffffff", 0.18), 1), (0.55, d, 1), (1, mix(d, "#000000", 0.3), 1)]
    g = c.linear(stops, 0, 0, 0, 1) if vertical else c.linear(stops, 0, 0, 1, 0)
    draw(g)
    if lit:
        x0, y0 = x + w * 0.12, y + h * 0.22
        c.rect(x0, y0, w * 0.76, max(h * 0.16, 0.8), rx=min(w, h) * 0.08, fill="#ffffff", fill_opacity=0.45)


def bezel(c, cx, cy, r):
    """Chromed ring around a round lens (base picture)."""
    g = c.linear([(0, "#c9cdd2", 1), (0.5, "#6b7076", 1), (1, "#2b2e32", 1)], 0, 0, 0.4, 1)
    c.circle(cx, cy, r + 0.5, fill="#16181a")
    c.circle(cx, cy, r, fill=g)


def led_5mm(c, cx, cy, r, colour, lit):
    """Panel LED in a bezel: ring in the base picture, lens lit or unlit."""
    if not lit:
        bezel(c, cx, cy, r * 1.45)
        c.circle(cx, cy, r * 1.08, fill="#0f1012")
    round_lens(c, cx, cy, r, colour, lit, glow_r=r * 4.2)


# push buttons -----------------------------------------------------------------
def tactile_button(c, cx, cy, body, cap_r, cap_colour, pressed=False):
    """12 mm tactile switch: square black body with a metal frame and a round cap.

    The base picture draws everything; the pressed layer (`pressed=True`) draws only the
    well around the cap and the cap pushed in, covering the base's cap exactly.
    """
    if not pressed:
        s = body
        c.rect(cx - s / 2 + 2, cy - s / 2 + 3, s, s, rx=s * 0.08, fill="#000000", fill_opacity=0.35)
        # legs
        for dx in (-1, 1):
            for dy in (-1, 1):
                c.rect(cx + dx * s * 0.42 - 3, cy + dy * (s / 2 + 2) - 3, 6, 6, fill=K.PIN)
        frame = c.linear([(0, "#b9bec4", 1), (1, "#5d6166", 1)], 0, 0, 1, 1)
        c.rect(cx - s / 2, cy - s / 2, s, s, rx=s * 0.06, fill=frame)
        c.rect(cx - s / 2 + s * 0.07, cy - s / 2 + s * 0.07, s * 0.86, s * 0.86, rx=s * 0.05, fill=K.CHIP)
        for dx in (-1, 1):
            for dy in (-1, 1):
                c.circle(cx + dx * s * 0.33, cy + dy * s * 0.33, s * 0.045, fill="#3b3b3b")
        c.circle(cx, cy, cap_r * 1.12, fill="#0a0a0a")
        g = c.radial([(0, mix(cap_colour, "#ffffff", 0.45), 1), (0.6, cap_colour, 1),
                      (1, mix(cap_colour, "#000000", 0.45), 1)],
                     cx=cx - cap_r * 0.25, cy=cy - cap_r * 0.3, r=cap_r * 1.25, units="userSpaceOnUse")
        c.circle(cx, cy, cap_r, fill=g)
        c.circle(cx, cy, cap_r * 0.72, fill="none", stroke="#ffffff", stroke_opacity=0.12,
                 stroke_width=cap_r * 0.08)
    else:
        c.circle(cx, cy, cap_r * 1.12, fill="#050505")
        g = c.radial([(0, mix(cap_colour, "#000000", 0.25), 1), (0.75, mix(cap_colour, "#000000", 0.45), 1),
                      (1, mix(cap_colour, "#000000", 0.7), 1)],
                     cx=cx, cy=cy + cap_r * 0.1, r=cap_r * 1.05, units="userSpaceOnUse")
        c.circle(cx, cy + cap_r * 0.04, cap_r * 0.93, fill=g)
        # shadow of the well on the pushed cap
        c.path(K.arc_path(cx, cy + cap_r * 0.04, cap_r * 0.86, 195, 345), fill="none", stroke="#000000",
               stroke_opacity=0.45, stroke_width=cap_r * 0.14, stroke_linecap="round")


# small electronic parts --------------------------------------------------------
def smd(c, cx, cy, w, h, body="#b38b57", ends=K.PIN, vertical=False):
    """Chip resistor or capacitor."""
    if vertical:
        w, h = h, w
    c.rect(cx - w / 2, cy - h / 2, w, h, fill=body)
    e = (h if vertical else w) * 0.22
    if vertical:
        c.rect(cx - w / 2, cy - h / 2, w, e, fill=ends)
        c.rect(cx - w / 2, cy + h / 2 - e, w, e, fill=ends)
    else:
        c.rect(cx - w / 2, cy - h / 2, e, h, fill=ends)
        c.rect(cx + w / 2 - e, cy - h / 2, e, h, fill=ends)


def qfp(c, cx, cy, size, pins_per_side, pin_len=None, body=K.CHIP, dot=True):
    """Quad flat package seen from above, pins on four sides."""
    pl = pin_len if pin_len is not None else size * 0.09
    pitch = size * 0.8 / max(pins_per_side - 1, 1)
    d = []
    for i in range(pins_per_side):
        o = -size * 0.4 + i * pitch
        d.append(f"M{fmt(cx + o)},{fmt(cy - size / 2 - pl)}v{fmt(pl)}")
        d.append(f"M{fmt(cx + o)},{fmt(cy + size / 2)}v{fmt(pl)}")
        d.append(f"M{fmt(cx - size / 2 - pl)},{fmt(cy + o)}h{fmt(pl)}")
        d.append(f"M{fmt(cx + size / 2)},{fmt(cy + o)}h{fmt(pl)}")
    c.path("".join(d), fill="none", stroke=K.PIN, stroke_width=max(pitch * 0.45, 0.5))
    g = c.linear([(0, "#2a2a2a", 1), (1, "#141414", 1)], 0, 0, 1, 1)
    c.rect(cx - size / 2, cy - size / 2, size, size, rx=size * 0.03, fill=g)
    c.rect(cx - size / 2 + 1, cy - size / 2 + 1, size - 2, size - 2, rx=size * 0.03, fill="none",
           stroke="#3a3a3a", stroke_width=0.8)
    if dot:
        c.circle(cx - size * 0.32, cy - size * 0.32, size * 0.05, fill="#0a0a0a", stroke="#333333",
                 stroke_width=0.6)


def crystal(c, cx, cy, w, h):
    """HC-49 crystal can seen from above."""
    g = c.linear([(0, "#e4e7ea", 1), (0.5, "#9ea3a8", 1), (1, "#62666b", 1)], 0, 0, 0, 1)
    c.rect(cx - w / 2, cy - h / 2, w, h, rx=min(w, h) / 2, fill=g, stroke="#4a4d51", stroke_width=0.8)
    c.rect(cx - w / 2 + 2, cy - h / 2 + 2, w - 4, h - 4, rx=min(w, h) / 2 - 2, fill="none", stroke="#ffffff",
           stroke_opacity=0.35, stroke_width=0.7)


def pcb(c, x, y, w, h, r=6, colour=K.PCB, shadow=True, holes=()):
    """Solder-masked board with its drop shadow on the plate."""
    if shadow:
        c.rect(x + 2.5, y + 4, w, h, rx=r, fill="#000000", fill_opacity=0.38)
        c.rect(x + 1, y + 2, w, h, rx=r, fill="#000000", fill_opacity=0.25)
    g = c.linear([(0, mix(colour, "#ffffff", 0.08), 1), (1, mix(colour, "#000000", 0.18), 1)], 0, 0, 0.3, 1)
    c.rect(x, y, w, h, rx=r, fill=g, stroke=mix(colour, "#000000", 0.45), stroke_width=1.2)
    c.rect(x + 1.5, y + 1.5, w - 3, h - 3, rx=r * 0.8, fill="none", stroke="#ffffff", stroke_opacity=0.08,
           stroke_width=1)
    for hx, hy in holes:
        c.circle(hx, hy, 6.2, fill=K.PCB_COPPER)
        c.screw(hx, hy, 4.4)


def header_row(c, x, y, n, pitch, horizontal=True, rows=1):
    """Pin header: black plastic strip with square pins (rows x n)."""
    if horizontal:
        c.rect(x - pitch / 2, y - pitch / 2, n * pitch, rows * pitch, rx=1, fill="#121212", stroke="#2b2b2b",
               stroke_width=0.6)
    else:
        c.rect(x - pitch / 2, y - pitch / 2, rows * pitch, n * pitch, rx=1, fill="#121212", stroke="#2b2b2b",
               stroke_width=0.6)
    s = pitch * 0.36
    d = []
    for i in range(n):
        for j in range(rows):
            px, py = (x + i * pitch, y + j * pitch) if horizontal else (x + j * pitch, y + i * pitch)
            d.append(f"M{fmt(px - s / 2)},{fmt(py - s / 2)}h{fmt(s)}v{fmt(s)}h{fmt(-s)}z")
    c.path("".join(d), fill="#b9a46a", stroke="#6e6241", stroke_width=0.5)


def via_field(c, pts, r=1.6):
    d = "".join(f"M{fmt(x - r)},{fmt(y)}a{fmt(r)},{fmt(r)} 0 1 0 {fmt(2 * r)},0a{fmt(r)},{fmt(r)} 0 1 0 {fmt(-2 * r)},0z"
                for x, y in pts)
    c.path(d, fill=K.PCB_COPPER, fill_opacity=0.85)
    c.path("".join(f"M{fmt(x)},{fmt(y)}h0.01" for x, y in pts), stroke="#0c2a18", stroke_width=r * 0.9,
           stroke_linecap="round")


def traces(c, polylines, width=1.6, colour="#2f8452", opacity=0.75):
    """Copper traces under the solder mask (lighter green)."""
    d = " ".join("M" + " L".join(f"{fmt(x)},{fmt(y)}" for x, y in pl) for pl in polylines)
    c.path(d, fill="none", stroke=colour, stroke_opacity=opacity, stroke_width=width, stroke_linejoin="round",
           stroke_linecap="round")


def silk_rect(c, x, y, w, h, width=0.9, opacity=0.8, dash=None):
    c.rect(x, y, w, h, fill="none", stroke=K.SILK, stroke_opacity=opacity, stroke_width=width,
           stroke_dasharray=dash)


def rounded_poly(pts, r):
    """Path data of a closed polygon with rounded corners."""
    n = len(pts)
    out = []
    for i in range(n):
        p0, p1, p2 = pts[i - 1], pts[i], pts[(i + 1) % n]
        v1 = (p0[0] - p1[0], p0[1] - p1[1])
        v2 = (p2[0] - p1[0], p2[1] - p1[1])
        l1, l2 = math.hypot(*v1), math.hypot(*v2)
        rr = min(r, l1 / 2, l2 / 2)
        a = (p1[0] + v1[0] / l1 * rr, p1[1] + v1[1] / l1 * rr)
        b = (p1[0] + v2[0] / l2 * rr, p1[1] + v2[1] / l2 * rr)
        out.append(("L" if out else "M") + f"{fmt(a[0])},{fmt(a[1])}")
        out.append(f"Q{fmt(p1[0])},{fmt(p1[1])} {fmt(b[0])},{fmt(b[1])}")
    return "".join(out) + "Z"
