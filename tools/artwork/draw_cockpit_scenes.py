"""Cockpit picture controls with a scene: light sensor switch, temperature control, distance sensor.

Each is drawn in a design space of whole pixels of its canvas (100 x 100, 70 x 80, 40 x 100)
that one scale maps onto the canvas' view box.
"""

import math

import svgkit as K
import cockpitkit as CK
from svgkit import fmt

PX = 0.2645833   # view box units per pixel of these canvases


def design(c):
    return c.group(transform=f"scale({PX})")


# ---------------------------------------------------------------------------------------------
# Light sensor switch: landscape window, 100 x 100. The sun-and-stars disc turns about the
# centre; everything below the horizon (the lower half of the disc) is hidden by the
# foreground of the car layer, everything outside the window by the frame.

WIN = (5.5, 5.5, 89, 89, 8.5)     # window x, y, w, h, corner radius
HORIZON = 57.0                  # lowest point of the hills; disc objects below 60 stay hidden


def window_rect(c, fill, inset=-1.5):
    x, y, w, h, r = WIN
    c.rect(x + inset, y + inset, w - 2 * inset, h - 2 * inset, r, fill=fill)


def sky_shape(c, fill):
    x, y, w, h, r = WIN
    c.path(f"M{fmt(x - 1.5)},{fmt(HORIZON + 8)} L{fmt(x - 1.5)},{fmt(y + r)} Q{fmt(x - 1.5)},{fmt(y - 1.5)} {fmt(x + r)},{fmt(y - 1.5)}"
           f" L{fmt(x + w - r)},{fmt(y - 1.5)} Q{fmt(x + w + 1.5)},{fmt(y - 1.5)} {fmt(x + w + 1.5)},{fmt(y + r)}"
           f" L{fmt(x + w + 1.5)},{fmt(HORIZON + 8)} Z", fill=fill)


def sensor_background():
    c = K.square_canvas()
    with design(c):
        dusk = c.linear([(0, "#2b2d5c", 1), (0.35, "#6a4a7a", 1), (0.6, "#e0784a", 1), (0.66, "#2a2a2a", 1),
                         (1, "#1e1e1e", 1)], x1=0, y1=WIN[1], x2=0, y2=100, units="userSpaceOnUse")
        window_rect(c, dusk)
    c.save(f"{K.LAYERS_DIR}/light_sensor_switch_background.svg")


def cloud(c, x, y, s, fill):
    for dx, dy, rx, ry in ((0, 0, 6, 3.2), (-4.5, 0.8, 3.6, 2.4), (4.8, 0.9, 3.8, 2.3), (1.2, -2.2, 3.8, 3)):
        c.ellipse(x + dx * s, y + dy * s, rx * s, ry * s, fill=fill)


def sensor_sky_day():
    c = K.square_canvas()
    with design(c):
        sky = c.linear([(0, "#2a78d6", 1), (0.7, "#7fbdf0", 1), (1, "#bfe3fb", 1)],
                       x1=0, y1=WIN[1], x2=0, y2=HORIZON + 4, units="userSpaceOnUse")
        sky_shape(c, sky)
        cloud(c, 27, 22, 1.15, "#ffffff")
        cloud(c, 78, 46, 0.8, "#f2f8ff")
        cloud(c, 20, 44, 0.6, "#f2f8ff")
    c.save(f"{K.LAYERS_DIR}/light_sensor_switch_sky_day.svg")


def sensor_sky_night():
    c = K.square_canvas()
    with design(c):
        sky = c.linear([(0, "#060b1f", 1), (0.75, "#15204a", 1), (1, "#2a3566", 1)],
                       x1=0, y1=WIN[1], x2=0, y2=HORIZON + 4, units="userSpaceOnUse")
        sky_shape(c, sky)
    c.save(f"{K.LAYERS_DIR}/light_sensor_switch_sky_night.svg")


def crescent(cx, cy, r, dx, dy, r2):
    """Crescent path: the circle (cx, cy, r) less the circle (cx+dx, cy+dy, r2)."""
    d = math.hypot(dx, dy)
    a = (r * r - r2 * r2 + d * d) / (2 * d)
    h = math.sqrt(r * r - a * a)
    ux, uy = dx / d, dy / d
    mx, my = cx + a * ux, cy + a * uy
    p1 = (mx - h * uy, my + h * ux)
    p2 = (mx + h * uy, my - h * ux)
    return (f"M{fmt(p1[0])},{fmt(p1[1])} A{fmt(r)},{fmt(r)} 0 1 1 {fmt(p2[0])},{fmt(p2[1])}"
            f" A{fmt(r2)},{fmt(r2)} 0 0 0 {fmt(p1[0])},{fmt(p1[1])} Z")


def sparkle(c, x, y, s, opacity=1.0):
    d = (f"M{fmt(x)},{fmt(y - s)} Q{fmt(x + s * 0.18)},{fmt(y - s * 0.18)} {fmt(x + s)},{fmt(y)}"
         f" Q{fmt(x + s * 0.18)},{fmt(y + s * 0.18)} {fmt(x)},{fmt(y + s)}"
         f" Q{fmt(x - s * 0.18)},{fmt(y + s * 0.18)} {fmt(x - s)},{fmt(y)}"
         f" Q{fmt(x - s * 0.18)},{fmt(y - s * 0.18)} {fmt(x)},{fmt(y - s)} Z")
    c.path(d, fill="#fffbe8", fill_opacity=opacity)


def sensor_sun_stars():
    """Sun above the centre; moon and stars below it, drawn upside down for the half turn."""
    c = K.square_canvas()
    sun = (64.0, 28.0)
    with design(c):
        glow = c.radial([(0, "#fff3b0", 0.9), (0.35, "#ffd84a", 0.55), (1, "#ffb000", 0)],
                        cx=sun[0], cy=sun[1], r=17, units="userSpaceOnUse")
        c.circle(sun[0], sun[1], 17, fill=glow)
        for i in range(12):
            x1, y1 = K.polar(sun[0], sun[1], 9.2, i * 30)
            x2, y2 = K.polar(sun[0], sun[1], 12.4 if i % 2 == 0 else 11.2, i * 30)
            c.line(x1, y1, x2, y2, **CK.stroke("#ffd84a", 1.5))
        disc = c.radial([(0, "#fff6c4", 1), (0.6, "#ffdd55", 1), (1, "#ffc21a", 1)], fx=0.4, fy=0.4)
        c.circle(sun[0], sun[1], 7, fill=disc)
        # night side: everything is placed at the point opposite the centre of where it shows
        moon = (100 - 30.0, 100 - 25.0)
        mg = c.radial([(0, "#e8ecff", 0.35), (1, "#e8ecff", 0)], cx=moon[0], cy=moon[1], r=12,
                      units="userSpaceOnUse")
        c.circle(moon[0], moon[1], 12, fill=mg)
        with c.group(transform=f"rotate(180,{fmt(moon[0])},{fmt(moon[1])})"):
            c.path(crescent(moon[0], moon[1], 7, 3.4, -2.4, 6), fill="#f3efd6")
        stars = ((16, 18, 1.9), (48, 12, 2.4), (58, 30, 1.3), (82, 16, 2.0), (88, 36, 1.2), (14, 38, 1.4),
                 (44, 40, 1.1), (72, 44, 1.0), (30, 46, 0.9), (66, 10, 1.2), (24, 30, 0.8), (88, 50, 0.8))
        for x, y, s in stars:
            sparkle(c, 100 - x, 100 - y, s * 1.25)
    c.save(f"{K.LAYERS_DIR}/light_sensor_switch_sun_stars.svg")


def car_side(c, x, y):
    """A hatchback seen from the side, facing right; (x, y) is the middle of its ground line."""
    body = c.linear([(0, "#5b8fd0", 1), (0.5, "#2f64a8", 1), (1, "#1d3f6e", 1)],
                    x1=0, y1=y - 18, x2=0, y2=y - 2, units="userSpaceOnUse")
    c.ellipse(x, y + 0.6, 23, 1.6, fill="#000000", fill_opacity=0.35)
    c.path(f"M{fmt(x - 21)},{fmt(y - 3)} L{fmt(x - 21.5)},{fmt(y - 9)} C{fmt(x - 21)},{fmt(y - 11)} {fmt(x - 19.5)},{fmt(y - 11.5)} {fmt(x - 18)},{fmt(y - 12)}"
           f" L{fmt(x - 13)},{fmt(y - 18.5)} C{fmt(x - 12)},{fmt(y - 19.5)} {fmt(x - 10)},{fmt(y - 19.8)} {fmt(x - 8)},{fmt(y - 19.8)}"
           f" L{fmt(x + 3)},{fmt(y - 19.8)} C{fmt(x + 5)},{fmt(y - 19.8)} {fmt(x + 6.5)},{fmt(y - 19)} {fmt(x + 8)},{fmt(y - 17.5)}"
           f" L{fmt(x + 12)},{fmt(y - 12.6)} L{fmt(x + 19.5)},{fmt(y - 11)} C{fmt(x + 21.5)},{fmt(y - 10.5)} {fmt(x + 22.5)},{fmt(y - 9)} {fmt(x + 22.5)},{fmt(y - 7)}"
           f" L{fmt(x + 22.5)},{fmt(y - 3)} Z", fill=body, stroke="#132a4a", stroke_width=0.6)
    glass = c.linear([(0, "#b9d7f0", 1), (1, "#4a6b8c", 1)], x1=0, y1=y - 19, x2=0, y2=y - 12, units="userSpaceOnUse")
    c.path(f"M{fmt(x - 16.5)},{fmt(y - 12.4)} L{fmt(x - 12)},{fmt(y - 17.6)} C{fmt(x - 11.4)},{fmt(y - 18.2)} {fmt(x - 10.6)},{fmt(y - 18.4)} {fmt(x - 9.6)},{fmt(y - 18.4)}"
           f" L{fmt(x - 3.6)},{fmt(y - 18.4)} L{fmt(x - 3.6)},{fmt(y - 12.4)} Z", fill=glass)
    c.path(f"M{fmt(x - 2.2)},{fmt(y - 18.4)} L{fmt(x + 2.6)},{fmt(y - 18.4)} C{fmt(x + 4.2)},{fmt(y - 18.4)} {fmt(x + 5.4)},{fmt(y - 17.8)} {fmt(x + 6.6)},{fmt(y - 16.6)}"
           f" L{fmt(x + 10)},{fmt(y - 12.4)} L{fmt(x - 2.2)},{fmt(y - 12.4)} Z", fill=glass)
    c.line(x - 19.5, y - 10.2, x + 19.5, y - 9.6, **CK.stroke("#ffffff", 0.6, stroke_opacity=0.35))
    c.line(x - 1, y - 9.2, x - 1, y - 4, **CK.stroke("#132a4a", 0.5))
    c.rect(x + 0.8, y - 8.6, 2.4, 0.8, 0.4, fill="#c8d4e4")
    c.rect(x + 20.2, y - 9.6, 2.4, 2.2, 0.8, fill="#fff6d0")          # headlamp
    c.rect(x - 21.4, y - 10.2, 1.6, 2.6, 0.6, fill="#e0372a")         # rear lamp
    for wx in (x - 12.5, x + 13):
        c.circle(wx, y - 3.2, 4.4, fill="#111111")
        rim = c.radial([(0, "#e6e6e6", 1), (0.7, "#9a9a9a", 1), (1, "#5a5a5a", 1)])
        c.circle(wx, y - 3.2, 2.4, fill=rim)
        c.circle(wx, y - 3.2, 0.7, fill="#4a4a4a")


def sensor_car():
    """Foreground: hills, road and the car; opaque from the horizon down."""
    c = K.square_canvas()
    x, y, w, h, r = WIN
    with design(c):
        far = c.linear([(0, "#3f6b3a", 1), (1, "#24421f", 1)], x1=0, y1=50, x2=0, y2=70, units="userSpaceOnUse")
        c.path(f"M{fmt(x - 1.5)},52 C20,47 30,48 42,53 C52,57 60,51 72,49 C82,47.5 90,50 {fmt(x + w + 1.5)},53"
               f" L{fmt(x + w + 1.5)},{fmt(y + h + 1.5)} L{fmt(x - 1.5)},{fmt(y + h + 1.5)} Z", fill=far)
        near = c.linear([(0, "#4f8a45", 1), (1, "#2f5a29", 1)], x1=0, y1=56, x2=0, y2=74, units="userSpaceOnUse")
        c.path(f"M{fmt(x - 1.5)},60 C16,56 28,56 40,60 C50,63 66,57 80,58 C88,58.5 92,60 {fmt(x + w + 1.5)},61"
               f" L{fmt(x + w + 1.5)},{fmt(y + h + 1.5)} L{fmt(x - 1.5)},{fmt(y + h + 1.5)} Z", fill=near)
        # road
        road = c.linear([(0, "#4a4a4a", 1), (1, "#2c2c2c", 1)], x1=0, y1=72, x2=0, y2=90, units="userSpaceOnUse")
        c.rect(x - 1.5, 72, w + 3, 18, fill=road)
        c.line(x - 1.5, 72.6, x + w + 1.5, 72.6, **CK.stroke("#d8d8d8", 0.8, stroke_linecap="butt"))
        c.line(x - 1.5, 89.3, x + w + 1.5, 89.3, **CK.stroke("#d8d8d8", 0.8, stroke_linecap="butt"))
        for i in range(5):
            c.rect(8 + i * 18, 80.6, 9, 1.2, 0.5, fill="#e8e8e8")
        c.rect(x - 1.5, 90, w + 3, y + h - 88.5, fill="#2c5226")
        car_side(c, 50, 86.5)
    c.save(f"{K.LAYERS_DIR}/light_sensor_switch_car.svg")


def sensor_frame():
    c = K.square_canvas()
    x, y, w, h, r = WIN
    with design(c):
        outer = "M12,0.5 L88,0.5 Q99.5,0.5 99.5,12 L99.5,88 Q99.5,99.5 88,99.5 L12,99.5 Q0.5,99.5 0.5,88 L0.5,12 Q0.5,0.5 12,0.5 Z"
        inner = (f"M{fmt(x + r)},{fmt(y)} L{fmt(x + w - r)},{fmt(y)} Q{fmt(x + w)},{fmt(y)} {fmt(x + w)},{fmt(y + r)}"
                 f" L{fmt(x + w)},{fmt(y + h - r)} Q{fmt(x + w)},{fmt(y + h)} {fmt(x + w - r)},{fmt(y + h)}"
                 f" L{fmt(x + r)},{fmt(y + h)} Q{fmt(x)},{fmt(y + h)} {fmt(x)},{fmt(y + h - r)}"
                 f" L{fmt(x)},{fmt(y + r)} Q{fmt(x)},{fmt(y)} {fmt(x + r)},{fmt(y)} Z")
        bezel = c.linear([(0, "#6e6e6e", 1), (0.5, "#474747", 1), (1, "#2a2a2a", 1)])
        c.path(outer + " " + inner, fill=bezel, fill_rule="evenodd")
        c.path(outer, fill="none", stroke="#151515", stroke_width=1)
        c.path(inner, fill="none", stroke="#111111", stroke_width=1.4)
        # inner shadow along the top edge of the window
        shade = c.linear([(0, "#000000", 0.45), (1, "#000000", 0)], x1=0, y1=y, x2=0, y2=y + 4,
                         units="userSpaceOnUse")
        c.path(f"M{fmt(x + r)},{fmt(y)} L{fmt(x + w - r)},{fmt(y)} Q{fmt(x + w)},{fmt(y)} {fmt(x + w)},{fmt(y + r)}"
               f" L{fmt(x + w)},{fmt(y + 4)} L{fmt(x)},{fmt(y + 4)} L{fmt(x)},{fmt(y + r)} Q{fmt(x)},{fmt(y)} {fmt(x + r)},{fmt(y)} Z",
               fill=shade)
    c.save(f"{K.LAYERS_DIR}/light_sensor_switch_frame.svg")


def light_sensor_switch():
    sensor_background()
    sensor_sky_day()
    sensor_sky_night()
    sensor_sun_stars()
    sensor_car()
    sensor_frame()


# ---------------------------------------------------------------------------------------------
# Temperature control: 70 x 80. The view paints the mercury column inside the bar
# (x 10.5..17.5, y 3.4..53.4) and a bulb square (x 10.5..17.5, y 53.4..61.4) in red between
# the static body and the gauge.

BAR = (10.5, 3.4, 7.0, 50.0)
BULB = (14.0, 57.4)
UP = (31.85, 2.8, 34.3, 21.6)
DOWN = (31.85, 29.2, 34.3, 21.6)
READING = (33.0, 61.0, 33.0, 14.5)


def temp_canvas():
    return K.Canvas("70", "80", "18.520833", "21.166667")


def temperature_static():
    c = temp_canvas()
    bx, by, bw, bh = BAR
    with design(c):
        body = c.linear([(0, "#505050", 1), (1, "#363636", 1)])
        c.rect(0.6, 0.6, 68.8, 78.8, 5, fill=body, stroke="#1a1a1a", stroke_width=1.2)
        c.line(5, 1.6, 65, 1.6, **CK.stroke("#ffffff", 0.6, stroke_opacity=0.18))
        # wells of the two buttons and the reading
        for x, y, w, h in (UP, DOWN):
            c.rect(x - 0.9, y - 0.9, w + 1.8, h + 1.8, 4.2, fill="#262626")
        x, y, w, h = READING
        c.rect(x, y, w, h, 3, fill="#151515", stroke="#0b0b0b", stroke_width=0.8)
        c.line(x + 2, y + h + 0.7, x + w - 2, y + h + 0.7, **CK.stroke("#ffffff", 0.5, stroke_opacity=0.12))
        # thermometer: glass tube and bulb with an always filled reservoir
        glass = "#2b2f33"
        c.rect(bx - 2.2, by - 2.2, bw + 4.4, bh + 6, 5.5, fill=glass, stroke="#8a9096", stroke_width=0.9)
        c.circle(BULB[0], BULB[1], 8.6, fill=glass, stroke="#8a9096", stroke_width=0.9)
        c.rect(bx - 1.3, by + bh - 4, bw + 2.6, 6, fill=glass)
        c.rect(bx, by, bw, bh + 2, 1.5, fill="#101010")
        c.circle(BULB[0], BULB[1], 6.4, fill=CK.MERCURY)
    c.save(f"{K.LAYERS_DIR}/temperature-control_static.svg")


def temperature_gauge():
    c = temp_canvas()
    bx, by, bw, bh = BAR
    with design(c):
        for v in range(-40, 61, 10):
            y = by + bh - (v + 40) / 100 * bh
            if v == 0:
                c.line(bx + bw + 1.6, y, bx + bw + 6.2, y, **CK.stroke("#7fd4ff", 1.1))
            else:
                c.line(bx + bw + 1.6, y, bx + bw + (4.6 if v % 20 == 0 else 3.6), y,
                       **CK.stroke("#cfcfcf", 0.6))
            if v % 20 == 0:
                CK.text(c, str(v), bx + bw + 7.0, y, 3.2, "#7fd4ff" if v == 0 else "#bdbdbd", 0.55,
                        anchor="start", gap=0.18)
        # glass: highlight over the tube and the bulb, shade on the far side
        c.rect(bx + 0.8, by + 1.2, 1.3, bh - 2, 0.65, fill="#ffffff", fill_opacity=0.32)
        c.rect(bx + bw - 1.4, by + 0.8, 1.0, bh - 1, 0.5, fill="#000000", fill_opacity=0.22)
        c.ellipse(BULB[0] - 2.4, BULB[1] - 2.4, 1.8, 1.3, fill="#ffffff", fill_opacity=0.55)
    c.save(f"{K.LAYERS_DIR}/temperature-control_gauge.svg")


def temperature_button(which, active):
    c = temp_canvas()
    x, y, w, h = UP if which == "up" else DOWN
    with design(c):
        if active:
            face = c.linear([(0, "#262626", 1), (1, "#3e3e3e", 1)])
        else:
            face = c.linear([(0, "#6c6c6c", 1), (0.5, "#555555", 1), (1, "#444444", 1)])
        c.rect(x, y, w, h, 3.6, fill=face, stroke="#141414", stroke_width=0.9)
        if not active:
            c.line(x + 3.5, y + 1.1, x + w - 3.5, y + 1.1, **CK.stroke("#ffffff", 0.6, stroke_opacity=0.25))
        cx, cy = x + w / 2, y + h / 2 + (0.6 if active else 0)
        colour = (K.TELLTALE_RED if which == "up" else "#3d8bff") if active else "#dedede"
        if active:
            CK.halo(c, colour, 13, 8.5, cx, cy, peak=0.35)
        s = -1 if which == "up" else 1
        c.path(f"M{fmt(cx - 6.5)},{fmt(cy - s * 3.2)} L{fmt(cx)},{fmt(cy + s * 3.2)} L{fmt(cx + 6.5)},{fmt(cy - s * 3.2)}",
               **CK.stroke(colour, 2.4))
    c.save(f"{K.LAYERS_DIR}/temperature-control_button_{which}_{'active' if active else 'inactive'}.svg")


def temperature_control():
    temperature_static()
    temperature_gauge()
    for which in ("up", "down"):
        for active in (True, False):
            temperature_button(which, active)


# ---------------------------------------------------------------------------------------------
# Distance sensor: 40 x 100, a two-lane road from above. The own car drives up in the right
# lane with its front at 86; the car ahead is drawn at the top of its layer, which the view
# moves down by up to 75 of the 100 pixels and counts as ahead while the layer lies between 19.5
# and 72.5 pixels down: exactly while the car ahead overlaps the beam, which runs from the own
# car's front up to 33, and does not yet touch the own car.

LANE_X = 27.0
CAR_LEN = 12.5
DESIGN_LEN = 19.0                                  # cars are drawn 19 long and scaled to CAR_LEN
AHEAD_FRONT = 1.0
OWN_FRONT = 0.725 * 100 + AHEAD_FRONT + CAR_LEN     # 86: the rear of the car ahead touches it at 72.5
BEAM_TIP = 0.195 * 100 + AHEAD_FRONT + CAR_LEN      # 33: the rear of the car ahead enters it at 19.5


def dist_canvas():
    return K.Canvas("40", "100.00002", "10.583333", "26.458338")


def distance_street():
    c = dist_canvas()
    with design(c):
        asphalt = c.linear([(0, "#3a3a3a", 1), (0.5, "#333333", 1), (1, "#3a3a3a", 1)], x1=0, y1=0, x2=1, y2=0)
        c.rect(0, 0, 40, 100, fill=asphalt)
        verge = c.linear([(0, "#2f5229", 1), (1, "#24401f", 1)], x1=0, y1=0, x2=1, y2=0)
        c.rect(0, 0, 4.4, 100, fill=verge)
        c.rect(35.6, 0, 4.4, 100, fill=verge)
        c.rect(4.4, 0, 0.5, 100, fill="#1c1c1c")
        c.rect(35.1, 0, 0.5, 100, fill="#1c1c1c")
        for xe in (6.0, 34.0):
            c.line(xe, 0, xe, 100, **CK.stroke("#e6e6e6", 0.7, stroke_linecap="butt"))
        for i in range(11):
            c.rect(19.6, 2 + i * 9, 0.8, 5, 0.3, fill="#e6e6e6")
        # worn wheel tracks in the lanes
        for x in (10.2, 15.6, 24.4, 29.8):
            c.line(x, 0, x, 100, **CK.stroke("#2c2c2c", 1.4, stroke_opacity=0.6, stroke_linecap="butt"))
    c.save(f"{K.LAYERS_DIR}/distance_sensor_street.svg")


def car_top(c, cx, front, paint, dark):
    """Car seen from above, driving up; `front` is the y of its front bumper."""
    with c.group(transform=f"translate({fmt(cx)},{fmt(front)}) scale({fmt(CAR_LEN / DESIGN_LEN)})"):
        car_top_design(c, paint, dark)


def car_top_design(c, paint, dark):
    """The car at design size, 9.6 wide and 19 long, its front bumper's middle at the origin."""
    cx, front = 0.0, 0.0
    x0, w, l = -4.8, 9.6, DESIGN_LEN
    c.rect(x0 + 0.4, front + 0.6, w, l, 3.2, fill="#000000", fill_opacity=0.35)
    body = c.linear([(0, dark, 1), (0.3, paint, 1), (0.7, paint, 1), (1, dark, 1)], x1=0, y1=0, x2=1, y2=0)
    c.rect(x0, front, w, l, 3.2, fill=body, stroke="#111111", stroke_width=0.5)
    # mirrors
    c.rect(x0 - 1.1, front + 6.0, 1.4, 1.2, 0.5, fill=dark)
    c.rect(x0 + w - 0.3, front + 6.0, 1.4, 1.2, 0.5, fill=dark)
    glass = "#1b2633"
    c.path(f"M{fmt(x0 + 1.0)},{fmt(front + 8.2)} Q{fmt(cx)},{fmt(front + 4.2)} {fmt(x0 + w - 1.0)},{fmt(front + 8.2)}"
           f" L{fmt(x0 + w - 1.6)},{fmt(front + 9.4)} Q{fmt(cx)},{fmt(front + 8.2)} {fmt(x0 + 1.6)},{fmt(front + 9.4)} Z",
           fill=glass)
    roof = c.linear([(0, paint, 1), (1, dark, 1)])
    c.rect(x0 + 1.6, front + 9.4, w - 3.2, 5.4, 1.2, fill=roof)
    c.path(f"M{fmt(x0 + 1.6)},{fmt(front + 14.8)} L{fmt(x0 + w - 1.6)},{fmt(front + 14.8)}"
           f" L{fmt(x0 + w - 1.2)},{fmt(front + 16.6)} Q{fmt(cx)},{fmt(front + 17.4)} {fmt(x0 + 1.2)},{fmt(front + 16.6)} Z",
           fill=glass)
    c.line(x0 + 2.4, front + 1.8, x0 + 2.4, front + 6.8, **CK.stroke("#ffffff", 0.5, stroke_opacity=0.35))
    for sx in (x0 + 1.6, x0 + w - 1.6):
        c.ellipse(sx, front + 0.9, 1.3, 0.6, fill="#fff6d0")
        c.ellipse(sx, front + l - 0.8, 1.3, 0.6, fill="#e0372a")


def distance_primary_car():
    c = dist_canvas()
    with design(c):
        car_top(c, LANE_X, OWN_FRONT, "#3d7ad6", "#1f4a8c")
        c.rect(LANE_X - 1.1, OWN_FRONT - 0.1, 2.2, 0.7, 0.3, fill="#111111")   # the sensor
    c.save(f"{K.LAYERS_DIR}/distance_sensor_primary_car.svg")


def distance_secondary_car():
    c = dist_canvas()
    with design(c):
        car_top(c, LANE_X, AHEAD_FRONT, "#c9ccd1", "#7c8087")
    c.save(f"{K.LAYERS_DIR}/distance_sensor_secondary_car.svg")


def distance_beam(name, colour):
    c = dist_canvas()
    y0, y1 = OWN_FRONT - 0.3, BEAM_TIP
    half = 6.0
    with design(c):
        fill = c.linear([(0, colour, 0.1), (1, colour, 0.5)], x1=0, y1=y1, x2=0, y2=y0, units="userSpaceOnUse")
        c.path(f"M{fmt(LANE_X - 1.0)},{fmt(y0)} L{fmt(LANE_X - half)},{fmt(y1 + 1.5)}"
               f" Q{fmt(LANE_X)},{fmt(y1 - 1.5)} {fmt(LANE_X + half)},{fmt(y1 + 1.5)}"
               f" L{fmt(LANE_X + 1.0)},{fmt(y0)} Z", fill=fill)
        for i, f in enumerate((0.2, 0.4, 0.6, 0.8)):
            y = y0 + (y1 - y0) * f
            hw = 1.0 + (half - 1.0) * f * 0.94
            c.path(f"M{fmt(LANE_X - hw)},{fmt(y + 0.8)} Q{fmt(LANE_X)},{fmt(y - 1.2 - f)} {fmt(LANE_X + hw)},{fmt(y + 0.8)}",
                   **CK.stroke(colour, 0.7, stroke_opacity=0.85 - 0.15 * i))
    c.save(f"{K.LAYERS_DIR}/distance_sensor_beam_{name}.svg")


def distance_sensor():
    distance_street()
    distance_primary_car()
    distance_secondary_car()
    distance_beam("green", K.TELLTALE_GREEN)
    distance_beam("red", K.TELLTALE_RED)


def main():
    light_sensor_switch()
    temperature_control()
    distance_sensor()


if __name__ == "__main__":
    main()
