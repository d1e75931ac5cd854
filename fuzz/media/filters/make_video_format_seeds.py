#!/usr/bin/env python3
"""Seeds for the video-format fuzzer: MPEG2VIDEOINFO blocks around real sequence headers (made by
ffmpeg), and renderer format blocks of each layout and subtype with sample sizes that fit.
Usage: make_video_format_seeds.py OUTPUT_DIR"""
import os
import struct
import subprocess
import sys
import tempfile

out = sys.argv[1]
os.makedirs(out, exist_ok=True)


def sequence_header(size, pix):
    with tempfile.TemporaryDirectory() as d:
        path = os.path.join(d, "s.m2v")
        subprocess.run(["ffmpeg", "-nostdin", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
                        "testsrc2=size=%s:rate=25" % size, "-frames:v", "1", "-pix_fmt", pix,
                        "-c:v", "mpeg2video", "-f", "mpeg2video", path], check=True)
        es = open(path, "rb").read()
    for i in range(4, len(es) - 4):
        if es[i:i + 3] == b"\0\0\1" and es[i + 3] in (0xB8, 0x00):
            return es[:i]
    return es


def vih2(width, height, bits, aspect=(0, 0)):
    rects = struct.pack("<8i", 0, 0, width, abs(height), 0, 0, width, abs(height))
    middle = struct.pack("<IIqIIIIII", 8000000, 0, 400000, 0, 0, aspect[0], aspect[1], 0, 0)
    bmi = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, 0, 0, 0, 0, 0)
    return rects + middle + bmi


def vih(width, height, bits):
    rects = struct.pack("<8i", 0, 0, width, abs(height), 0, 0, 0, 0)
    middle = struct.pack("<IIq", 8000000, 0, 400000)
    bmi = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, 0, 0, 0, 0, 0)
    return rects + middle + bmi


n = 0
for size, pix in (("352x288", "yuv420p"), ("720x576", "yuv420p"), ("64x48", "yuv422p")):
    header = sequence_header(size, pix)
    w, h = map(int, size.split("x"))
    block = vih2(w, h, 0) + struct.pack("<IIIII", 0, len(header), 2, 8, 0) + header
    open(os.path.join(out, "input%d" % n), "wb").write(bytes([0x80]) + block)
    n += 1
open(os.path.join(out, "input_noheader"), "wb").write(bytes([0x80]) + vih2(720, 576, 0) + bytes(20))

pixels = {0: 16, 1: 32, 3: 32, 4: 16, 5: 16}  # YUY2, RGB32, ARGB32, RGB565, RGB555
for kind in range(4):
    for pixel, bits in pixels.items():
        selector = kind + 5 * pixel
        w, h = 32, 24 if (pixel + kind) % 2 else -24
        block = vih2(w, h, bits) if kind >= 2 else vih(w, h, bits)
        sample = (w * bits // 8 * abs(h) + 63) // 64
        seed = bytes([selector]) + struct.pack("<HH", sample, w * 4) + block
        open(os.path.join(out, "renderer%d_%d" % (kind, pixel)), "wb").write(seed)
