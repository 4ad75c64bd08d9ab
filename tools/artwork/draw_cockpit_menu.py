"""Icons of the cockpit's menu column: gauges, CAN bus, control panel, settings.

They sit on light grey button faces (darker while pressed), so they are drawn in dark ink
with light accents and a light engraving edge. Each icon is drawn in a 100 x 100 design
square that is fitted into the icon's own canvas.
"""

import math

import svgkit as K
import cockpitkit as CK
from svgkit import fmt

ACCENT = "#f4f4f4"
RED = "#d8342a"


def fit(c, size=100.0, fill=0.86):
    """Transform text that fits the design square centred into the canvas, with a margin."""
    s = min(c.vw, c.vh) / size * fill
    return f"translate({fmt((c.vw - size * s) / 2)},{fmt((c.vh - size * s) / 2)}) scale({fmt(s)})"


def tachometer(c):
    cx, cy, r = 50, 52, 44

    def dial(c, ink):
        c.circle(cx, cy, r, fill=ink)

    with c.group(transform=fit(c)):
        CK.embossed(c, dial, offset=1.4)
        c.circle(cx, cy, r - 2.2, fill="none", stroke=CK.INK_SOFT, stroke_width=1.6)
        # scale: 270 degrees from lower left through the top to lower right
        start, end = 135, 405
        c.path(K.arc_path(cx, cy, 34, 345, 405), fill="none", stroke=RED, stroke_width=6)
        for i in range(9):
            a = start + (end - start) * i / 8
            x1, y1 = K.polar(cx, cy, 37, a)
            x2, y2 = K.polar(cx, cy, 29 if i % 2 == 0 else 32, a)
            c.line(x1, y1, x2, y2, **CK.stroke(ACCENT if i < 7 else "#ffd0cc", 2.6))
        # needle
        a = 228
        tip = K.polar(cx, cy, 33, a)
        l = K.polar(cx, cy, 4.2, a + 90)
        rr = K.polar(cx, cy, 4.2, a - 90)
        tail = K.polar(cx, cy, 7, a + 180)
        c.polygon([tip, l, tail, rr], fill=RED, stroke=RED, stroke_width=1, stroke_linejoin="round")
        c.circle(cx, cy, 6.2, fill=CK.INK_SOFT, stroke=ACCENT, stroke_width=1.6)
        # odometer window
        c.rect(cx - 10, cy + 22, 20, 7, 1.8, fill="#111111", stroke=CK.INK_SOFT, stroke_width=1)
        for i in range(4):
            c.line(cx - 7 + i * 4.7, cy + 24.2, cx - 7 + i * 4.7, cy + 26.8, **CK.stroke(ACCENT, 1.2))


def can_bus(c):
    nodes = (18, 50, 82)

    def bus(c, ink):
        for y in (70, 82):
            c.line(6, y, 94, y, **CK.stroke(ink, 4.6))
        for x in (6, 94):   # terminating resistors
            c.rect(x - 3.2, 67.5, 6.4, 17, 1.6, fill=ink)
        for i, x in enumerate(nodes):
            c.rect(x - 13, 16, 26, 30, 4.5, fill=ink)
            c.line(x - 5, 46, x - 5, 70, **CK.stroke(ink, 3.4))
            c.line(x + 5, 46, x + 5, 82, **CK.stroke(ink, 3.4))
            c.circle(x - 5, 70, 3.6, fill=ink)
            c.circle(x + 5, 82, 3.6, fill=ink)

    with c.group(transform=fit(c)):
        CK.embossed(c, bus, offset=1.4)
        for i, x in enumerate(nodes):
            c.rect(x - 6.5, 23, 13, 10, 1.4, fill="none", stroke=ACCENT, stroke_width=1.8)
            c.circle(x + 6.5, 39.5, 2.2, fill=RED if i == 1 else ACCENT)


def control_panel(c):
    tracks = ((24, 62), (50, 30), (76, 50))

    def sliders(c, ink):
        for x, knob in tracks:
            c.line(x, 12, x, 88, **CK.stroke(ink, 4.4))
            c.rect(x - 11, knob - 7.5, 22, 15, 4, fill=ink)

    with c.group(transform=fit(c)):
        CK.embossed(c, sliders, offset=1.4)
        for x, knob in tracks:
            c.line(x - 6.5, knob, x + 6.5, knob, **CK.stroke(ACCENT, 2.4))
            # fill of the track below the knob
            c.line(x, knob + 11, x, 86, **CK.stroke(CK.INK_SOFT, 1.4))


def gear_path(cx, cy, r_out, r_in, teeth, top=0.34, base=0.5):
    """Gear outline: `teeth` trapezoid teeth; top/base are the tooth widths as parts of its pitch."""
    pts = []
    pitch = 360 / teeth
    for i in range(teeth):
        a = i * pitch - 90
        for da, r in ((-base / 2, r_in), (-top / 2, r_out), (top / 2, r_out), (base / 2, r_in)):
            pts.append(K.polar(cx, cy, r, a + da * pitch))
    d = "M" + " L".join(f"{fmt(x)},{fmt(y)}" for x, y in pts) + " Z"
    return d


def settings(c):
    cx, cy = 50, 50
    hole = 13

    def gear(c, ink):
        d = gear_path(cx, cy, 45, 35, 9)
        d += (f" M{fmt(cx + hole)},{fmt(cy)} A{hole},{hole} 0 1 0 {fmt(cx - hole)},{fmt(cy)}"
              f" A{hole},{hole} 0 1 0 {fmt(cx + hole)},{fmt(cy)} Z")
        c.path(d, fill=ink, fill_rule="evenodd", stroke=ink, stroke_width=2.4, stroke_linejoin="round")

    with c.group(transform=fit(c)):
        CK.embossed(c, gear, offset=1.4)
        c.circle(cx, cy, 25, fill="none", stroke=CK.INK_SOFT, stroke_width=2.2)
        c.circle(cx, cy, hole + 3.2, fill="none", stroke=ACCENT, stroke_width=2.0)


def main():
    pictures = (
        ("menu_panel_tachometer_icon", K.Canvas("500", "489.48108", "500", "489.48108"), tachometer),
        ("menu_panel_can_icon", K.Canvas("500", "500", "500", "500"), can_bus),
        ("menu_panel_control_icon", K.Canvas("54.186668mm", "54.186668mm", "192.00001", "192.00001"),
         control_panel),
        ("menu_panel_settings_icon", K.Canvas("46.132946mm", "46.132946mm", "163.4632", "163.4632"),
         settings),
    )
    for name, canvas, draw in pictures:
        draw(canvas)
        canvas.save(f"{K.SINGLE_DIR}/{name}.svg")


if __name__ == "__main__":
    main()
