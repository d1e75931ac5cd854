#!/usr/bin/env python3
"""Writes the decoder's logo bitmaps (resources 136 and 137) as 24-bit BMP files.

The blue channel is the blend mask the decoder keeps; the logo is the word "TOLVIK" in block
letters with a soft one-pixel rim, drawn from the geometry below at two scales.
Usage: make_logo_bitmaps.py OUTPUT_DIR
"""
import os
import struct
import sys

# 5 x 7 block letters, '#' filled.
GLYPHS = {
    "T": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    "O": [".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "L": ["#....", "#....", "#....", "#....", "#....", "#....", "#####"],
    "V": ["#...#", "#...#", "#...#", "#...#", ".#.#.", ".#.#.", "..#.."],
    "I": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "#####"],
    "K": ["#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"],
}
WORD = "TOLVIK"
FULL = 200  # mask inside a letter
RIM = 90    # mask of the rim around it


def draw(width, height, scale):
    mask = [[0] * width for _ in range(height)]
    glyph_w, gap = 5 * scale, scale
    text_w = len(WORD) * glyph_w + (len(WORD) - 1) * gap
    left = (width - text_w) // 2
    top = (height - 7 * scale) // 2
    for n, ch in enumerate(WORD):
        gx = left + n * (glyph_w + gap)
        for row, line in enumerate(GLYPHS[ch]):
            for col, cell in enumerate(line):
                if cell != "#":
                    continue
                for y in range(top + row * scale, top + (row + 1) * scale):
                    for x in range(gx + col * scale, gx + (col + 1) * scale):
                        mask[y][x] = FULL
    rimmed = [r[:] for r in mask]
    for y in range(height):
        for x in range(width):
            if mask[y][x]:
                continue
            near = any(0 <= y + dy < height and 0 <= x + dx < width and mask[y + dy][x + dx] == FULL
                       for dy in (-1, 0, 1) for dx in (-1, 0, 1))
            if near:
                rimmed[y][x] = RIM
    return rimmed


def write_bmp(path, mask):
    height, width = len(mask), len(mask[0])
    row_bytes = (width * 3 + 3) & ~3
    pixels = bytearray()
    for y in range(height - 1, -1, -1):  # bottom-up
        row = bytearray()
        for x in range(width):
            m = mask[y][x]
            row += bytes((m, m, m))  # blue carries the mask; grey keeps the bitmap viewable
        row += bytes(row_bytes - len(row))
        pixels += row
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    tmp = path + ".tmp"
    with open(tmp, "wb") as f:
        f.write(header + info + pixels)
    os.replace(tmp, path)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    write_bmp(os.path.join(out, "logo136.bmp"), draw(133, 48, 3))
    write_bmp(os.path.join(out, "logo137.bmp"), draw(174, 63, 4))


if __name__ == "__main__":
    main()
