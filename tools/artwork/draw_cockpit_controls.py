"""Cockpit driving controls: steering wheel, rotary light switch, control stalk, ignition switch.

Rotating parts are drawn upright at rotation 0 and turn about the point that their view uses:
the wheel about its canvas centre, the light switch needle about the canvas centre, the stalk
lever about its pivot at (0.242, 0.552) of the canvas, the ignition key about the cylinder
centre (the on and off layers are separate pictures).
"""

import math

import svgkit as K
import cockpitkit as CK
from svgkit import fmt

# ---------------------------------------------------------------------------------------------
# Steering wheel


def steering_wheel():
    c = K.Canvas("479.309", "464.835", "479.309", "464.835")
    r_out, r_in = 227.5, 186.0
    with c.group(transform=f"translate({fmt(c.vw / 2)},{fmt(c.vh / 2)})"):
        # spokes (the rim overlaps their outer ends)
        spoke = c.linear([(0, "#4d4d4d", 1), (0.55, "#333333", 1), (1, "#1f1f1f", 1)])
        for s in (-1, 1):
            d = (f"M{fmt(s * 60)},{fmt(-26)} C{fmt(s * 110)},{fmt(-24)} {fmt(s * 150)},{fmt(-22)} {fmt(s * 200)},{fmt(-14)}"
                 f" L{fmt(s * 200)},{fmt(62)} C{fmt(s * 150)},{fmt(58)} {fmt(s * 110)},{fmt(64)} {fmt(s * 60)},{fmt(82)} Z")
            c.path(d, fill=spoke, stroke="#141414", stroke_width=3)
            # brushed insert
            c.path(f"M{fmt(s * 92)},{fmt(6)} L{fmt(s * 176)},{fmt(8)}", **CK.stroke("#7d7d7d", 9))
            c.path(f"M{fmt(s * 92)},{fmt(3.5)} L{fmt(s * 176)},{fmt(5.5)}", **CK.stroke("#b5b5b5", 2.4))
        d = "M-46,80 C-40,120 -44,160 -52,200 L52,200 C44,160 40,120 46,80 Z"
        c.path(d, fill=spoke, stroke="#141414", stroke_width=3)
        c.path("M-18,120 L18,120", **CK.stroke("#6a6a6a", 5))

        # centre pad
        pad = c.radial([(0, "#3e3e3e", 1), (0.75, "#2b2b2b", 1), (1, "#202020", 1)], cy=0.35, r=0.7)
        c.path("M-78,-64 C-40,-80 40,-80 78,-64 C96,-56 104,-30 100,12 C96,62 70,98 0,104"
               " C-70,98 -96,62 -100,12 C-104,-30 -96,-56 -78,-64 Z",
               fill=pad, stroke="#121212", stroke_width=4)
        c.path("M-70,-52 C-36,-64 36,-64 70,-52", **CK.stroke("#4d4d4d", 2.5, stroke_opacity=0.8))
        # emblem: a plain ring badge
        chrome = c.linear([(0, "#f0f0f0", 1), (0.5, "#8c8c8c", 1), (1, "#d0d0d0", 1)], x1=0, y1=0, x2=0, y2=1)
        c.circle(0, 8, 24, fill=chrome)
        c.circle(0, 8, 18, fill="#1c1c1c")
        c.circle(0, 8, 9, fill="none", stroke="#bdbdbd", stroke_width=3.5)

        # rim: a padded ring with a ridge highlight
        ring = (f"M{fmt(r_out)},0 A{fmt(r_out)},{fmt(r_out)} 0 1 0 {fmt(-r_out)},0 "
                f"A{fmt(r_out)},{fmt(r_out)} 0 1 0 {fmt(r_out)},0 Z "
                f"M{fmt(r_in)},0 A{fmt(r_in)},{fmt(r_in)} 0 1 0 {fmt(-r_in)},0 "
                f"A{fmt(r_in)},{fmt(r_in)} 0 1 0 {fmt(r_in)},0 Z")
        k = r_in / r_out
        rim = c.radial([(0, "#000000", 1), (k, "#141414", 1), (k + (1 - k) * 0.35, "#3b3b3b", 1),
                        (k + (1 - k) * 0.55, "#2e2e2e", 1), (1, "#121212", 1)],
                       cx=0, cy=0, r=r_out, units="userSpaceOnUse")
        c.path(ring, fill=rim, fill_rule="evenodd")
        light = c.linear([(0, "#ffffff", 0.12), (0.5, "#ffffff", 0), (1, "#ffffff", 0)])
        c.path(ring, fill=light, fill_rule="evenodd")
        # stitching
        c.circle(0, 0, (r_out + r_in) / 2 + 9, fill="none", stroke="#5c5c5c", stroke_width=1.6,
                 stroke_dasharray="7 6", stroke_opacity=0.7)
        # thumb grips on the 9 and 3 o'clock sides
        for s in (-1, 1):
            c.path(K.arc_path(0, 0, (r_out + r_in) / 2, 180 - 18 if s < 0 else -10, 180 + 10 if s < 0 else 18),
                   **CK.stroke("#1b1b1b", 30, stroke_opacity=0.35))
        # centre marker at 12 o'clock
        c.path(K.arc_path(0, 0, (r_out + r_in) / 2, 265.5, 274.5), fill="none", stroke=K.TELLTALE_AMBER,
               stroke_width=r_out - r_in - 10, stroke_linecap="round")
    c.save(f"{K.SINGLE_DIR}/steering_wheel.svg")


# ---------------------------------------------------------------------------------------------
# Rotary light switch

LS_CENTRE = 187.5
LS_RADIUS = 0.41 * 375
LS_POSITIONS = (("off", 235), ("auto", 270), ("tagfahrlicht", 305), ("abblendlicht", 340), ("fernlicht", 15))
KNOB_R = 98


def light_switch_canvas():
    return K.Canvas("374.99997", "375.00003", "374.99999", "375")


def light_switch_background():
    c = light_switch_canvas()
    o = LS_CENTRE
    bezel = c.linear([(0, "#6a6a6a", 1), (0.5, "#3a3a3a", 1), (1, "#1a1a1a", 1)])
    c.circle(o, o, 186.5, fill=bezel)
    face = c.radial([(0, "#2c2c2c", 1), (0.8, "#242424", 1), (1, "#1b1b1b", 1)])
    c.circle(o, o, 180, fill=face)
    c.circle(o, o, 180, fill="none", stroke="#111111", stroke_width=2)
    # the symbol ring: a slightly raised band behind the positions
    c.circle(o, o, LS_RADIUS, fill="none", stroke="#2d2d2d", stroke_width=60)
    c.circle(o, o, LS_RADIUS + 30, fill="none", stroke="#383838", stroke_width=1.5)
    c.circle(o, o, LS_RADIUS - 30, fill="none", stroke="#141414", stroke_width=1.5)
    # detents: a dot in front of every position
    for _, ang in LS_POSITIONS:
        x, y = K.polar(o, o, 114, ang)
        c.circle(x, y, 4.2, fill="#8c8c8c")
    # knob well
    well = c.radial([(0, "#0d0d0d", 1), (0.88, "#121212", 1), (1, "#2a2a2a", 1)])
    c.circle(o, o, KNOB_R + 7, fill=well)
    c.save(f"{K.LAYERS_DIR}/light_switch_background.svg")


def light_switch_needle():
    """The knob with its pointer; at rotation 0 the pointer points straight up."""
    c = light_switch_canvas()
    o = LS_CENTRE
    shadow = c.radial([(0, "#000000", 0.6), (0.85, "#000000", 0.35), (1, "#000000", 0)])
    c.circle(o, o + 4, KNOB_R + 6, fill=shadow)
    body = c.radial([(0, "#474747", 1), (0.7, "#3a3a3a", 1), (0.93, "#2a2a2a", 1), (1, "#555555", 1)])
    c.circle(o, o, KNOB_R, fill=body)
    # knurled edge
    knurl_r = KNOB_R - 4.75
    pitch = 2 * math.pi * knurl_r / 48
    c.circle(o, o, knurl_r, fill="none", stroke="#222222", stroke_width=6.5, stroke_opacity=0.8,
             stroke_dasharray=f"{fmt(2.2)} {fmt(pitch - 2.2)}")
    # grip ridge across the knob
    ridge = c.linear([(0, "#2b2b2b", 1), (0.3, "#5d5d5d", 1), (0.5, "#6a6a6a", 1), (0.7, "#4d4d4d", 1),
                      (1, "#262626", 1)], x1=0, y1=0, x2=1, y2=0)
    c.rect(o - 22, o - 86, 44, 172, 22, fill=ridge, stroke="#1a1a1a", stroke_width=2)
    # pointer: a white index line on the ridge and a triangle at the rim
    c.line(o, o - 74, o, o - 34, **CK.stroke("#f4f4f4", 7))
    c.polygon([(o, o - 113), (o - 8, o - 100), (o + 8, o - 100)], fill="#f4f4f4",
              stroke="#f4f4f4", stroke_width=2, stroke_linejoin="round")
    c.save(f"{K.LAYERS_DIR}/light_switch_needle.svg")


def light_switch_symbol(name, active):
    c = light_switch_canvas()
    angle = dict(LS_POSITIONS)[name]
    x, y = K.polar(LS_CENTRE, LS_CENTRE, LS_RADIUS, angle)
    lit = {"off": K.SYMBOL_ACTIVE, "auto": K.TELLTALE_GREEN, "tagfahrlicht": K.TELLTALE_GREEN,
           "abblendlicht": K.TELLTALE_GREEN, "fernlicht": K.TELLTALE_BLUE}[name]
    colour = lit if active else K.SYMBOL_INACTIVE
    scale = 1.75
    with CK.place(c, x, y, scale):
        if active:
            CK.halo(c, lit, 20, 17, peak=0.38)
        if name == "off":
            CK.text(c, "0", 0, 0, 17, colour, CK.SYMBOL_STROKE * 1.1)
        elif name == "auto":
            c.circle(0, 0, 12.5, **CK.stroke(colour, CK.SYMBOL_STROKE))
            CK.text(c, "A", 0, 0.6, 13, colour, CK.SYMBOL_STROKE * 1.05)
        else:
            kind = {"tagfahrlicht": "drl", "abblendlicht": "low", "fernlicht": "high"}[name]
            with c.group(transform="translate(1.5,0) scale(0.92)"):
                CK.headlamp(c, kind, colour)
    c.save(f"{K.LAYERS_DIR}/light_switch_icon_{name}_{'active' if active else 'inactive'}.svg")


def light_switch():
    light_switch_background()
    light_switch_needle()
    for name, _ in LS_POSITIONS:
        for active in (True, False):
            light_switch_symbol(name, active)


# ---------------------------------------------------------------------------------------------
# Control stalk

STALK = 134.0
PIVOT = (0.242 * 134.00001, 0.552 * 134)
REST_DEG = -9.0                              # direction of the lever at rest, seen from the pivot
GHOST_DEGS = (-45.0, -27.0, -9.0, 9.0, 27.0)   # the five positions of the lever
GRIP_START, LEVER_END = 42.0, 73.0


def stalk_canvas():
    return K.Canvas("37.81778mm", "37.81778mm", "134.00001", "134")


def lever_outline():
    """Lever silhouette in lever coordinates (x along the lever from the pivot)."""
    g, e = GRIP_START, LEVER_END
    return (f"M-6,-4.6 L{fmt(g - 3)},-4.0 C{fmt(g)},-4.0 {fmt(g)},-7.2 {fmt(g + 3)},-7.2"
            f" L{fmt(e - 6.8)},-7.4 A6.8,7.4 0 0 1 {fmt(e - 6.8)},7.4"
            f" L{fmt(g + 3)},7.2 C{fmt(g)},7.2 {fmt(g)},4.0 {fmt(g - 3)},4.0 L-6,4.6 Z")


def lever_transform(deg):
    return f"translate({fmt(PIVOT[0])},{fmt(PIVOT[1])}) rotate({fmt(deg)})"


def stalk_lever():
    c = stalk_canvas()
    body = c.linear([(0, "#5c5c5c", 1), (0.35, "#3a3a3a", 1), (1, "#161616", 1)])
    grip = c.linear([(0, "#4a4a4a", 1), (0.3, "#303030", 1), (1, "#121212", 1)])
    with c.group(transform=lever_transform(REST_DEG)):
        c.path(lever_outline(), fill=body, stroke="#0e0e0e", stroke_width=1.1)
        g, e = GRIP_START, LEVER_END
        c.path(f"M{fmt(g + 3)},-7.2 L{fmt(e - 6.8)},-7.4 A6.8,7.4 0 0 1 {fmt(e - 6.8)},7.4 L{fmt(g + 3)},7.2 Z",
               fill=grip, stroke="#0e0e0e", stroke_width=1.1)
        # chrome ring between shaft and grip
        ring = c.linear([(0, "#e6e6e6", 1), (0.5, "#8a8a8a", 1), (1, "#4a4a4a", 1)])
        c.rect(g - 0.6, -5.6, 3.2, 11.2, 1.2, fill=ring)
        # highlight along the shaft and the grip
        c.line(2, -2.7, g - 4, -2.4, **CK.stroke("#ffffff", 0.9, stroke_opacity=0.18))
        c.line(g + 4, -5.4, e - 6, -5.4, **CK.stroke("#ffffff", 1.0, stroke_opacity=0.2))
    c.save(f"{K.LAYERS_DIR}/control_stalk_moveable_lever.svg")


def stalk_ghostlines():
    c = stalk_canvas()
    g, e = GRIP_START, LEVER_END
    grip = (f"M{fmt(g - 1)},-7.2 L{fmt(e - 6.8)},-7.4 A6.8,7.4 0 0 1 {fmt(e - 6.8)},7.4 L{fmt(g - 1)},7.2 Z")
    for deg in GHOST_DEGS:
        with c.group(transform=lever_transform(deg)):
            c.line(14, 0, g - 3, 0, **CK.stroke("#8c8c8c", 0.8, stroke_opacity=0.35, stroke_dasharray="1.6 2"))
            c.path(grip, fill="#ffffff", fill_opacity=0.05, stroke="#8c8c8c", stroke_width=0.9,
                   stroke_opacity=0.6, stroke_dasharray="2.2 1.8")
    # the notches of the positions on an arc beyond the lever ends
    c.path(K.arc_path(PIVOT[0], PIVOT[1], LEVER_END + 5.5, -49, 31), fill="none", stroke="#8c8c8c",
           stroke_width=0.8, stroke_opacity=0.4)
    for deg in GHOST_DEGS:
        x1, y1 = K.polar(PIVOT[0], PIVOT[1], LEVER_END + 3.8, deg)
        x2, y2 = K.polar(PIVOT[0], PIVOT[1], LEVER_END + 7.6, deg)
        c.line(x1, y1, x2, y2, **CK.stroke("#8c8c8c", 1.4, stroke_opacity=0.8 if deg == REST_DEG else 0.5))
    c.save(f"{K.LAYERS_DIR}/control_stalk_moveable_lever_ghostlines.svg")


def stalk_symbol(name, draw):
    c = stalk_canvas()
    centre = (GRIP_START + LEVER_END) / 2 + 0.5
    with c.group(transform=lever_transform(REST_DEG)):
        with c.group(transform=f"translate({fmt(centre)},0)"):
            draw(c)
    c.save(f"{K.LAYERS_DIR}/control_stalk_moveable_lever_icon_{name}.svg")


def stalk_symbols():
    def signal(c):
        with c.group(transform="scale(0.62)"):
            CK.halo(c, K.TELLTALE_GREEN, 16, 9, peak=0.3)
            CK.arrows(c, K.TELLTALE_GREEN, gap=2.2, length=7.4, height=8.4)

    def washer(c):
        with c.group(transform="translate(0,0.6) scale(0.42)"):
            CK.wiper(c, "#d8d8d8", sw=2.6)

    stalk_symbol("signal", signal)
    stalk_symbol("windshieldwasher", washer)


def stalk_console():
    """Steering column housing around the lever's pivot."""
    c = stalk_canvas()
    px, py = PIVOT
    shell = c.linear([(0, "#4a4a4a", 1), (0.45, "#2e2e2e", 1), (1, "#151515", 1)])
    side = (f"M0,{fmt(py - 36)} L{fmt(px - 4)},{fmt(py - 36)} C{fmt(px + 14)},{fmt(py - 36)} {fmt(px + 20)},{fmt(py - 22)}"
            f" {fmt(px + 20)},{fmt(py)} C{fmt(px + 20)},{fmt(py + 22)} {fmt(px + 14)},{fmt(py + 36)} {fmt(px - 4)},{fmt(py + 36)}"
            f" L0,{fmt(py + 36)}")
    c.path(side + " Z", fill=shell)
    c.path(side, fill="none", stroke="#0c0c0c", stroke_width=1.2, stroke_linecap="butt")
    c.path(f"M0,{fmt(py - 33.5)} L{fmt(px - 4)},{fmt(py - 33.5)} C{fmt(px + 11)},{fmt(py - 33.5)} {fmt(px + 16.5)},{fmt(py - 22)} {fmt(px + 17.2)},{fmt(py - 8)}",
           **CK.stroke("#ffffff", 1.0, stroke_opacity=0.16))
    # pivot boss where the lever enters
    boss = c.radial([(0, "#151515", 1), (0.6, "#1e1e1e", 1), (0.78, "#6e6e6e", 1), (0.9, "#9a9a9a", 1),
                     (1, "#3a3a3a", 1)], fx=0.42, fy=0.38)
    c.circle(px, py, 11.5, fill=boss)
    c.circle(px, py, 11.5, fill="none", stroke="#0c0c0c", stroke_width=0.9)
    c.save(f"{K.LAYERS_DIR}/control_stalk_console.svg")


def control_stalk():
    stalk_ghostlines()
    stalk_lever()
    stalk_symbols()
    stalk_console()


# ---------------------------------------------------------------------------------------------
# Ignition switch (square canvas, drawn in a 100 x 100 design square)

IGN_ON_DEG = 60          # the key turns clockwise from 0 (off, upright) to this angle (on)
IGN = 50.0


def ignition_canvas():
    c = K.square_canvas()
    return c


def in_square(c):
    return c.group(transform="scale(0.2645833)")


def ignition_base():
    c = ignition_canvas()
    with in_square(c):
        bezel = c.linear([(0, "#d9d9d9", 1), (0.5, "#7a7a7a", 1), (1, "#3a3a3a", 1)])
        c.circle(IGN, IGN, 48, fill="#151515")
        c.circle(IGN, IGN, 46.5, fill=bezel)
        face = c.radial([(0, "#2e2e2e", 1), (1, "#1c1c1c", 1)])
        c.circle(IGN, IGN, 41.5, fill=face)
        # position marks: 0 (off, at the top) and I (on)
        for deg, label in ((0, "0"), (IGN_ON_DEG, "I")):
            x, y = K.polar(IGN, IGN, 34.5, deg - 90)
            CK.text(c, label, x, y, 8.5, K.SYMBOL_INACTIVE, 1.8)
        # a start arrow beyond I
        c.path(K.arc_path(IGN, IGN, 34.5, IGN_ON_DEG - 90 + 16, IGN_ON_DEG - 90 + 40),
               **CK.stroke("#5e5e5e", 1.6))
        x, y = K.polar(IGN, IGN, 34.5, IGN_ON_DEG - 90 + 44)
        c.circle(x, y, 1.6, fill="#5e5e5e")
        # lock cylinder
        cyl = c.linear([(0, "#b8b8b8", 1), (0.5, "#6e6e6e", 1), (1, "#3e3e3e", 1)])
        c.circle(IGN, IGN, 25, fill="#101010")
        c.circle(IGN, IGN, 23.5, fill=cyl)
        inner = c.radial([(0, "#7a7a7a", 1), (1, "#4a4a4a", 1)], fx=0.4, fy=0.35)
        c.circle(IGN, IGN, 19.5, fill=inner)
    c.save(f"{K.LAYERS_DIR}/ignition_switch_base.svg")


def ignition_key(on):
    c = ignition_canvas()
    deg = IGN_ON_DEG if on else 0
    with in_square(c):
        # the lit mark of the current position
        x, y = K.polar(IGN, IGN, 34.5, deg - 90)
        colour = K.TELLTALE_GREEN if on else K.SYMBOL_ACTIVE
        CK.halo(c, colour, 8, 8, x, y, peak=0.45)
        c.circle(x, y, 6.2, fill="#1e1e1e")
        CK.text(c, "I" if on else "0", x, y, 8.5, colour, 1.9)
        if on:   # the illuminated ring around the cylinder
            ring = c.radial([(0, K.TELLTALE_GREEN, 0), (0.8, K.TELLTALE_GREEN, 0), (0.87, K.TELLTALE_GREEN, 0.5),
                             (1, K.TELLTALE_GREEN, 0)], cx=IGN, cy=IGN, r=29, units="userSpaceOnUse")
            c.circle(IGN, IGN, 29, fill=ring)
            c.circle(IGN, IGN, 24.3, fill="none", stroke=K.TELLTALE_GREEN, stroke_width=1.5)
        with c.group(transform=f"translate({IGN},{IGN}) rotate({deg})"):
            # keyway of the turning plug, below the key's neck
            c.rect(-1.9, 4, 3.8, 13, 1.4, fill="#141414")
            # the key's bow: neck at the plug centre, round head with a ring hole
            head = c.linear([(0, "#5e5e5e", 1), (0.45, "#333333", 1), (1, "#161616", 1)], x1=0, y1=0, x2=1, y2=0)
            c.path("M-4.2,3.5 L-4.2,-5 C-4.2,-7.5 -11.5,-9 -11.5,-17 C-11.5,-23.5 -6.5,-28 0,-28"
                   " C6.5,-28 11.5,-23.5 11.5,-17 C11.5,-9 4.2,-7.5 4.2,-5 L4.2,3.5 C4.2,5 -4.2,5 -4.2,3.5 Z",
                   fill=head, stroke="#0a0a0a", stroke_width=1)
            c.circle(0, -19.5, 3.6, fill="#0f0f0f", stroke="#4a4a4a", stroke_width=0.8)
            c.path("M-8.6,-13 C-9.8,-18 -8.4,-23 -3.5,-25.2", **CK.stroke("#ffffff", 1.2, stroke_opacity=0.22))
            c.line(-2.4, -6, -2.4, 2.5, **CK.stroke("#ffffff", 0.9, stroke_opacity=0.18))
    c.save(f"{K.LAYERS_DIR}/ignition_switch_{'on' if on else 'off'}.svg")


def ignition_switch():
    ignition_base()
    ignition_key(True)
    ignition_key(False)


def main():
    steering_wheel()
    light_switch()
    control_stalk()
    ignition_switch()


if __name__ == "__main__":
    main()
