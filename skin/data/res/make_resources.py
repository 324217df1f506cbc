#!/usr/bin/env python3
"""Draws the program's own skin bitmaps into this folder: the track bar channels used when a skin has
none (TRACK, TRACKVERT) and the four system menu glyphs (ORRERYMENU). Run it after changing a drawing;
the output depends on nothing but this script."""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..', '..', '..', 'tools'))
from bmpfile import bmp1, bmp24  # noqa: E402


def channel(length, thickness):
    """A sunken groove across `thickness` rows: shadow above, highlight below, a pale middle."""
    shades = [(128, 128, 128), (64, 64, 64), (212, 212, 212)] + [(236, 236, 236)] * (thickness - 6) + \
             [(212, 212, 212), (227, 227, 227), (255, 255, 255)]
    rows = []
    for y, shade in enumerate(shades):
        row = []
        for x in range(length):
            # The ends close the groove the same way: shadow at the left, highlight at the right.
            if x == 0 and 0 < y < thickness - 1:
                row.append((128, 128, 128))
            elif x == 1 and 1 < y < thickness - 2:
                row.append((64, 64, 64))
            elif x == length - 1 and 0 < y:
                row.append((255, 255, 255))
            elif x == length - 2 and 1 < y < thickness - 1:
                row.append((227, 227, 227))
            else:
                row.append(shade)
        rows.append(row)
    return rows


def transpose(rows):
    return [list(column) for column in zip(*rows)]


def glyphs():
    """Four 16 x 16 black-on-white glyphs side by side: restore, maximise, minimise, close."""
    bits = [[1] * 64 for _ in range(16)]

    def black(x, y):
        bits[y][x] = 0

    def window(left, top, right, bottom, base):
        for x in range(left, right + 1):
            for y in range(top, bottom + 1):
                edge = x in (left, right) or y in (top, top + 1, bottom)
                bits[y][base + x] = 0 if edge else 1

    # 0 restore: a window behind and above another, each with a two-pixel title bar.
    window(5, 3, 12, 9, 0)
    window(3, 6, 10, 12, 0)
    # 1 maximise: one window outline with a two-pixel top.
    window(3, 3, 12, 12, 16)
    # 2 minimise: a bar on rows 7 and 8.
    for x in range(5, 12):
        black(32 + x, 7)
        black(32 + x, 8)
    # 3 close: a cross two pixels thick from x 3 to 11 over rows 4 to 12.
    for i in range(9):
        black(48 + 3 + i, 4 + i)
        black(48 + 11 - i, 4 + i)
        if i < 8:
            black(48 + 4 + i, 4 + i)
            black(48 + 10 - i, 4 + i)
    return bits


def main():
    track = channel(12, 8)
    outputs = {
        'Track.bmp': bmp24(track),
        'TrackVert.bmp': bmp24(transpose(track)),
        'OrreryMenu.bmp': bmp1(glyphs()),
    }
    for name, data in outputs.items():
        with open(os.path.join(HERE, name), 'wb') as f:
            f.write(data)


if __name__ == '__main__':
    main()
