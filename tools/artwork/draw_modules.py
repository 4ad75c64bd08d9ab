"""Module pictures: base plate, microcontroller board with its button and LEDs, and the
cockpit module's display bezel. All layers share the module page (svgkit.module_canvas)."""

import os
import random

import svgkit as K
from glyphs import draw_text
from modparts import (BOARD, BUTTON_CENTRE, DISPLAY, H, LED_CENTRE, LEDS, PLATE, W, crystal, header_row, mix,
                      pcb, qfp, shape_lens, silk_rect, smd, tactile_button, traces, via_field)

OUT = K.LAYERS_DIR
BUTTON_BODY = 52.0
BUTTON_CAP = 17.0
BUTTON_BLUE = "#1f5fd6"


def save(c, name):
    c.save(os.path.join(OUT, name))


# base plate ----------------------------------------------------------------------
def draw_plate(c):
    x, y, w, h = PLATE
    r = 14.0
    c.rect(x + 2, y + 4, w, h, rx=r, fill="#000000", fill_opacity=0.45)
    edge = c.linear([(0, "#5b6067", 1), (0.5, K.PLATE, 1), (1, "#1f2124", 1)], 0, 0, 0.35, 1)
    c.rect(x, y, w, h, rx=r, fill=edge)
    face = c.linear([(0, "#44484d", 1), (0.45, K.PLATE, 1), (1, "#323539", 1)], 0, 0, 0.2, 1)
    c.rect(x + 3, y + 3, w - 6, h - 6, rx=r - 2, fill=face)
    # brushed finish: faint horizontal streaks
    rnd = random.Random(7)
    d_light, d_dark = [], []
    yy = y + 8
    while yy < y + h - 8:
        x0 = x + 10 + rnd.random() * 40
        x1 = x + w - 10 - rnd.random() * 40
        (d_light if rnd.random() < 0.5 else d_dark).append(f"M{K.fmt(x0)},{K.fmt(yy)}H{K.fmt(x1)}")
        yy += 2.5 + rnd.random() * 4
    c.path("".join(d_light), stroke="#ffffff", stroke_opacity=0.035, stroke_width=0.8, fill="none")
    c.path("".join(d_dark), stroke="#000000", stroke_opacity=0.06, stroke_width=0.8, fill="none")
    # chamfer highlight along the top and left edges
    c.path(f"M{K.fmt(x + 3 + r)},{K.fmt(y + 3.6)}H{K.fmt(x + w - 3 - r)}", stroke="#ffffff", stroke_opacity=0.18,
           stroke_width=1.2, fill="none")
    inset = 25.0
    for sx, sy in ((x + inset, y + inset), (x + w - inset, y + inset),
                   (x + inset, y + h - inset), (x + w - inset, y + h - inset)):
        c.circle(sx, sy, 11.5, fill="#000000", fill_opacity=0.25)
        c.screw(sx, sy, 8.5)


def generic():
    c = K.module_canvas()
    draw_plate(c)
    save(c, "zuv-modules_generic.svg")


# microcontroller board -------------------------------------------------------------
def draw_board(c):
    bx, by, bw, bh = BOARD
    x1, y1 = bx + bw, by + bh
    holes = ((bx + 10, by + 10), (x1 - 10, by + 10), (bx + 10, y1 - 10), (x1 - 10, y1 - 10))
    pcb(c, bx, by, bw, bh, r=7, holes=())

    # copper traces and vias under the mask
    mx, my = 140.0, 212.0
    tr = []
    for i in range(9):
        yy = my - 24 + i * 6
        tr.append([(mx - 36, yy), (mx - 48, yy + (i - 4) * 3), (79, 96 + i * 28 + 40)])
        tr.append([(mx + 36, yy), (mx + 48, yy + (i - 4) * 3), (201, 96 + i * 28 + 40)])
    for i in range(6):
        xx = mx - 20 + i * 8
        tr.append([(xx, my + 36), (xx, my + 50), (xx + (i - 2.5) * 6, 262)])
        tr.append([(xx, my - 36), (xx, my - 46), (xx + (i - 2.5) * 4, 164)])
    tr.append([(BUTTON_CENTRE[0], 340), (BUTTON_CENTRE[0] + 30, 360), (201, 360)])
    tr.append([(LED_CENTRE[0] - 23, 406), (90, 406), (79, 390)])
    tr.append([(LED_CENTRE[0] + 23, 406), (201, 420)])
    tr.append([(120, 60), (120, 80), (104, 100)])
    traces(c, tr, width=1.5)
    via_field(c, [(79, 136), (79, 164), (201, 136), (201, 164), (96, 262), (184, 262), (100, 164), (180, 164),
                  (90, 406), (201, 420), (104, 100), (118, 350), (200, 300), (80, 250), (200, 250),
                  (150, 440), (128, 440)])

    # pin headers along both long edges (2 x 24)
    pitch = 13.0
    header_row(c, bx + 13, by + 33, 24, pitch, horizontal=False, rows=2)
    header_row(c, x1 - 13 - pitch, by + 33, 24, pitch, horizontal=False, rows=2)

    # mounting holes with screws
    for hx, hy in holes:
        c.circle(hx, hy, 6.6, fill=K.PCB_COPPER)
        c.circle(hx, hy, 5.2, fill="#1a1a1a")
        c.screw(hx, hy, 4.6)

    # --- programmer section at the top
    silk_rect(c, 72, 70, 136, 92, dash="4,3", opacity=0.55)
    usb = c.linear([(0, "#eef0f2", 1), (0.5, "#a9aeb3", 1), (1, "#6b7075", 1)], 0, 0, 1, 0)
    c.rect(122, 46, 36, 30, rx=2, fill=usb, stroke="#55595e", stroke_width=0.8)
    c.rect(127, 46, 26, 7, fill="#2a2c2e")
    c.rect(124, 70, 32, 4, fill="#55595e")
    qfp(c, 106, 124, 30, 12)
    draw_text(c, "ZUV", 106, 128, 7, "#6a6a6a", weight=0.9, anchor="middle")
    # jumpers
    header_row(c, 170, 96, 2, 8, horizontal=True, rows=2)
    c.rect(166, 100, 16, 10, rx=1.5, fill="#151515", stroke="#3b3b3b", stroke_width=0.6)
    c.rect(166, 86, 16, 10, rx=1.5, fill="#151515", stroke="#3b3b3b", stroke_width=0.6)
    crystal(c, 170, 142, 22, 9)
    # status LEDs and reset button of the programmer
    for i, col in enumerate(("#ff2a1a", "#ff2a1a")):
        smd(c, 82, 90 + i * 12, 8, 5, body=mix(col, "#303030", 0.55), ends="#d7d7d7")
    smd(c, 90, 150, 8, 4, body="#1a1a1a", ends="#cfcfcf")
    smd(c, 140, 100, 8, 4, body="#b38b57")
    smd(c, 140, 150, 8, 4, body="#1a1a1a", ends="#cfcfcf", vertical=True)
    smd(c, 128, 150, 8, 4, body="#b38b57", vertical=True)

    # --- main microcontroller
    qfp(c, mx, my, 62, 25, pin_len=5)
    draw_text(c, "ZUV-MC4", mx, my + 3, 7, "#777777", weight=0.8, anchor="middle")
    draw_text(c, "2431", mx, my + 15, 5, "#5c5c5c", weight=0.7, anchor="middle")
    crystal(c, 88, 200, 10, 24)
    crystal(c, 192, 226, 9, 18)
    for (sx, sy, v) in ((100, 176, False), (100, 248, False), (180, 176, False), (180, 248, False),
                        (108, 186, True), (172, 238, True), (120, 256, False), (160, 256, False),
                        (86, 232, True), (194, 196, True), (140, 170, False)):
        smd(c, sx, sy, 8, 4, vertical=v)
    for (sx, sy, v) in ((92, 176, True), (188, 248, True), (150, 170, False)):
        smd(c, sx, sy, 8, 4, body="#1a1a1a", ends="#cfcfcf", vertical=v)

    # --- user button
    cx, cy = BUTTON_CENTRE
    silk_rect(c, cx - BUTTON_BODY / 2 - 5, cy - BUTTON_BODY / 2 - 5, BUTTON_BODY + 10, BUTTON_BODY + 10,
              opacity=0.6)
    tactile_button(c, cx, cy, BUTTON_BODY, BUTTON_CAP, BUTTON_BLUE)
    draw_text(c, "USER", cx, cy + BUTTON_BODY / 2 + 17, 6, K.SILK, weight=0.9, anchor="middle", opacity=0.85)
    # audio codec and microphone beside it
    qfp(c, 88, 298, 18, 6, pin_len=2.5)
    c.rect(80, 330, 16, 12, rx=2, fill="#c6c9cc", stroke="#6b6e72", stroke_width=0.6)
    c.circle(88, 336, 2, fill="#2a2a2a")
    smd(c, 88, 352, 8, 4, vertical=False)
    smd(c, 88, 280, 8, 4, vertical=False)

    # --- accelerometer with the four LEDs around it
    lx, ly = LED_CENTRE
    qfp(c, lx, ly, 13, 4, pin_len=1.5)
    for name, ((ex, ey), colour) in LEDS.items():
        led_smd(c, ex, ey, colour, lit=False, vertical=name in ("left", "right"))
    for (sx, sy, v) in ((lx - 20, ly - 20, False), (lx + 20, ly - 20, False), (lx - 20, ly + 20, False),
                        (lx + 20, ly + 20, False)):
        smd(c, sx, sy, 7, 3.5, body="#1a1a1a", ends="#cfcfcf", vertical=v)

    # --- bottom edge: micro USB and audio jack
    c.rect(94, 440, 26, 22, rx=2, fill=usb, stroke="#55595e", stroke_width=0.8)
    c.rect(98, 455, 18, 7, fill="#2a2c2e")
    jack = c.linear([(0, "#2d2d2d", 1), (0.5, "#1a1a1a", 1), (1, "#0b0b0b", 1)], 0, 0, 1, 0)
    c.rect(186, 430, 26, 34, rx=3, fill=jack)
    c.circle(199, 458, 6, fill="#050505", stroke="#3a3a3a", stroke_width=1)
    draw_text(c, "ZUV BOARD", 153, 451, 5, K.SILK, weight=0.8, anchor="middle", opacity=0.8)


def led_smd(c, cx, cy, colour, lit, vertical=False):
    """Chip LED of the board: white body with a coloured window, lit with a glow."""
    w, h = (11.0, 16.0) if vertical else (16.0, 11.0)
    if not lit:
        c.rect(cx - w / 2 - 1, cy - h / 2 - 1, w + 2, h + 2, rx=1, fill="#cfc9b8")
    shape_lens(c, lambda g: c.rect(cx - w / 2 + 1, cy - h / 2 + 1, w - 2, h - 2, rx=1.5, fill=g),
               (cx - w / 2, cy - h / 2, w, h), colour, lit, glow_pad=24, glow_peak=0.8)


def microcontroller_board():
    c = K.module_canvas()
    draw_board(c)
    save(c, "zuv-modules_generic_discovery_board.svg")

    c = K.module_canvas()
    tactile_button(c, *BUTTON_CENTRE, BUTTON_BODY, BUTTON_CAP, BUTTON_BLUE, pressed=True)
    save(c, "zuv-modules_generic_button_pressed.svg")

    for name, ((ex, ey), colour) in LEDS.items():
        c = K.module_canvas()
        led_smd(c, ex, ey, colour, lit=True, vertical=name in ("left", "right"))
        save(c, f"zuv-modules_generic_light_{name}.svg")


# cockpit module ----------------------------------------------------------------------
def cockpit():
    c = K.module_canvas()
    dx, dy, dw, dh = DISPLAY
    b = 17.0
    ox, oy, ow, oh = dx - b, dy - b, dw + 2 * b, dh + 2 * b + 10
    c.rect(ox + 3, oy + 5, ow, oh, rx=14, fill="#000000", fill_opacity=0.5)
    frame = c.linear([(0, "#3a3c3f", 1), (0.08, "#202224", 1), (0.9, "#161718", 1), (1, "#0b0b0c", 1)], 0, 0, 0, 1)
    c.rect(ox, oy, ow, oh, rx=14, fill=frame, stroke="#050505", stroke_width=1.5)
    c.rect(ox + 1.5, oy + 1.5, ow - 3, oh - 3, rx=12.5, fill="none", stroke="#ffffff", stroke_opacity=0.10,
           stroke_width=1)
    for sx, sy in ((ox + 9, oy + 9), (ox + ow - 9, oy + 9), (ox + 9, oy + oh - 9), (ox + ow - 9, oy + oh - 9)):
        c.circle(sx, sy, 4.2, fill="#0a0a0b", stroke="#3a3c3f", stroke_width=0.8)
        c.path(f"M{K.fmt(sx - 2.4)},{K.fmt(sy)}h4.8M{K.fmt(sx)},{K.fmt(sy - 2.4)}v4.8", stroke="#45484c",
               stroke_width=0.9)
    # recessed glass edge
    c.rect(dx - 3, dy - 3, dw + 6, dh + 6, rx=3, fill="#050506")
    screen = c.linear([(0, "#161a1f", 1), (0.5, "#0d0f12", 1), (1, "#08090b", 1)], 0, 0, 0, 1)
    c.rect(dx, dy, dw, dh, fill=screen)
    # faint reflection across the glass
    c.path(f"M{K.fmt(dx)},{K.fmt(dy)}H{K.fmt(dx + dw * 0.42)}L{K.fmt(dx + dw * 0.22)},{K.fmt(dy + dh)}"
           f"H{K.fmt(dx)}Z", fill="#ffffff", fill_opacity=0.025)
    # camera / ambient light window and status LED in the bezel
    c.circle(dx + dw / 2, oy + b / 2, 2.6, fill="#0a0c10", stroke="#2c3036", stroke_width=0.8)
    c.circle(dx + dw / 2 + 1, oy + b / 2 - 0.8, 0.8, fill="#6d7fa0", fill_opacity=0.6)
    c.rect(dx + dw / 2 - 22, dy + dh + b / 2 + 2, 44, 3, rx=1.5, fill="#2a2c2f")
    save(c, "zuv-modules_cockpit.svg")


def main():
    generic()
    microcontroller_board()
    cockpit()


if __name__ == "__main__":
    main()
