#!/usr/bin/env python3
"""Draws the configurator's icon (a gear) as a 16- and 32-pixel ICO file and the page icons as
32 x 32 bitmaps with 32-bit alpha (BI_RGB, alpha in the fourth byte), our own simple shapes:

  make_bitmaps.py FOLDER   writes plintor.ico, page150.bmp ... page163.bmp and favourite162.bmp
                           into FOLDER
"""
import math
import os
import struct
import sys


def gear(x, y, n, colour):
    c = (n - 1) / 2.0
    r = math.hypot(x - c, y - c) / (n / 32.0)
    a = math.atan2(y - c, x - c)
    outer = 14 if math.cos(8 * a) > 0.3 else 11
    if r <= 4 or r > outer:
        return 0
    return 0xFF000000 | colour


def coverage(inside, x, y):
    """Alpha of a pixel from 4 x 4 samples of the shape, for soft edges."""
    hits = sum(inside(x + (i + 0.5) / 4, y + (j + 0.5) / 4) for i in range(4) for j in range(4))
    return hits * 255 // 16


def page(shape, colour):
    def pixel(x, y):
        a = coverage(shape, x, y)
        return (a << 24) | colour
    return pixel


def tv(x, y):        # a screen with a stand
    return (3 <= x < 29 and 5 <= y < 23) or (13 <= x < 19 and 23 <= y < 28)


def disc(x, y):      # a record button
    return math.hypot(x - 16, y - 16) < 13


def dish(x, y):      # a satellite dish: a ring segment with its feed
    r = math.hypot(x - 8, y - 24)
    return (17 < r < 23 and x > 8 and y < 24) or (abs(x - y + 8) < 1.5 and 10 < x < 22)


def star(x, y):      # a five-pointed star
    a = math.atan2(y - 16, x - 16)
    r = math.hypot(x - 16, y - 16)
    edge = 6 + 8 * abs(math.cos(2.5 * (a + math.pi / 2)))
    return r < edge


def cog(x, y):
    return gear(int(x), int(y), 32, 0) != 0


def clock(x, y):     # a clock face with hands
    r = math.hypot(x - 16, y - 16)
    hands = (abs(x - 16) < 1.2 and 6 < y <= 16) or (abs(y - 16) < 1.2 and 16 <= x < 24)
    return (11 < r < 14) or hands or r < 2


PAGES = {150: (tv, 0x3060C0), 151: (disc, 0xC02020), 152: (dish, 0x208040),
         158: (star, 0xE0A000), 159: (cog, 0x505060), 163: (clock, 0x2080B0)}


def bmp(pixel, n=32, height=None):
    height = height or n
    rows = b''.join(struct.pack('<I', pixel(x, y)) for y in reversed(range(height)) for x in range(n))
    info = struct.pack('<IiiHHIIiiII', 40, n, height, 1, 32, 0, len(rows), 2835, 2835, 0, 0)
    header = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(rows), 0, 0, 14 + len(info))
    return header + info + rows


def favourite_marks(x, y):
    """Two 13 x 13 frames on white: a filled star (a favourite), a grey ring (not one)."""
    frame, fx = divmod(x, 13)
    inside = lambda u, v: star((u - 6.5) * 32 / 13 + 16, (v - 6.5) * 32 / 13 + 16)
    if frame == 0:
        a = coverage(inside, fx, y)
        colour = (0xE0, 0xA0, 0x00)
    else:
        a = coverage(lambda u, v: 3.5 < math.hypot(u - 6.5, v - 6.5) < 5.5, fx, y)
        colour = (0xA0, 0xA0, 0xA0)
    r, g, b = (int(c * a / 255 + 255 * (255 - a) / 255) for c in colour)
    return 0xFF000000 | (r << 16) | (g << 8) | b


def ico_image(n):
    pixel = lambda x, y: gear(x, y, n, 0x4070A0)
    header = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b''.join(struct.pack('<I', pixel(x, y)) for y in reversed(range(n)) for x in range(n))
    row = ((n + 31) // 32) * 4
    mask = bytearray()
    for y in reversed(range(n)):
        bits = bytearray(row)
        for x in range(n):
            if (pixel(x, y) >> 24) == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + xor + bytes(mask)


def main(folder):
    os.makedirs(folder, exist_ok=True)
    images = [ico_image(16), ico_image(32)]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for n, data in zip((16, 32), images):
        out += struct.pack('<BBBBHHII', n, n, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(os.path.join(folder, 'plintor.ico'), 'wb') as f:
        f.write(out + b''.join(images))
    for number, (shape, colour) in PAGES.items():
        with open(os.path.join(folder, 'page%d.bmp' % number), 'wb') as f:
            f.write(bmp(page(shape, colour)))
    with open(os.path.join(folder, 'favourite162.bmp'), 'wb') as f:
        f.write(bmp(favourite_marks, 26, 13))


if __name__ == '__main__':
    main(sys.argv[1])
