"""Lights module: a car seen from above, printed on the plate right of the board, with its
lamps as real lenses. The base picture holds the car and every lens unlit; each lamp layer
holds only its lit lenses and their glow. Left and right are the car's own sides, which
seen from above with the front at the top are also the viewer's left and right."""

import os

import svgkit as K
from glyphs import draw_text
from modparts import mix, round_lens, rounded_poly, shape_lens

OUT = K.LAYERS_DIR

CX = 458.0          # centre line of the car
HW = 128.0          # half width
YT, YB = 30.0, 486.0

WHITE = K.LAMP_HEADLIGHT
AMBER = K.LAMP_INDICATOR
RED = K.LAMP_BRAKE
FOG = K.LAMP_FOG
REVERSE = K.LAMP_REVERSE

FRONT_TILT = 7.0    # headlamp housings sweep back towards the outer corners
REAR_TILT = -5.0


class Lens:
    """One lens: circle (cx, cy, r) or rounded rect (x, y, w, h, rx), in a rotated frame."""

    def __init__(self, kind, geom, colour, glow=None, peak=0.6, rotate=None, lit_colour=None):
        self.kind, self.geom, self.colour, self.glow, self.peak = kind, geom, colour, glow, peak
        self.rotate = rotate                # (angle, cx, cy) or None
        self.lit_colour = lit_colour or colour

    def draw(self, c, lit):
        tr = None
        if self.rotate:
            a, rx, ry = self.rotate
            tr = f"rotate({K.fmt(a)} {K.fmt(rx)} {K.fmt(ry)})"
        colour = self.lit_colour if lit else self.colour
        with c.group(transform=tr) if tr else _nullgroup():
            if self.kind == "circle":
                cx, cy, r = self.geom
                round_lens(c, cx, cy, r, colour, lit, glow_r=self.glow, glow_peak=self.peak)
            else:
                x, y, w, h, rx = self.geom
                shape_lens(c, lambda g: c.rect(x, y, w, h, rx=rx, fill=g), (x, y, w, h), colour, lit,
                           glow_pad=self.glow, glow_peak=self.peak)


class _nullgroup:
    def __enter__(self):
        return None

    def __exit__(self, *exc):
        return False


def side(sign, x):
    """x measured from the centre line towards the given side (-1 left, +1 right)."""
    return CX + sign * x


# Lamp geometry ------------------------------------------------------------------
def head_centre(sign):
    return side(sign, 78), YT + 36


def tail_centre(sign):
    return side(sign, 78), YB - 30


def lamps():
    out = {k: [] for k in ("daylight", "upperbeamlight", "lowerbeamlight", "foglight_right", "foglight_left",
                           "indicator_right", "indicator_left", "reverselight", "brakelight", "backlight")}
    for sign, name in ((-1, "left"), (1, "right")):
        hx, hy = head_centre(sign)
        rot = (-sign * FRONT_TILT, hx, hy)
        # low beam outboard, high beam inboard, daytime strip along the housing's lower edge
        out["lowerbeamlight"].append(Lens("circle", (hx + sign * -14, hy - 3, 11.5), WHITE, glow=46, peak=0.8,
                                          rotate=rot, lit_colour=WHITE))
        out["upperbeamlight"].append(Lens("circle", (hx + sign * 16, hy - 3, 9.5), WHITE, glow=44, peak=0.8,
                                          rotate=rot))
        out["daylight"].append(Lens("rect", (hx - 34, hy + 11, 68, 5.5, 2.7), WHITE, glow=13, peak=0.75, rotate=rot))
        # indicators: front corner, side repeater on the wing, rear corner
        out[f"indicator_{name}"].append(Lens("rect", (hx + sign * 41 - 5, hy - 13, 10, 24, 3), AMBER, glow=16,
                                             peak=0.7, rotate=rot))
        out[f"indicator_{name}"].append(Lens("rect", (side(sign, HW + 1) - 3, YT + 118, 6, 16, 2.5), AMBER,
                                             glow=10, peak=0.7))
        tx, ty = tail_centre(sign)
        trot = (-sign * REAR_TILT, tx, ty)
        out[f"indicator_{name}"].append(Lens("rect", (tx + sign * 34 - 6, ty - 12, 12, 18, 3), AMBER, glow=14,
                                             peak=0.7, rotate=trot))
        # fog lamps in the bumper, inboard of the headlamps
        fog = "foglight_left" if sign < 0 else "foglight_right"
        out[fog].append(Lens("circle", (side(sign, 34), YT + 76, 7.5), FOG, glow=30, peak=0.8))
        # tail: brake lens, back (tail) light strip below it, reversing lamp inboard
        out["brakelight"].append(Lens("rect", (tx - 26 if sign < 0 else tx - 20, ty - 12, 46, 18, 3), RED,
                                      glow=16, peak=0.75, rotate=trot))
        out["backlight"].append(Lens("rect", (tx - 38, ty + 10, 76, 6, 3), RED, glow=8, peak=0.4, rotate=trot,
                                     lit_colour=mix(RED, "#000000", 0.22)))
        out["reverselight"].append(Lens("rect", (side(sign, 19) - 8, YB - 40, 16, 12, 3), REVERSE, glow=18,
                                        peak=0.6))
    # third brake light on top of the rear window
    out["brakelight"].append(Lens("rect", (CX - 26, YB - 128, 52, 5, 2.5), RED, glow=8, peak=0.7))
    return out


# Car body ---------------------------------------------------------------------------
def car_path():
    """Body outline seen from above, front at the top: rounded nose and tail, slight waist."""
    def side_points(sign):
        return [(CX + sign * 58, YT),
                (CX + sign * 108, YT), (CX + sign * (HW - 1), YT + 18), (CX + sign * (HW + 1), YT + 66),
                (CX + sign * (HW + 3), YT + 160), (CX + sign * (HW - 3), YB - 180), (CX + sign * (HW + 1), YB - 60),
                (CX + sign * (HW + 2), YB - 12), (CX + sign * 104, YB), (CX + sign * 62, YB)]
    left, right = side_points(-1), side_points(1)

    def run(pts):
        return "".join(f"C{K.fmt(pts[i][0])},{K.fmt(pts[i][1])} {K.fmt(pts[i + 1][0])},{K.fmt(pts[i + 1][1])} "
                       f"{K.fmt(pts[i + 2][0])},{K.fmt(pts[i + 2][1])}" for i in range(1, len(pts) - 1, 3))
    rev = list(reversed(right))
    return (f"M{K.fmt(left[0][0])},{K.fmt(left[0][1])}" + run(left) + f"H{K.fmt(right[-1][0])}" + run(rev)
            + "Z")


def draw_car(c):
    # tyres showing beside the body
    for sy in (YT + 84, YB - 132):
        for sign in (-1, 1):
            x = side(sign, HW - 2) - (0 if sign > 0 else 8)
            c.rect(x, sy, 10, 50, rx=4, fill="#0c0c0d")
    # drop shadow and body
    c.path(car_path(), fill="#000000", fill_opacity=0.4, transform="translate(3 5)")
    body = c.linear([(0, "#2b3036", 1), (0.22, "#4b525b", 1), (0.5, "#58606a", 1), (0.78, "#4b525b", 1),
                     (1, "#2b3036", 1)], 0, 0, 1, 0)
    c.path(car_path(), fill=body, stroke="#15171a", stroke_width=2)
    # hood creases and grille
    c.path(f"M{K.fmt(CX - 60)},{K.fmt(YT + 70)}Q{K.fmt(CX - 50)},{K.fmt(YT + 120)} {K.fmt(CX - 62)},{K.fmt(YT + 150)}"
           f"M{K.fmt(CX + 60)},{K.fmt(YT + 70)}Q{K.fmt(CX + 50)},{K.fmt(YT + 120)} {K.fmt(CX + 62)},{K.fmt(YT + 150)}",
           fill="none", stroke="#ffffff", stroke_opacity=0.12, stroke_width=1.5)
    c.rect(CX - 18, YT + 6, 36, 26, rx=5, fill="#1a1c1f", stroke="#6d737a", stroke_width=1.2)
    c.path("".join(f"M{K.fmt(CX - 14)},{K.fmt(YT + 11 + i * 5)}H{K.fmt(CX + 14)}" for i in range(4)),
           stroke="#454a50", stroke_width=1.6)
    # windscreen, roof, rear window, side windows
    glass = c.linear([(0, "#3c5266", 1), (1, "#1a2430", 1)], 0, 0, 0, 1)
    ws_top, ws_bot = YT + 150, YT + 198
    c.path(f"M{K.fmt(CX - 104)},{K.fmt(ws_top + 6)}Q{K.fmt(CX)},{K.fmt(ws_top - 16)} {K.fmt(CX + 104)},{K.fmt(ws_top + 6)}"
           f"L{K.fmt(CX + 92)},{K.fmt(ws_bot)}Q{K.fmt(CX)},{K.fmt(ws_bot - 12)} {K.fmt(CX - 92)},{K.fmt(ws_bot)}Z",
           fill=glass, stroke="#111316", stroke_width=1.5)
    c.path(f"M{K.fmt(CX - 70)},{K.fmt(ws_top + 2)}L{K.fmt(CX - 40)},{K.fmt(ws_bot - 8)}", stroke="#ffffff",
           stroke_opacity=0.18, stroke_width=5, stroke_linecap="round")
    rw_top, rw_bot = YB - 124, YB - 92
    c.path(f"M{K.fmt(CX - 90)},{K.fmt(rw_top)}Q{K.fmt(CX)},{K.fmt(rw_top - 10)} {K.fmt(CX + 90)},{K.fmt(rw_top)}"
           f"L{K.fmt(CX + 98)},{K.fmt(rw_bot)}Q{K.fmt(CX)},{K.fmt(rw_bot + 10)} {K.fmt(CX - 98)},{K.fmt(rw_bot)}Z",
           fill=glass, stroke="#111316", stroke_width=1.5)
    roof = c.linear([(0, "#3f454d", 1), (0.5, "#545b64", 1), (1, "#3f454d", 1)], 0, 0, 1, 0)
    c.path(f"M{K.fmt(CX - 92)},{K.fmt(ws_bot)}Q{K.fmt(CX)},{K.fmt(ws_bot - 12)} {K.fmt(CX + 92)},{K.fmt(ws_bot)}"
           f"L{K.fmt(CX + 90)},{K.fmt(rw_top)}Q{K.fmt(CX)},{K.fmt(rw_top - 10)} {K.fmt(CX - 90)},{K.fmt(rw_top)}Z",
           fill=roof, stroke="#23272c", stroke_width=1.2)
    for sign in (-1, 1):
        c.path(f"M{K.fmt(side(sign, 108))},{K.fmt(ws_top + 16)}L{K.fmt(side(sign, 118))},{K.fmt(ws_bot + 10)}"
               f"L{K.fmt(side(sign, 118))},{K.fmt(rw_top - 6)}L{K.fmt(side(sign, 104))},{K.fmt(rw_bot - 4)}"
               f"L{K.fmt(side(sign, 98))},{K.fmt(rw_top)}L{K.fmt(side(sign, 98))},{K.fmt(ws_bot + 4)}Z",
               fill=glass, stroke="#111316", stroke_width=1.2)
        # mirrors
        mx = side(sign, HW + 10)
        c.path(rounded_poly([(side(sign, HW - 6), ws_top + 18), (mx + sign * 6, ws_top + 14),
                             (mx + sign * 8, ws_top + 30), (side(sign, HW - 6), ws_top + 32)], 4),
               fill="#3c424a", stroke="#15171a", stroke_width=1.2)
        # door lines
        c.path(f"M{K.fmt(side(sign, 120))},{K.fmt(ws_bot + 62)}h{K.fmt(sign * 6)}", stroke="#15171a",
               stroke_width=1.5)
        c.path(f"M{K.fmt(side(sign, 123))},{K.fmt(ws_bot + 20)}V{K.fmt(rw_top - 20)}", stroke="#000000",
               stroke_opacity=0.25, stroke_width=1)
    # number plate
    c.rect(CX - 28, YB - 22, 56, 14, rx=2, fill="#cfd3d6", stroke="#55595e", stroke_width=1)
    draw_text(c, "ZUV 24", CX, YB - 11, 7.5, "#25282b", weight=1.2, anchor="middle", spacing=0.95)


def draw_housings(c):
    for sign in (-1, 1):
        hx, hy = head_centre(sign)
        with c.group(transform=f"rotate({K.fmt(-sign * FRONT_TILT)} {K.fmt(hx)} {K.fmt(hy)})"):
            g = c.linear([(0, "#4a5058", 1), (0.5, "#1d2024", 1), (1, "#0e0f11", 1)], 0, 0, 0, 1)
            c.rect(hx - 48, hy - 19, 96, 40, rx=10, fill=g, stroke="#0a0b0c", stroke_width=1.5)
            c.rect(hx - 46.5, hy - 17.5, 93, 37, rx=9, fill="none", stroke="#9aa3ad", stroke_opacity=0.35,
                   stroke_width=1)
            for lx, r in ((hx + sign * -14, 11.5), (hx + sign * 16, 9.5)):
                ring = c.radial([(0, "#e6eaee", 1), (0.75, "#8d949c", 1), (1, "#3b4046", 1)], cx=lx, cy=hy - 3,
                                r=r + 4, units="userSpaceOnUse")
                c.circle(lx, hy - 3, r + 3.5, fill=ring)
        tx, ty = tail_centre(sign)
        with c.group(transform=f"rotate({K.fmt(-sign * REAR_TILT)} {K.fmt(tx)} {K.fmt(ty)})"):
            g = c.linear([(0, "#2a1414", 1), (1, "#120909", 1)], 0, 0, 0, 1)
            c.rect(tx - 44, ty - 17, 88, 38, rx=8, fill=g, stroke="#0a0b0c", stroke_width=1.5)
            c.rect(tx - 42.5, ty - 15.5, 85, 35, rx=7, fill="none", stroke="#c9a0a0", stroke_opacity=0.18,
                   stroke_width=1)
        # fog lamp bezels and reversing lamp frames in the bumpers
        fx, fy = side(sign, 34), YT + 76
        c.circle(fx, fy, 11, fill="#101113", stroke="#777d84", stroke_width=1.6)
        c.rect(side(sign, 19) - 11, YB - 43, 22, 18, rx=4, fill="#101113", stroke="#5d636a", stroke_width=1.2)


def lights():
    by_lamp = lamps()
    c = K.module_canvas()
    draw_car(c)
    draw_housings(c)
    for name in by_lamp:
        for lens in by_lamp[name]:
            lens.draw(c, lit=False)
    c.save(os.path.join(OUT, "zuv-modules_lights.svg"))
    for name, lenses in by_lamp.items():
        c = K.module_canvas()
        for lens in lenses:
            lens.draw(c, lit=True)
        c.save(os.path.join(OUT, f"zuv-modules_lights_{name}.svg"))


def main():
    lights()


if __name__ == "__main__":
    main()
