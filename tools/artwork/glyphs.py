"""Stroke lettering for pictures.

Qt's SVG renderer has no use for <text> here (no font is guaranteed where the picture is
drawn), so silk-screen labels, scale numbers and lamp letters are drawn as stroked paths.
Each glyph is a list of strokes on a grid 4 units wide and 6 units high (y downwards);
`text_path` scales them to a cap height and returns path data to stroke.
"""

import math

from svgkit import fmt


def _arc(cx, cy, rx, ry, a0, a1, n=10):
    """Points of an elliptic arc on the glyph grid, angles in degrees, clockwise on screen."""
    return [(cx + rx * math.cos(math.radians(a0 + (a1 - a0) * i / n)),
             cy + ry * math.sin(math.radians(a0 + (a1 - a0) * i / n))) for i in range(n + 1)]


GLYPHS = {
    "0": [_arc(2, 3, 2, 3, 0, 360, 20)],
    "1": [[(0.8, 1.2), (2.2, 0), (2.2, 6)], [(0.8, 6), (3.4, 6)]],
    "2": [_arc(2, 1.8, 1.9, 1.8, 200, 360, 8) + [(3.9, 2.2), (0.1, 6), (4, 6)]],
    "3": [_arc(2, 1.5, 1.8, 1.5, 210, 450, 10)[:-1] + [(1.4, 3)], _arc(2, 4.4, 1.9, 1.6, -90, 160, 10)],
    "4": [[(3, 6), (3, 0), (0, 4.2), (4, 4.2)]],
    "5": [[(3.7, 0), (0.5, 0), (0.2, 2.8)] + _arc(2, 4.1, 1.9, 1.9, -130, 150, 12)],
    "6": [_arc(2, 3, 2, 3, -50, -180, 8) + _arc(2, 4.1, 1.9, 1.9, 180, 540, 20)],
    "7": [[(0, 0), (4, 0), (1.4, 6)]],
    "8": [_arc(2, 1.5, 1.7, 1.5, 0, 360, 16), _arc(2, 4.4, 2, 1.6, 0, 360, 16)],
    "9": [_arc(2, 1.9, 1.9, 1.9, 0, 360, 20), [(3.9, 1.9), (3.6, 4.2)] + _arc(2, 4.2, 1.6, 1.8, 0, 140, 6)],
    "A": [[(0, 6), (2, 0), (4, 6)], [(0.7, 4), (3.3, 4)]],
    "B": [[(0, 0), (0, 6)], [(0, 0), (2.4, 0)] + _arc(2.4, 1.45, 1.45, 1.45, -90, 90, 8) + [(0, 2.9)],
          [(0, 2.9), (2.5, 2.9)] + _arc(2.5, 4.45, 1.55, 1.55, -90, 90, 8) + [(0, 6)]],
    "C": [_arc(2.2, 3, 2.2, 3, -40, -320, 16)],
    "D": [[(0, 0), (0, 6), (1.6, 6)] + _arc(1.6, 3, 2.4, 3, 90, -90, 12) + [(0, 0)]],
    "E": [[(4, 0), (0, 0), (0, 6), (4, 6)], [(0, 3), (3, 3)]],
    "F": [[(4, 0), (0, 0), (0, 6)], [(0, 3), (3, 3)]],
    "G": [_arc(2.2, 3, 2.2, 3, -40, -360, 16) + [(4.2, 3), (2.4, 3)]],
    "H": [[(0, 0), (0, 6)], [(4, 0), (4, 6)], [(0, 3), (4, 3)]],
    "I": [[(2, 0), (2, 6)], [(0.8, 0), (3.2, 0)], [(0.8, 6), (3.2, 6)]],
    "K": [[(0, 0), (0, 6)], [(4, 0), (0, 3.8)], [(1.3, 2.6), (4, 6)]],
    "L": [[(0, 0), (0, 6), (4, 6)]],
    "M": [[(0, 6), (0, 0), (2, 4), (4, 0), (4, 6)]],
    "N": [[(0, 6), (0, 0), (4, 6), (4, 0)]],
    "O": [_arc(2, 3, 2, 3, 0, 360, 20)],
    "P": [[(0, 6), (0, 0), (2.4, 0)] + _arc(2.4, 1.6, 1.6, 1.6, -90, 90, 8) + [(0, 3.2)]],
    "R": [[(0, 6), (0, 0), (2.4, 0)] + _arc(2.4, 1.6, 1.6, 1.6, -90, 90, 8) + [(0, 3.2)], [(2, 3.2), (4, 6)]],
    "S": [_arc(2, 1.5, 1.9, 1.5, -20, -270, 10) + _arc(2, 4.5, 1.9, 1.5, -90, 160, 10)],
    "T": [[(0, 0), (4, 0)], [(2, 0), (2, 6)]],
    "U": [[(0, 0), (0, 4)] + _arc(2, 4, 2, 2, 180, 0, 10) + [(4, 0)]],
    "V": [[(0, 0), (2, 6), (4, 0)]],
    "W": [[(0, 0), (1, 6), (2, 2), (3, 6), (4, 0)]],
    "X": [[(0, 0), (4, 6)], [(4, 0), (0, 6)]],
    "Y": [[(0, 0), (2, 3), (4, 0)], [(2, 3), (2, 6)]],
    "Z": [[(0, 0), (4, 0), (0, 6), (4, 6)]],
    "c": [_arc(1.9, 4.3, 1.8, 1.7, -45, -315, 12)],
    "m": [[(0, 6), (0, 2.6)], _arc(1, 3.5, 1, 0.9, 180, 360, 6) + [(2, 6)], _arc(3, 3.5, 1, 0.9, 180, 360, 6) + [(4, 6)]],
    "-": [[(0.6, 3.2), (3.4, 3.2)]],
    ".": [[(1.9, 5.8), (2.1, 6)]],
    " ": [],
}

ADVANCE = 5.6  # grid units from one glyph to the next (glyph width 4 plus spacing)


def text_width(text, cap_height, spacing=1.0):
    s = cap_height / 6.0
    if not text:
        return 0.0
    return ((len(text) - 1) * ADVANCE * spacing + 4) * s


def text_path(text, x, y, cap_height, anchor="start", spacing=1.0):
    """Path data for `text` with its baseline at y; anchor start, middle or end at x."""
    s = cap_height / 6.0
    w = text_width(text, cap_height, spacing)
    x0 = x - (w / 2 if anchor == "middle" else w if anchor == "end" else 0)
    top = y - cap_height
    parts = []
    for i, ch in enumerate(text):
        ox = x0 + i * ADVANCE * spacing * s
        for stroke in GLYPHS[ch]:
            pts = [(ox + px * s, top + py * s) for px, py in stroke]
            parts.append("M" + " L".join(f"{fmt(px)},{fmt(py)}" for px, py in pts))
    return " ".join(parts)


def draw_text(canvas, text, x, y, cap_height, colour, weight=None, anchor="start", opacity=None, spacing=1.0):
    """Strokes `text` onto `canvas`; weight defaults to an eighth of the cap height. The path
    carries the text as its aria-label, as a drawing program does for text turned into paths, so
    that the lettering can be read and checked in the file."""
    canvas.path(text_path(text, x, y, cap_height, anchor, spacing), aria_label=text, fill="none", stroke=colour,
                stroke_width=weight if weight is not None else cap_height / 8.0,
                stroke_linecap="round", stroke_linejoin="round", stroke_opacity=opacity)
