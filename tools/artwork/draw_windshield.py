"""Windshield module: a heated windshield with a stepper-driven wiper, the stepper driver
board with its phase lamps A to D, the infrared distance sensor, the light sensor, and the
heater and washer-pump lamps.

The wiper arm is its own layer, drawn at its park position (angle 0): lying left of the
pivot along the lower edge of the glass. The view turns that layer clockwise about the
pivot, so 0 to 90 degrees sweeps the arm up across the glass."""

import math
import os
import random

import svgkit as K
from glyphs import draw_text
from modparts import (IR_SENSOR_AREA, LIGHT_SENSOR_AREA, PIVOT, centre, header_row, led_5mm, mix, pcb,
                      round_lens)

OUT = K.LAYERS_DIR

PX, PY = PIVOT
ARM_LEN = 138.0                 # pivot to blade tip; 90 degrees up ends at PY - ARM_LEN
GLASS = dict(left=254.0, right=548.0, top=24.0, bottom=206.0, top_inset=22.0)
WIPED_INNER = 40.0

HEATER_LAMP = (602.0, 66.0)
PUMP_LAMP = (602.0, 164.0)
HEATER_ORANGE = "#ff8a1a"
PUMP_CYAN = "#22d3ee"
PHASE_GREEN = K.TELLTALE_GREEN
PHASES = "ABCD"
DRIVER = (262.0, 258.0, 104.0, 180.0)   # stepper driver board x, y, w, h
PHASE_Y = 392.0
PHASE_R = 7.5


def phase_lamp(i):
    x, y, w, h = DRIVER
    return x + 19 + i * 22, PHASE_Y


# glass ------------------------------------------------------------------------------
def glass_path(inset=0.0):
    g = GLASS
    l, r, t, b, ti = g["left"] + inset, g["right"] - inset, g["top"] + inset, g["bottom"] - inset, g["top_inset"]
    rc = 16.0
    return (f"M{K.fmt(l + ti + rc * 0.4)},{K.fmt(t + 6)}"
            f"Q{K.fmt((l + r) / 2)},{K.fmt(t - 8)} {K.fmt(r - ti - rc * 0.4)},{K.fmt(t + 6)}"
            f"Q{K.fmt(r - ti + 4)},{K.fmt(t + 8)} {K.fmt(r - ti + 6)},{K.fmt(t + 20)}"
            f"L{K.fmt(r)},{K.fmt(b - rc)}Q{K.fmt(r + 1)},{K.fmt(b)} {K.fmt(r - rc)},{K.fmt(b)}"
            f"Q{K.fmt((l + r) / 2)},{K.fmt(b + 6)} {K.fmt(l + rc)},{K.fmt(b)}"
            f"Q{K.fmt(l - 1)},{K.fmt(b)} {K.fmt(l)},{K.fmt(b - rc)}"
            f"L{K.fmt(l + ti - 6)},{K.fmt(t + 20)}Q{K.fmt(l + ti - 4)},{K.fmt(t + 8)} {K.fmt(l + ti + rc * 0.4)},{K.fmt(t + 6)}Z")


def sector_path(r0, r1, a0, a1):
    """Annular sector about the pivot, angles clockwise on screen."""
    x0, y0 = K.polar(PX, PY, r1, a0)
    x1, y1 = K.polar(PX, PY, r1, a1)
    x2, y2 = K.polar(PX, PY, r0, a1)
    x3, y3 = K.polar(PX, PY, r0, a0)
    return (f"M{K.fmt(x0)},{K.fmt(y0)}A{K.fmt(r1)},{K.fmt(r1)} 0 0 1 {K.fmt(x1)},{K.fmt(y1)}"
            f"L{K.fmt(x2)},{K.fmt(y2)}A{K.fmt(r0)},{K.fmt(r0)} 0 0 0 {K.fmt(x3)},{K.fmt(y3)}Z")


def inside_glass(x, y, margin=8.0):
    g = GLASS
    if y < g["top"] + 14 + margin or y > g["bottom"] - margin:
        return False
    # sides lean in towards the top
    f = (g["bottom"] - y) / (g["bottom"] - g["top"])
    left = g["left"] + g["top_inset"] * f
    right = g["right"] - g["top_inset"] * f
    return left + margin < x < right - margin


def draw_glass(c):
    g = GLASS
    # brackets holding the glass on the plate
    for bx, by in ((g["left"] + 26, g["top"] + 4), (g["right"] - 26, g["top"] + 4),
                   (g["left"] + 30, g["bottom"] + 1), (g["right"] - 30, g["bottom"] + 1)):
        c.rect(bx - 9, by - 9, 18, 18, rx=3, fill="#8e9399", stroke="#4d5156", stroke_width=1)
        c.screw(bx, by, 4.2)
    c.path(glass_path(), fill="#000000", fill_opacity=0.4, transform="translate(3 5)")
    c.path(glass_path(), fill="#0b0c0d")                       # rubber gasket
    tint = c.linear([(0, "#6f8ea8", 1), (0.55, "#3e5a72", 1), (1, "#263a4b", 1)], 0, 0, 0.25, 1)
    c.path(glass_path(5), fill=tint)
    # black ceramic band along the edge, dotted towards the glass
    c.path(glass_path(5), fill="none", stroke="#101214", stroke_width=7)
    # heating wires with their bus bars
    d = []
    y = g["top"] + 30
    while y < g["bottom"] - 14:
        f = (g["bottom"] - y) / (g["bottom"] - g["top"])
        d.append(f"M{K.fmt(g['left'] + g['top_inset'] * f + 16)},{K.fmt(y)}"
                 f"H{K.fmt(g['right'] - g['top_inset'] * f - 16)}")
        y += 13
    c.path("".join(d), stroke="#d08a4a", stroke_opacity=0.22, stroke_width=0.9, fill="none")
    # wiped sector: the arm leaves the glass clear between 0 and 90 degrees
    c.path(sector_path(WIPED_INNER, ARM_LEN - 2, 180, 270), fill="#ffffff", fill_opacity=0.07)
    c.path(K.arc_path(PX, PY, ARM_LEN - 2, 180, 270), fill="none", stroke="#ffffff", stroke_opacity=0.16,
           stroke_width=1.2)
    # rain drops outside the wiped sector
    rnd = random.Random(11)
    drops = []
    while len(drops) < 90:
        x = rnd.uniform(g["left"], g["right"])
        y = rnd.uniform(g["top"], g["bottom"])
        rr = math.hypot(x - PX, y - PY)
        ang = math.degrees(math.atan2(y - PY, x - PX)) % 360
        in_sector = 180 <= ang <= 270 and rr < ARM_LEN + 2
        if inside_glass(x, y) and not in_sector:
            drops.append((x, y, rnd.uniform(1.2, 3.2)))
    c.path("".join(f"M{K.fmt(x - r)},{K.fmt(y)}a{K.fmt(r)},{K.fmt(r * 1.15)} 0 1 0 {K.fmt(2 * r)},0"
                   f"a{K.fmt(r)},{K.fmt(r * 1.15)} 0 1 0 {K.fmt(-2 * r)},0z" for x, y, r in drops),
           fill="#c9ddef", fill_opacity=0.28, stroke="#1a2632", stroke_opacity=0.35, stroke_width=0.6)
    c.path("".join(f"M{K.fmt(x - r * 0.35)},{K.fmt(y - r * 0.4)}h0.01" for x, y, r in drops if r > 1.8),
           stroke="#ffffff", stroke_opacity=0.7, stroke_width=1.1, stroke_linecap="round")
    # reflection
    c.path(f"M{K.fmt(g['right'] - 110)},{K.fmt(g['top'] + 10)}L{K.fmt(g['right'] - 70)},{K.fmt(g['top'] + 10)}"
           f"L{K.fmt(g['right'] - 150)},{K.fmt(g['bottom'] - 8)}L{K.fmt(g['right'] - 175)},{K.fmt(g['bottom'] - 8)}Z",
           fill="#ffffff", fill_opacity=0.06)


def draw_motor(c):
    """Geared stepper motor behind the pivot (its shaft sits off the can's centre)."""
    mx, my = PX, PY + 10
    c.rect(mx - 44 + 3, my - 8 + 4, 88, 16, rx=8, fill="#000000", fill_opacity=0.35)
    ear = c.linear([(0, "#d9dcdf", 1), (1, "#80858a", 1)], 0, 0, 0, 1)
    c.rect(mx - 44, my - 8, 88, 16, rx=8, fill=ear, stroke="#5b5f63", stroke_width=1)
    for sx in (mx - 36, mx + 36):
        c.circle(sx, my, 4.4, fill="#2a2c2e")
    c.circle(mx + 3, my + 4, 29, fill="#000000", fill_opacity=0.35)
    can = c.radial([(0, "#f1f3f5", 1), (0.65, "#b3b8bd", 1), (1, "#6d7277", 1)], cx=mx - 10, cy=my - 12, r=38,
                   units="userSpaceOnUse")
    c.circle(mx, my, 28, fill=can, stroke="#55595d", stroke_width=1.2)
    c.circle(mx, my, 22, fill="none", stroke="#ffffff", stroke_opacity=0.35, stroke_width=1)
    # blue wire cover and the five wires down to the driver board
    c.path(f"M{K.fmt(mx - 14)},{K.fmt(my + 24)}h28v10q0,4 -4,4h-20q-4,0 -4,-4z", fill="#2f6fd0",
           stroke="#1c4a8f", stroke_width=1)
    dx, dy, dw, dh = DRIVER
    for i, col in enumerate(("#2f6fd0", "#e86aa6", "#f0d43a", "#f08a2a", "#d8342c")):
        sx = mx - 8 + i * 4
        ex = dx + 34 + i * 8
        c.path(f"M{K.fmt(sx)},{K.fmt(my + 37)}C{K.fmt(sx)},{K.fmt(my + 62)} {K.fmt(ex)},{K.fmt(dy - 34)} "
               f"{K.fmt(ex)},{K.fmt(dy + 8)}", fill="none", stroke=col, stroke_width=2.6, stroke_linecap="round")


def draw_driver(c):
    x, y, w, h = DRIVER
    pcb(c, x, y, w, h, r=5, holes=((x + 9, y + 9), (x + w - 9, y + 9), (x + 9, y + h - 9), (x + w - 9, y + h - 9)))
    # motor connector
    c.rect(x + 28, y + 4, 48, 16, rx=2, fill="#f2efe6", stroke="#a9a596", stroke_width=1)
    for i in range(5):
        c.rect(x + 31 + i * 8 + 1, y + 8, 6, 8, fill="#cfcabb")
    # driver chip (DIP-16)
    cx0, cy0 = x + w / 2 + 8, y + 70
    pins = []
    for i in range(8):
        py = cy0 - 30 + i * 8.5
        pins.append(f"M{K.fmt(cx0 - 20)},{K.fmt(py)}h6M{K.fmt(cx0 + 14)},{K.fmt(py)}h6")
    c.path("".join(pins), stroke="#c8c8c8", stroke_width=3.4)
    body = c.linear([(0, "#2b2b2b", 1), (1, "#121212", 1)], 0, 0, 1, 1)
    c.rect(cx0 - 15, cy0 - 36, 30, 70, rx=2, fill=body)
    c.path(f"M{K.fmt(cx0 - 5)},{K.fmt(cy0 - 36)}a5,5 0 0 0 10,0", fill="#0a0a0a")
    draw_text(c, "ZUV-SD4", cx0 + 2, cy0 + 2, 4.2, "#6a6a6a", weight=0.6, anchor="middle", spacing=0.9)
    # input header at the left edge
    header_row(c, x + 12, y + 46, 4, 9, horizontal=False, rows=1)
    draw_text(c, "IN", x + 12, y + 38, 5, K.SILK, weight=0.8, anchor="middle", opacity=0.8)
    header_row(c, x + 12, y + 100, 2, 9, horizontal=False, rows=1)
    # resistors next to the lamps
    for i in range(4):
        lx, ly = phase_lamp(i)
        c.rect(lx - 2.5, ly - 26, 5, 11, fill="#1a1a1a")
        c.rect(lx - 2.5, ly - 26, 5, 2.4, fill="#cfcfcf")
        c.rect(lx - 2.5, ly - 17.4, 5, 2.4, fill="#cfcfcf")
    # phase lamps with their letters
    for i, letter in enumerate(PHASES):
        lx, ly = phase_lamp(i)
        c.circle(lx, ly, PHASE_R + 3, fill="none", stroke=K.SILK, stroke_opacity=0.7, stroke_width=0.9)
        round_lens(c, lx, ly, PHASE_R, PHASE_GREEN, lit=False)
        draw_text(c, letter, lx, ly + PHASE_R + 16, 9, K.SILK, weight=1.4, anchor="middle")


def draw_ir_sensor(c):
    """Infrared distance sensor (two lenses in a black body with mounting ears) on a carrier board."""
    cx, cy = centre(IR_SENSOR_AREA)
    pcb(c, cx - 80, cy - 36, 160, 86, r=6, colour="#1d4f8f", holes=((cx - 70, cy - 26), (cx + 70, cy - 26)))
    # cable connector and wires at the bottom
    c.rect(cx - 16, cy + 34, 32, 12, rx=2, fill="#f2efe6", stroke="#a9a596", stroke_width=1)
    for i, col in enumerate(("#f0d43a", "#1b1b1b", "#d8342c")):
        sx = cx - 9 + i * 9
        ex = cx - 78 + i * 6
        c.path(f"M{K.fmt(sx)},{K.fmt(cy + 46)}C{K.fmt(sx)},{K.fmt(cy + 80)} {K.fmt(ex)},{K.fmt(cy + 80)} "
               f"{K.fmt(ex)},{K.fmt(cy + 112)}", fill="none", stroke=col, stroke_width=2.6, stroke_linecap="round")
    c.rect(cx - 88, cy + 110, 32, 12, rx=2, fill="#f2efe6", stroke="#a9a596", stroke_width=1)
    # mounting ears and body
    c.rect(cx - 74 + 3, cy - 14 + 4, 148, 28, rx=10, fill="#000000", fill_opacity=0.35)
    ears = c.linear([(0, "#3a3a3c", 1), (1, "#141415", 1)], 0, 0, 0, 1)
    c.rect(cx - 74, cy - 14, 148, 28, rx=10, fill=ears, stroke="#050505", stroke_width=1)
    for sx in (cx - 62, cx + 62):
        c.circle(sx, cy, 5.5, fill="#1d4f8f")
        c.circle(sx, cy, 4.2, fill="#0a0a0a")
    c.rect(cx - 50 + 3, cy - 24 + 4, 100, 48, rx=8, fill="#000000", fill_opacity=0.4)
    body = c.linear([(0, "#333335", 1), (0.5, "#1c1c1d", 1), (1, "#0d0d0e", 1)], 0, 0, 0, 1)
    c.rect(cx - 50, cy - 24, 100, 48, rx=8, fill=body, stroke="#050505", stroke_width=1.2)
    for lx in (cx - 24, cx + 24):
        boss = c.linear([(0, "#3c3c3f", 1), (1, "#111112", 1)], 0, 0, 0, 1)
        c.rect(lx - 19, cy - 21, 38, 42, rx=7, fill=boss, stroke="#060606", stroke_width=1)
        lens = c.radial([(0, "#6b4b7a", 1), (0.45, "#2b1b35", 1), (1, "#0b070e", 1)], cx=lx - 4, cy=cy - 5,
                        r=18, units="userSpaceOnUse")
        c.circle(lx, cy, 14, fill=lens, stroke="#000000", stroke_width=1.2)
        c.ellipse(lx - 5, cy - 6, 5, 3, fill="#ffffff", fill_opacity=0.45)
        c.circle(lx + 6, cy + 6, 1.6, fill="#ffffff", fill_opacity=0.25)


def draw_light_sensor(c):
    """Photoresistor on a small board: ceramic disc with its meander track."""
    cx, cy = centre(LIGHT_SENSOR_AREA)
    pcb(c, cx - 22, cy - 16, 44, 40, r=4, colour="#1d4f8f")
    c.rect(cx - 11, cy + 14, 22, 7, fill="#121212")
    for sx in (cx - 6, cx, cx + 6):
        c.rect(sx - 1.6, cy + 15.5, 3.2, 3.2, fill="#b9a46a")
    disc = c.radial([(0, "#f0c9a0", 1), (0.8, "#d59a62", 1), (1, "#9c6a3c", 1)], cx=cx - 3, cy=cy - 4, r=15,
                    units="userSpaceOnUse")
    c.circle(cx, cy, 11, fill=disc, stroke="#7a5230", stroke_width=0.8)
    d = f"M{K.fmt(cx - 7)},{K.fmt(cy - 6)}"
    for i in range(6):
        y = cy - 6 + i * 2.4
        d += f"H{K.fmt(cx + 7 if i % 2 == 0 else cx - 7)}V{K.fmt(y + 2.4)}"
    c.path(d, fill="none", stroke="#7a2416", stroke_width=1.1)
    c.circle(cx, cy, 11, fill="#ffffff", fill_opacity=0.12)
    # sun and moon marking beside it
    sx, sy = cx, cy - 36
    c.circle(sx - 8, sy, 4, fill="none", stroke=K.SYMBOL_INACTIVE, stroke_width=1.4)
    for a in range(0, 360, 45):
        x0, y0 = K.polar(sx - 8, sy, 6.5, a)
        x1, y1 = K.polar(sx - 8, sy, 9, a)
        c.line(x0, y0, x1, y1, stroke=K.SYMBOL_INACTIVE, stroke_width=1.2, stroke_linecap="round")
    c.path(f"M{K.fmt(sx + 12)},{K.fmt(sy - 6)}A6.5,6.5 0 1 0 {K.fmt(sx + 12)},{K.fmt(sy + 6)}"
           f"A5,5 0 1 1 {K.fmt(sx + 12)},{K.fmt(sy - 6)}Z", fill=K.SYMBOL_INACTIVE)


def windshield_symbol(c, cx, cy, s, colour):
    """Front screen outline used by the heater and washer markings."""
    sw = s * 0.075
    c.path(f"M{K.fmt(cx - s * 0.46)},{K.fmt(cy + s * 0.22)}L{K.fmt(cx - s * 0.36)},{K.fmt(cy - s * 0.24)}"
           f"Q{K.fmt(cx)},{K.fmt(cy - s * 0.34)} {K.fmt(cx + s * 0.36)},{K.fmt(cy - s * 0.24)}"
           f"L{K.fmt(cx + s * 0.46)},{K.fmt(cy + s * 0.22)}Q{K.fmt(cx)},{K.fmt(cy + s * 0.14)} "
           f"{K.fmt(cx - s * 0.46)},{K.fmt(cy + s * 0.22)}Z", fill="none", stroke=colour, stroke_width=sw,
           stroke_linejoin="round")
    return sw


def heater_symbol(c, cx, cy, s, colour):
    sw = windshield_symbol(c, cx, cy, s, colour)
    for dx in (-0.2, 0, 0.2):
        x = cx + dx * s
        c.path(f"M{K.fmt(x)},{K.fmt(cy + s * 0.08)}q{K.fmt(-s * 0.07)},{K.fmt(-s * 0.07)} 0,{K.fmt(-s * 0.14)}"
               f"t0,{K.fmt(-s * 0.14)}", fill="none", stroke=colour, stroke_width=sw * 0.8, stroke_linecap="round")


def washer_symbol(c, cx, cy, s, colour):
    sw = windshield_symbol(c, cx, cy, s, colour)
    nx, ny = cx, cy + s * 0.3
    c.path(f"M{K.fmt(nx - s * 0.06)},{K.fmt(ny + s * 0.06)}h{K.fmt(s * 0.12)}", stroke=colour, stroke_width=sw,
           stroke_linecap="round")
    for a in (-125, -105, -90, -75, -55):
        for r in (0.2, 0.3, 0.4):
            x, y = K.polar(nx, ny, s * r, a)
            c.circle(x, y, sw * 0.55, fill=colour)


def windshield():
    c = K.module_canvas()
    draw_driver(c)
    draw_glass(c)
    draw_motor(c)
    draw_ir_sensor(c)
    draw_light_sensor(c)
    for (lx, ly), colour, symbol in ((HEATER_LAMP, HEATER_ORANGE, heater_symbol),
                                     (PUMP_LAMP, PUMP_CYAN, washer_symbol)):
        led_5mm(c, lx, ly, 8, colour, lit=False)
        symbol(c, lx, ly + 38, 38, K.SYMBOL_INACTIVE)
    c.save(os.path.join(OUT, "zuv-modules_windshield.svg"))

    for (lx, ly), colour, name in ((HEATER_LAMP, HEATER_ORANGE, "heater_light"), (PUMP_LAMP, PUMP_CYAN, "pump_light")):
        c = K.module_canvas()
        led_5mm(c, lx, ly, 8, colour, lit=True)
        c.save(os.path.join(OUT, f"zuv-modules_windshield_{name}.svg"))
    for i, letter in enumerate(PHASES):
        c = K.module_canvas()
        lx, ly = phase_lamp(i)
        round_lens(c, lx, ly, PHASE_R, PHASE_GREEN, lit=True, glow_r=24, glow_peak=0.7)
        c.save(os.path.join(OUT, f"zuv-modules_windshield_wiper_light_{letter}.svg"))
    wiper_arm()


def wiper_arm():
    """The arm at its park position: from the pivot to the left along the glass's lower edge."""
    c = K.module_canvas()
    tip = PX - ARM_LEN
    # shadow on the glass
    with c.group(transform="translate(2 3)"):
        c.path(f"M{K.fmt(PX)},{K.fmt(PY - 6)}L{K.fmt(tip + 6)},{K.fmt(PY - 3)}L{K.fmt(tip + 6)},{K.fmt(PY + 3)}"
               f"L{K.fmt(PX)},{K.fmt(PY + 6)}Z", fill="#000000", fill_opacity=0.3)
        c.rect(tip, PY - 10, ARM_LEN - 38, 7, rx=3, fill="#000000", fill_opacity=0.3)
    # blade: rubber, frame and spoiler, parallel to the arm on the glass side
    c.rect(tip, PY - 11, ARM_LEN - 38, 3.2, rx=1.5, fill="#050505")
    blade = c.linear([(0, "#4a4d52", 1), (1, "#141517", 1)], 0, 0, 0, 1)
    c.rect(tip + 1, PY - 9, ARM_LEN - 40, 5, rx=2.5, fill=blade)
    for bx in (tip + 12, tip + (ARM_LEN - 38) / 2, tip + ARM_LEN - 52):
        c.rect(bx - 3, PY - 9.5, 6, 6, rx=1, fill="#222427")
    # arm: tapered bar from the hub
    arm = c.linear([(0, "#5a5e64", 1), (0.45, "#24272b", 1), (1, "#0c0d0f", 1)], 0, 0, 0, 1)
    c.path(f"M{K.fmt(PX)},{K.fmt(PY - 6)}L{K.fmt(tip + 14)},{K.fmt(PY - 3.5)}Q{K.fmt(tip + 4)},{K.fmt(PY - 3)} "
           f"{K.fmt(tip + 4)},{K.fmt(PY)}Q{K.fmt(tip + 4)},{K.fmt(PY + 3)} {K.fmt(tip + 14)},{K.fmt(PY + 3.5)}"
           f"L{K.fmt(PX)},{K.fmt(PY + 6)}Z", fill=arm, stroke="#050506", stroke_width=0.8)
    c.path(f"M{K.fmt(PX - 12)},{K.fmt(PY - 4.2)}L{K.fmt(tip + 16)},{K.fmt(PY - 2.2)}", stroke="#ffffff",
           stroke_opacity=0.25, stroke_width=0.8)
    c.rect(tip + 50, PY - 7, 8, 5, rx=1, fill="#1a1b1d")                     # clip holding the blade
    # hub with its nut
    hub = c.radial([(0, "#5c6066", 1), (0.7, "#1f2124", 1), (1, "#0a0b0c", 1)], cx=PX - 3, cy=PY - 4, r=15,
                   units="userSpaceOnUse")
    c.circle(PX, PY, 11.5, fill=hub, stroke="#050505", stroke_width=1)
    nut = " ".join(f"{K.fmt(x)},{K.fmt(y)}" for x, y in (K.polar(PX, PY, 5, a) for a in range(0, 360, 60)))
    c.add(f'<polygon points="{nut}" fill="#9ba1a8" stroke="#3b3f44" stroke-width="0.8"/>')
    c.save(os.path.join(OUT, "zuv-modules_windshield_wiper_arm.svg"))


def main():
    windshield()


if __name__ == "__main__":
    main()
