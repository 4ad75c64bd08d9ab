"""Alarm module: siren and motion sensor at the top, the alarm and lock push buttons with
their lamps and printed symbols below. The picture lies above the board in the view, so
it keeps the board's rectangle transparent."""

import os

import svgkit as K
from glyphs import draw_text
from modparts import ALARM_BUTTON, LOCK_BUTTON, centre, led_5mm, mix, pcb, tactile_button

OUT = K.LAYERS_DIR

ALARM = centre(ALARM_BUTTON)
LOCK = centre(LOCK_BUTTON)
BODY = 66.0
CAP = 22.0
ALARM_CAP = "#c8322a"
LOCK_CAP = K.BUTTON_FACE
LAMP_R = 9.0
LAMP_Y = 250.0
ALARM_LAMP = (ALARM[0], LAMP_Y)
LOCK_LAMP = (LOCK[0], LAMP_Y)
ALARM_RED = K.TELLTALE_RED
LOCK_GREEN = K.TELLTALE_GREEN
MARK = K.SYMBOL_INACTIVE


def siren_symbol(c, cx, cy, s, colour):
    """Rotating beacon: dome on a base with rays."""
    sw = s * 0.09
    c.path(f"M{K.fmt(cx - s * 0.42)},{K.fmt(cy + s * 0.38)}H{K.fmt(cx + s * 0.42)}", stroke=colour, stroke_width=sw,
           stroke_linecap="round")
    c.path(f"M{K.fmt(cx - s * 0.3)},{K.fmt(cy + s * 0.38)}V{K.fmt(cy + s * 0.05)}"
           f"A{K.fmt(s * 0.3)},{K.fmt(s * 0.3)} 0 0 1 {K.fmt(cx + s * 0.3)},{K.fmt(cy + s * 0.05)}"
           f"V{K.fmt(cy + s * 0.38)}", fill="none", stroke=colour, stroke_width=sw, stroke_linejoin="round")
    for a in (-90, -135, -45, -170, -10):
        x0, y0 = K.polar(cx, cy + s * 0.05, s * 0.42, a)
        x1, y1 = K.polar(cx, cy + s * 0.05, s * 0.56, a)
        c.line(x0, y0, x1, y1, stroke=colour, stroke_width=sw, stroke_linecap="round")


def padlock_symbol(c, cx, cy, s, colour):
    sw = s * 0.09
    c.path(f"M{K.fmt(cx - s * 0.2)},{K.fmt(cy)}V{K.fmt(cy - s * 0.18)}"
           f"A{K.fmt(s * 0.2)},{K.fmt(s * 0.2)} 0 0 1 {K.fmt(cx + s * 0.2)},{K.fmt(cy - s * 0.18)}V{K.fmt(cy)}",
           fill="none", stroke=colour, stroke_width=sw)
    c.rect(cx - s * 0.32, cy, s * 0.64, s * 0.44, rx=s * 0.06, fill="none", stroke=colour, stroke_width=sw)
    c.circle(cx, cy + s * 0.17, s * 0.05, fill=colour)
    c.path(f"M{K.fmt(cx)},{K.fmt(cy + s * 0.2)}V{K.fmt(cy + s * 0.32)}", stroke=colour, stroke_width=sw * 0.8,
           stroke_linecap="round")


def siren(c, cx, cy):
    """Piezo siren with a mounting flange."""
    c.rect(cx - 66 + 3, cy - 16 + 5, 132, 32, rx=16, fill="#000000", fill_opacity=0.35)
    flange = c.linear([(0, "#2c2c2e", 1), (1, "#121213", 1)], 0, 0, 0, 1)
    c.rect(cx - 66, cy - 16, 132, 32, rx=16, fill=flange, stroke="#050505", stroke_width=1.2)
    for sx in (cx - 52, cx + 52):
        c.circle(sx, cy, 6.5, fill="#0b0b0b")
        c.screw(sx, cy, 5)
    c.circle(cx + 3, cy + 5, 44, fill="#000000", fill_opacity=0.35)
    body = c.radial([(0, "#3a3b3e", 1), (0.8, "#1c1c1e", 1), (1, "#0c0c0d", 1)], cx=cx - 12, cy=cy - 14, r=56,
                    units="userSpaceOnUse")
    c.circle(cx, cy, 42, fill=body, stroke="#050505", stroke_width=1.5)
    for r in (33, 25, 17):
        c.circle(cx, cy, r, fill="none", stroke="#000000", stroke_width=3.2)
        c.circle(cx, cy + 0.9, r, fill="none", stroke="#ffffff", stroke_opacity=0.10, stroke_width=1)
    c.circle(cx, cy, 8, fill="#050505")
    # wires to the board connector
    for i, col in enumerate(("#c0392b", "#1b1b1b")):
        c.path(f"M{K.fmt(cx - 30 + i * 6)},{K.fmt(cy + 30)}C{K.fmt(cx - 40 + i * 6)},{K.fmt(cy + 70)} "
               f"{K.fmt(cx - 90 + i * 6)},{K.fmt(cy + 52)} {K.fmt(cx - 100 + i * 6)},{K.fmt(cy + 92)}",
               fill="none", stroke=col, stroke_width=3.2, stroke_linecap="round")


def motion_sensor(c, cx, cy):
    """Passive infrared motion sensor: white Fresnel dome on a small board."""
    pcb(c, cx - 46, cy - 38, 92, 76, r=5, holes=((cx - 37, cy - 29), (cx + 37, cy + 29)))
    for i in range(3):
        c.rect(cx + 26, cy + 2 + i * 8 - 4, 10, 6, fill="#b9a46a")
    c.circle(cx + 2, cy + 4, 35, fill="#000000", fill_opacity=0.35)
    dome = c.radial([(0, "#ffffff", 1), (0.6, "#eceae4", 1), (1, "#b8b4aa", 1)], cx=cx - 10, cy=cy - 12, r=44,
                    units="userSpaceOnUse")
    c.circle(cx, cy, 33, fill=dome, stroke="#8f8b82", stroke_width=1)
    # Fresnel facets
    d = []
    for r in (11, 22):
        d.append(f"M{K.fmt(cx - r)},{K.fmt(cy)}A{K.fmt(r)},{K.fmt(r)} 0 1 0 {K.fmt(cx + r)},{K.fmt(cy)}"
                 f"A{K.fmt(r)},{K.fmt(r)} 0 1 0 {K.fmt(cx - r)},{K.fmt(cy)}")
    for a in range(0, 360, 45):
        x0, y0 = K.polar(cx, cy, 11, a)
        x1, y1 = K.polar(cx, cy, 33, a)
        d.append(f"M{K.fmt(x0)},{K.fmt(y0)}L{K.fmt(x1)},{K.fmt(y1)}")
    c.path("".join(d), fill="none", stroke="#9b978d", stroke_opacity=0.6, stroke_width=1)


def alarm():
    c = K.module_canvas()
    # printed panel frame on the plate
    c.rect(264, 26, 350, 462, rx=12, fill="#000000", fill_opacity=0.10, stroke=MARK, stroke_opacity=0.45,
           stroke_width=1.5)
    c.path("M264,206H614", stroke=MARK, stroke_opacity=0.3, stroke_width=1.2, stroke_dasharray="6,5")
    siren(c, 372, 112)
    motion_sensor(c, 548, 110)

    for (bx, by), lamp, cap, colour, symbol, label in (
            (ALARM, ALARM_LAMP, ALARM_CAP, ALARM_RED, siren_symbol, "ALARM"),
            (LOCK, LOCK_LAMP, LOCK_CAP, LOCK_GREEN, padlock_symbol, "LOCK")):
        c.rect(bx - 62, lamp[1] - 24, 124, 222, rx=10, fill="none", stroke=MARK, stroke_opacity=0.35,
               stroke_width=1.2)
        led_5mm(c, lamp[0], lamp[1], LAMP_R, colour, lit=False)
        tactile_button(c, bx, by, BODY, CAP, cap)
        symbol(c, bx - 22, by + 70, 34, MARK)
        draw_text(c, label, bx + 6, by + 79, 10, MARK, weight=1.8, anchor="start")
    c.save(os.path.join(OUT, "zuv-modules_alarm.svg"))

    for lamp, colour, name in ((ALARM_LAMP, ALARM_RED, "alarm"), (LOCK_LAMP, LOCK_GREEN, "lock")):
        c = K.module_canvas()
        led_5mm(c, lamp[0], lamp[1], LAMP_R, colour, lit=True)
        c.save(os.path.join(OUT, f"zuv-modules_alarm_light_{name}.svg"))
    for (bx, by), cap, name in ((ALARM, ALARM_CAP, "alarm"), (LOCK, LOCK_CAP, "lock")):
        c = K.module_canvas()
        tactile_button(c, bx, by, BODY, CAP, cap, pressed=True)
        c.save(os.path.join(OUT, f"zuv-modules_alarm_button_{name}_pressed.svg"))


def main():
    alarm()


if __name__ == "__main__":
    main()
