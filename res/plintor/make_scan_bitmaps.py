#!/usr/bin/env python3
"""Draws the scan wizard's bitmaps, our own simple shapes, 32-bit with alpha (BI_RGB, alpha in the
fourth byte):

  make_scan_bitmaps.py FOLDER   writes scan140.bmp ... scan149.bmp into FOLDER

  140, 143, 144, 145  32 x 32 pictures of the network kinds: ATSC, terrestrial, cable, satellite
  148                 the separator under a row, 482 x 2
  149                 the red "N/A" mark, 24 x 11
"""
import math
import os
import struct
import sys


def coverage(inside, x, y):
    hits = sum(inside(x + (i + 0.5) / 4, y + (j + 0.5) / 4) for i in range(4) for j in range(4))
    return hits * 255 // 16


def shape_pixel(shape, colour):
    return lambda x, y: (coverage(shape, x, y) << 24) | colour


def mast(x, y):      # a terrestrial mast with waves
    r = math.hypot(x - 16, y - 8)
    waves = any(abs(r - k) < 0.8 for k in (5, 9)) and y < 10
    return (abs(x - 16) < (y - 6) / 4.0 and 8 <= y < 30) or waves


def plug(x, y):      # a cable with its plug
    return (10 <= x < 22 and 6 <= y < 16) or (14 <= x < 18 and 16 <= y < 30) or \
        ((12 <= x < 14 or 18 <= x < 20) and 2 <= y < 6)


def dish(x, y):      # a satellite dish
    r = math.hypot(x - 8, y - 24)
    return (17 < r < 23 and x > 8 and y < 24) or (abs(x - y + 8) < 1.5 and 10 < x < 22)


def antenna(x, y):   # an outdoor aerial: a boom with elements
    return (abs(y - 14) < 1 and 4 <= x < 28) or (any(abs(x - k) < 1 for k in (8, 13, 18, 23)) and
                                                 abs(y - 14) < 7 - (x - 4) / 5.0) or (abs(x - 16) < 1 and 14 <= y < 30)


# 3 x 5 letters of the mark.
LETTERS = {"N": ["101", "111", "111", "111", "101"], "/": ["001", "001", "010", "100", "100"],
           "A": ["010", "101", "111", "101", "101"]}


def mark(x, y):
    """The red "N/A" on a white rounded plate, each letter cell 2 x 2 pixels."""
    if not (0 <= x < 24 and 0 <= y < 11):
        return 0
    colour = 0xFFFFFFFF
    for i, letter in enumerate("N/A"):
        cx, cy = (x - 1 - i * 8) // 2, (y - 1) // 2
        if 0 <= cx < 3 and 0 <= cy < 5 and LETTERS[letter][cy][cx] == "1" and x - 1 - i * 8 >= 0:
            colour = 0xFFC00000
    if x in (0, 23) or y in (0, 10):
        colour = 0xFFC00000
    return colour


def check(x, y):
    ticked = x < 13
    cx = x % 13
    if cx == 0 or cx == 12 or y == 0 or y == 12:
        return 0xFF404040
    if ticked and (abs((cx - 3) - (y - 6)) < 1 and 3 <= cx <= 5 or abs((cx - 5) + (y - 8)) < 1 and 5 <= cx <= 9):
        return 0xFF000000
    return 0xFFFFFFFF


def bmp(pixel, width, height):
    rows = b''.join(struct.pack('<I', pixel(x, y)) for y in reversed(range(height)) for x in range(width))
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 32, 0, len(rows), 2835, 2835, 0, 0)
    header = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(rows), 0, 0, 14 + len(info))
    return header + info + rows


IMAGES = {
    140: (shape_pixel(antenna, 0x7040A0), 32, 32),
    143: (shape_pixel(mast, 0x2060C0), 32, 32),
    144: (shape_pixel(plug, 0x806020), 32, 32),
    145: (shape_pixel(dish, 0x208040), 32, 32),
    148: (lambda x, y: 0xFFD0D0D0 if y == 0 else 0xFFFFFFFF, 482, 2),
    149: (mark, 24, 11),
}


def main(folder):
    os.makedirs(folder, exist_ok=True)
    for number, (pixel, width, height) in IMAGES.items():
        with open(os.path.join(folder, 'scan%d.bmp' % number), 'wb') as f:
            f.write(bmp(pixel, width, height))


if __name__ == '__main__':
    main(sys.argv[1])
