#!/usr/bin/env python3
"""Draws the media player's button glyphs into media/ beside this file: for each of the nine buttons an
enabled (EN_), a disabled (DI_) and a coloured (CL_) look, 16 x 14 pixels on the olive that the player
leaves out (red 128, green 128, blue 0). Run it after changing a drawing; the output depends on nothing
but this script."""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..', '..', 'tools'))
from bmpfile import bmp24  # noqa: E402

WIDTH, HEIGHT = 16, 14
OLIVE = (128, 128, 0)


def right(x0, x1, y0, y1):
    """A triangle pointing right with its base at x0 from y0 to y1 and its tip at x1."""
    mid, half = (y0 + y1) / 2, (y1 - y0) / 2
    return lambda x, y: x0 <= x <= x1 and abs(y - mid) <= half * (x1 - x + 0.5) / (x1 - x0 + 0.5)


def left(x0, x1, y0, y1):
    """A triangle pointing left with its tip at x0 and its base at x1."""
    pointing_right = right(x0, x1, y0, y1)
    return lambda x, y: pointing_right(x0 + x1 - x, y)


def box(x0, x1, y0, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def union(*shapes):
    return lambda x, y: any(shape(x, y) for shape in shapes)


def up(x0, x1, y0, y1):
    """A triangle pointing up with its tip at y0 and its base at y1."""
    mid, half = (x0 + x1) / 2, (x1 - x0) / 2
    return lambda x, y: y0 <= y <= y1 and abs(x - mid) <= half * (y - y0 + 0.5) / (y1 - y0 + 0.5)


# The buttons in the player's order, each with its shape and its colour in the coloured look.
BUTTONS = [
    ('MPPLAY', right(5, 11, 2, 11), (0, 160, 0)),
    ('MPPAUSE', union(box(4, 6, 2, 11), box(9, 11, 2, 11)), (200, 160, 0)),
    ('MPSTOP', box(4, 11, 3, 10), (200, 0, 0)),
    ('MPNEXT', union(right(2, 6, 3, 10), right(7, 11, 3, 10), box(12, 13, 3, 10)), (0, 0, 200)),
    ('MPPREV', union(box(2, 3, 3, 10), left(4, 8, 3, 10), left(9, 13, 3, 10)), (0, 0, 200)),
    ('MPSTEP', union(right(4, 9, 3, 10), box(11, 12, 3, 10)), (0, 110, 200)),
    ('MPBACK', union(box(3, 4, 3, 10), left(6, 11, 3, 10)), (0, 110, 200)),
    ('MPRECORD', disc(7.5, 6.5, 4.2), (220, 0, 0)),
    ('MPEJECT', union(up(3, 12, 2, 7), box(3, 12, 9, 10)), (0, 0, 128)),
]


def draw(shape, ink, shadow=None):
    """Rows of the glyph: the shape in ink over olive, with a shadow one pixel down and right if given."""
    rows = [[OLIVE] * WIDTH for _ in range(HEIGHT)]
    for y in range(HEIGHT):
        for x in range(WIDTH):
            if shape(x, y):
                rows[y][x] = ink
            elif shadow and x > 0 and y > 0 and shape(x - 1, y - 1):
                rows[y][x] = shadow
    return rows


def main():
    out = os.path.join(HERE, 'media')
    os.makedirs(out, exist_ok=True)
    for name, shape, colour in BUTTONS:
        looks = {
            'EN': draw(shape, (0, 0, 0)),
            'DI': draw(shape, (128, 128, 128), (255, 255, 255)),
            'CL': draw(shape, colour),
        }
        for look, rows in looks.items():
            with open(os.path.join(out, f'{look}_{name}.bmp'), 'wb') as f:
                f.write(bmp24(rows))


if __name__ == '__main__':
    main()
