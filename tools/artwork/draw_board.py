"""Board controls: the module frame's menu buttons (face, pressed overlay, move icons), the
ring that marks a press area, the close icon of the sensor pop-ups, and the infrared
distance sensor scene (background and the sliding object)."""

import os

import svgkit as K
from glyphs import draw_text

OUT = K.LAYERS_DIR

ICON = "#ececec"


def save(c, name):
    c.save(os.path.join(OUT, name))


# menu button --------------------------------------------------------------------------
def menu_items():
    c = K.square_canvas()
    m = c.vw / 2
    c.circle(m, m + 0.35, 12.9, fill="#000000", fill_opacity=0.45)
    rim = c.linear([(0, "#8a8d91", 1), (1, "#232425", 1)])
    c.circle(m, m, 12.7, fill=rim)
    face = c.linear([(0, "#676a6f", 1), (0.5, "#515459", 1), (1, "#3c3e42", 1)])
    c.circle(m, m, 11.9, fill=face)
    c.path(K.arc_path(m, m, 11.3, 200, 340), fill="none", stroke="#ffffff", stroke_opacity=0.18,
           stroke_width=0.5, stroke_linecap="round")
    save(c, "menu_item_background.svg")

    c = K.square_canvas()
    c.circle(m, m, 12.7, fill="#ffffff", fill_opacity=0.3)
    save(c, "menu_item_pressed_white.svg")

    sw = 1.5
    for name, sign in (("move_left", -1), ("move_right", 1)):
        c = K.square_canvas()
        tip = m + sign * 6.0
        c.path(f"M{K.fmt(m - sign * 5.5)},{K.fmt(m)}H{K.fmt(tip - sign * 1.2)}", stroke=ICON, stroke_width=sw,
               stroke_linecap="round", fill="none")
        c.path(f"M{K.fmt(tip - sign * 4.6)},{K.fmt(m - 4.6)}L{K.fmt(tip)},{K.fmt(m)}L{K.fmt(tip - sign * 4.6)},"
               f"{K.fmt(m + 4.6)}", stroke=ICON, stroke_width=sw, stroke_linecap="round", stroke_linejoin="round",
               fill="none")
        save(c, f"menu_item_icon_{name}.svg")

    # drag: a grip between two arrowheads (the frame follows the pointer sideways)
    c = K.square_canvas()
    for sign in (-1, 1):
        tip = m + sign * 7.4
        c.path(f"M{K.fmt(tip - sign * 3.2)},{K.fmt(m - 3.4)}L{K.fmt(tip)},{K.fmt(m)}L{K.fmt(tip - sign * 3.2)},"
               f"{K.fmt(m + 3.4)}", stroke=ICON, stroke_width=sw, stroke_linecap="round", stroke_linejoin="round",
               fill="none")
    for dx in (-1.9, 0, 1.9):
        for dy in (-3.2, 0, 3.2):
            c.circle(m + dx, m + dy, 0.78, fill=ICON)
    save(c, "menu_item_icon_move_drag.svg")


# press area ring ------------------------------------------------------------------------
def press_ring():
    c = K.square_canvas()
    m = c.vw / 2
    c.circle(m, m, 12.2, fill="none", stroke="#000000", stroke_opacity=0.35, stroke_width=1.9)
    c.circle(m, m, 12.2, fill="none", stroke="#f2f8ff", stroke_opacity=0.95, stroke_width=1.0)
    c.circle(m, m, 11.2, fill="none", stroke="#9fd0ff", stroke_opacity=0.35, stroke_width=0.6)
    save(c, "press-label_ring.svg")

    c = K.square_canvas()
    g = c.radial([(0, "#ffffff", 0.10), (0.8, "#ffffff", 0.22), (1, "#ffffff", 0.3)], cx=m, cy=m, r=12.2,
                 units="userSpaceOnUse")
    c.circle(m, m, 12.2, fill=g)
    save(c, "press-label_ring_background.svg")


# close icon ------------------------------------------------------------------------------
def close_icon():
    c = K.square_canvas()
    m = c.vw / 2
    c.circle(m, m, 11.6, fill="#4a4c4f", stroke="#77797c", stroke_width=1.1)
    d = 4.6
    c.path(f"M{K.fmt(m - d)},{K.fmt(m - d)}L{K.fmt(m + d)},{K.fmt(m + d)}M{K.fmt(m + d)},{K.fmt(m - d)}"
           f"L{K.fmt(m - d)},{K.fmt(m + d)}", stroke="#f2f2f2", stroke_width=2.3, stroke_linecap="round")
    save(c, "icon_close_icon.svg")


# infrared distance sensor scene ---------------------------------------------------------
def ir_canvas():
    return K.Canvas("100.24999", "50.249996", "26.524477", "13.295312")


HORIZON = 0.60        # where the back wall meets the floor, fraction of the height
GROUND = 0.76         # where the sensor's post and the object stand (in front of the scale)
ZERO = 0.1625         # x of 0 cm (the object's near face when the layer is at its left limit)
FIFTY = 0.755         # x of 50 cm (the near face with the layer at 0)
LENS = (0.09, 0.44)   # where the view's ray starts


def ir_background():
    c = ir_canvas()
    W, H = c.vw, c.vh
    hy, gy = HORIZON * H, GROUND * H
    wall = c.linear([(0, "#eef1f4", 1), (1, "#cfd6dd", 1)])
    c.rect(0, 0, W, hy, fill=wall)
    floor = c.linear([(0, "#b3ada2", 1), (1, "#d2ccc1", 1)])
    c.rect(0, hy, W, H - hy, fill=floor)
    c.rect(0, hy - 0.3, W, 0.3, fill="#8f969e")
    c.path(f"M0,{K.fmt(hy + 0.02)}H{K.fmt(W)}", stroke="#ffffff", stroke_opacity=0.5, stroke_width=0.06)

    # measuring tape on the floor, behind the object: 0 to 50 cm between the two marks
    x0, x1 = ZERO * W, FIFTY * W
    per_cm = (x1 - x0) / 50
    ty0, ty1 = hy + 0.3, gy - 0.3
    tape = c.linear([(0, "#f6e7a6", 1), (1, "#e6d38a", 1)])
    c.rect(x0 - 0.35, ty0, x1 - x0 + 0.7, ty1 - ty0, rx=0.1, fill=tape, stroke="#a8975a", stroke_width=0.05)
    d_small, d_mid, d_big = [], [], []
    for cm in range(0, 51):
        x = x0 + cm * per_cm
        if cm % 10 == 0:
            d_big.append(f"M{K.fmt(x)},{K.fmt(ty0)}v0.55")
        elif cm % 5 == 0:
            d_mid.append(f"M{K.fmt(x)},{K.fmt(ty0)}v0.4")
        else:
            d_small.append(f"M{K.fmt(x)},{K.fmt(ty0)}v0.25")
    c.path("".join(d_small), stroke="#3a3a3a", stroke_width=0.045)
    c.path("".join(d_mid), stroke="#2a2a2a", stroke_width=0.06)
    c.path("".join(d_big), stroke="#1a1a1a", stroke_width=0.08)
    for cm in range(0, 51, 10):
        draw_text(c, str(cm), x0 + cm * per_cm, ty1 - 0.18, 0.72, "#2b2b2b", weight=0.11, anchor="middle")
    draw_text(c, "cm", x1 + 1.05, ty1 - 0.18, 0.72, "#2b2b2b", weight=0.11, anchor="start")

    # the sensor on its post: front view, lenses stacked, emitter where the ray starts
    lx, ly = LENS[0] * W, LENS[1] * H
    c.ellipse(lx, gy, 1.2, 0.22, fill="#000000", fill_opacity=0.25)
    post = c.linear([(0, "#9aa0a6", 1), (0.5, "#dde1e5", 1), (1, "#7d838a", 1)], 0, 0, 1, 0)
    c.rect(lx - 0.3, ly + 3, 0.6, gy - ly - 3, fill=post)
    c.rect(lx - 0.9, gy - 0.25, 1.8, 0.35, rx=0.1, fill="#6d737a")
    pcb = c.linear([(0, "#2a64aa", 1), (1, "#184077", 1)])
    c.rect(lx - 1.55, ly - 1.7, 3.1, 5.9, rx=0.25, fill=pcb, stroke="#0f2a4f", stroke_width=0.06)
    body = c.linear([(0, "#3a3a3c", 1), (1, "#111112", 1)], 0, 0, 1, 0)
    c.rect(lx - 1.05, ly - 1.25, 2.1, 5.0, rx=0.3, fill=body, stroke="#000000", stroke_width=0.05)
    for yy in (ly, ly + 2.5):
        lens = c.radial([(0, "#7a5a8c", 1), (0.5, "#2b1b35", 1), (1, "#0b070e", 1)], cx=lx - 0.2, cy=yy - 0.25,
                        r=0.95, units="userSpaceOnUse")
        c.circle(lx, yy, 0.78, fill=lens, stroke="#000000", stroke_width=0.06)
        c.ellipse(lx - 0.25, yy - 0.3, 0.26, 0.16, fill="#ffffff", fill_opacity=0.5)
    for yy in (ly - 1.45, ly + 3.95):
        c.circle(lx, yy, 0.17, fill="#0b0b0b")
    save(c, "ir_distance_sensor_background.svg")


def ir_object():
    """A cardboard box standing on the floor; its near face (towards the sensor) at x = 0.755
    of the layer, so that the view's drag handle lies on it."""
    c = ir_canvas()
    W, H = c.vw, c.vh
    gy = GROUND * H
    x0, x1 = FIFTY * W + 0.02, 0.96 * W
    top = 0.22 * H
    c.ellipse((x0 + x1) / 2 + 0.3, gy, (x1 - x0) / 2 + 0.6, 0.3, fill="#000000", fill_opacity=0.25)
    side = c.linear([(0, "#d3a062", 1), (1, "#b07a3e", 1)])
    c.rect(x0, top, x1 - x0, gy - top, rx=0.12, fill=side, stroke="#7d5424", stroke_width=0.08)
    # lid flap line, tape, hand hole
    c.path(f"M{K.fmt(x0)},{K.fmt(top + 1.0)}H{K.fmt(x1)}", stroke="#8d5f2c", stroke_width=0.07, stroke_opacity=0.8)
    c.rect(x0, top + 0.35, x1 - x0, 0.55, fill="#e3c79a", fill_opacity=0.85)
    c.rect((x0 + x1) / 2 - 0.9, top + 1.8, 1.8, 0.5, rx=0.25, fill="#4d3418")
    # near edge shading (faces the sensor)
    c.rect(x0, top, 0.28, gy - top, fill="#000000", fill_opacity=0.12)
    # a printed "this side up" mark
    mx, my = (x0 + x1) / 2, top + 4.4
    for dx in (-0.55, 0.55):
        c.path(f"M{K.fmt(mx + dx)},{K.fmt(my + 0.9)}V{K.fmt(my - 0.5)}M{K.fmt(mx + dx - 0.4)},{K.fmt(my - 0.1)}"
               f"L{K.fmt(mx + dx)},{K.fmt(my - 0.55)}L{K.fmt(mx + dx + 0.4)},{K.fmt(my - 0.1)}",
               fill="none", stroke="#6b4620", stroke_width=0.14, stroke_linecap="round", stroke_linejoin="round")
    c.path(f"M{K.fmt(mx - 1.0)},{K.fmt(my + 1.25)}H{K.fmt(mx + 1.0)}", stroke="#6b4620", stroke_width=0.14,
           stroke_linecap="round")
    save(c, "ir_distance_sensor_object.svg")


def main():
    menu_items()
    press_ring()
    close_icon()
    ir_background()
    ir_object()


if __name__ == "__main__":
    main()
