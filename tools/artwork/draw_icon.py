"""The program's icon for desktops: a module plate carrying the kit's microcontroller board, seen
from above, with its chip marked ZUV and the board's four LEDs lit in their colours (left red, up
green, right blue, down yellow). Drawn on a 128 unit square, installed as a scalable icon."""

import os

import svgkit as K
from glyphs import draw_text
from modparts import pcb, qfp, shape_lens, traces

OUT = os.path.normpath(os.path.join(os.path.dirname(__file__), "..", "..", "packaging"))
NAME = "zuv-virtualplatform.svg"


def icon():
    c = K.Canvas("128", "128", "128", "128")
    c.plate(2, 2, 124, 124, radius=12)
    pcb(c, 28, 14, 72, 100, r=5)
    traces(c, [[(64, 38), (64, 24)], [(44, 58), (35, 58), (35, 26)], [(84, 58), (93, 58), (93, 26)],
               [(52, 76), (52, 88)], [(76, 76), (76, 88)]], width=2.2, colour=K.PCB_COPPER, opacity=0.7)
    qfp(c, 64, 56, 36, 7, pin_len=4)
    draw_text(c, "ZUV", 64, 61, 10, "#9a9a9a", weight=1.5, anchor="middle")
    for (cx, cy), colour in (((43, 98), K.LED_LEFT), ((57.7, 98), K.LED_UP), ((72.3, 98), K.LED_RIGHT),
                             ((87, 98), K.LED_DOWN)):
        w, h = 9.0, 7.0
        c.rect(cx - w / 2 - 1, cy - h / 2 - 1, w + 2, h + 2, rx=1, fill="#cfc9b8")
        shape_lens(c, lambda g, cx=cx, cy=cy: c.rect(cx - w / 2 + 1, cy - h / 2 + 1, w - 2, h - 2, rx=1.2, fill=g),
                   (cx - w / 2, cy - h / 2, w, h), colour, lit=True, glow_pad=6, glow_peak=0.7)
    c.save(os.path.join(OUT, NAME))


def main():
    icon()


if __name__ == "__main__":
    main()
