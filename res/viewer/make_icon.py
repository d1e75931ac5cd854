#!/usr/bin/env python3
"""Draws the viewer's icon (a screen with a play mark) as a 16- and 32-pixel 32-bit ICO file."""
import struct
import sys


def pixel(x, y, n):
    """ARGB of the icon at (x, y), y down, on an n x n grid."""
    s = n / 32.0
    if not (1 * s <= x < 31 * s and 4 * s <= y < 26 * s):
        # the stand
        if 13 * s <= x < 19 * s and 26 * s <= y < 29 * s:
            return 0xFF404040
        return 0x00000000
    if x < 3 * s or x >= 29 * s or y < 6 * s or y >= 24 * s:
        return 0xFF202020  # bezel
    # a play triangle on a blue gradient
    cx, cy = x / s, y / s
    if 12 <= cx < 22 and abs(cy - 15) < (22 - cx) * 0.6:
        return 0xFFF0F0F0
    blue = 0x80 + int(0x60 * (cy - 6) / 18)
    return 0xFF000000 | (0x20 << 16) | (0x40 << 8) | blue


def image(n):
    # BITMAPINFOHEADER with doubled height (XOR bitmap then AND mask), rows bottom-up
    header = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b''.join(struct.pack('<I', pixel(x, y, n)) for y in reversed(range(n)) for x in range(n))
    row = ((n + 31) // 32) * 4
    mask = bytearray()
    for y in reversed(range(n)):
        bits = bytearray(row)
        for x in range(n):
            if (pixel(x, y, n) >> 24) == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + xor + bytes(mask)


def main(path):
    sizes = [16, 32]
    images = [image(n) for n in sizes]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for n, data in zip(sizes, images):
        out += struct.pack('<BBBBHHII', n, n, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, 'wb') as f:
        f.write(out + b''.join(images))


if __name__ == '__main__':
    main(sys.argv[1])
