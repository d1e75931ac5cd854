#!/usr/bin/env python3
"""The programme guide as the X server shows it: writes a grid of events, lets the Wine harness
draw it, grabs the screen with ffmpeg's x11grab and checks, computed here from the same event list,
that every block's genre corner, its grey body and the now marker lie where the guide's geometry
puts them. Usage: guide_screen.py HARNESS.exe WORKDIR (run with TZ=UTC: the grid start is local)."""

import os
import struct
import subprocess
import sys
import time
import zlib

NOW = 1772398200  # 2026-03-01 20:50 UTC
WIDTH, HEIGHT = 1024, 600
# The guide's geometry in OSD units at scale 1.
ROW_HEIGHT, ROW_GAP, NAME_WIDTH, COLUMN_WIDTH = 56, 2, 200, 250
CORNER = 14
NOW_WIDTH, NOW_HEIGHT, NOW_RGB = 54, 56, (0x00, 0x00, 0xDC)
GREY = (0xC8, 0xC8, 0xC8)
GENRES = {2: (0x00, 0xFF, 0xFF), 3: (0xFF, 0x80, 0x40), 5: (0x00, 0xFF, 0x00), 14: (0xFF, 0x00, 0x00)}


def events():
    """Eight channels; durations and genres vary by row; genre 99 has no colour."""
    rows = []
    for r in range(8):
        start = NOW - 3 * 3600 + r * 600
        row = []
        for i in range(24):
            minutes = (25, 40, 55, 90)[(r + i) % 4]
            genre = (2, 3, 5, 14, 99)[(r * 3 + i) % 5]
            row.append((start, minutes, genre, "Show%d_%d" % (r, i)))
            start += minutes * 60
        rows.append(row)
    return rows


def write_white_png(path, w, h):
    """An opaque white RGBA PNG: the guide colours the corner by modulation."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    rows = b"".join(b"\0" + b"\xff" * (4 * w) for _ in range(h))
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0)) +
                chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


def grid_start(now):
    # Half an hour before the (UTC here) half hour holding now.
    return now - now % 1800 - 1800


def main(harness, work):
    os.makedirs(work, exist_ok=True)
    listing, ready, quit_file = (os.path.join(work, n) for n in ("events.txt", "ready.txt", "quit"))
    for p in (ready, quit_file):
        if os.path.exists(p):
            os.remove(p)
    rows = events()
    with open(listing, "w") as f:
        f.write("now %d\n" % NOW)
        for r, row in enumerate(rows):
            f.write("channel Ch%d\n" % r)
            for start, minutes, genre, title in row:
                f.write("event %d %d %d %s\n" % (start, minutes, genre, title))

    corner = os.path.join(work, "corner.png")
    write_white_png(corner, CORNER + 2, CORNER + 2)
    proc = subprocess.Popen(["wine", harness, listing, ready, quit_file, corner])
    try:
        deadline = time.monotonic() + 90
        while not (os.path.exists(ready) and os.path.getsize(ready) > 0):
            if proc.poll() is not None or time.monotonic() > deadline:
                print("harness ended or never showed the guide")
                return 1
            time.sleep(0.1)
        x, y, w, h = (int(v) for v in open(ready).read().split())
        shot = grab(x, y, w, h)
    finally:
        open(quit_file, "w").close()
        try:
            proc.wait(timeout=30)
        except subprocess.TimeoutExpired:
            proc.kill()
    if shot is None:
        print("no usable grab")
        return 1
    return check(shot, rows)


def grab(x, y, w, h):
    # Early grabs can precede the first frame on the screen: retry until the guide's grey shows.
    for _ in range(10):
        out = subprocess.run(["ffmpeg", "-v", "error", "-f", "x11grab", "-video_size", "%dx%d" % (w, h), "-i",
                              "%s+%d,%d" % (os.environ["DISPLAY"], x, y), "-frames:v", "1", "-f", "rawvideo",
                              "-pix_fmt", "rgb24", "-"], capture_output=True, timeout=60).stdout
        if len(out) == w * h * 3 and GREY in {tuple(out[i:i + 3]) for i in range(0, len(out), 3 * 97)}:
            return out
        time.sleep(0.5)
    return None


def check(shot, rows):
    def pixel(px, py):
        i = (int(py) * WIDTH + int(px)) * 3
        return tuple(shot[i:i + 3])

    def near(a, b, tol=12):
        return all(abs(p - q) <= tol for p, q in zip(a, b))

    start = grid_start(NOW)
    per_second = COLUMN_WIDTH / 1800.0
    failures, corners, greys, blanks = [], 0, 0, 0
    pitch = ROW_HEIGHT + ROW_GAP
    for r, row in enumerate(rows):
        top = r * pitch
        if top + ROW_HEIGHT > HEIGHT:
            break
        for ev_start, minutes, genre, title in row:
            left = NAME_WIDTH + (ev_start - start) * per_second
            right = left + minutes * 60 * per_second - ROW_GAP
            if right <= NAME_WIDTH or left >= WIDTH or right > WIDTH:
                continue
            now_x = NAME_WIDTH + (NOW - start) * per_second
            under_marker = r == 0 and now_x - NOW_WIDTH / 2 - 2 <= right <= now_x + NOW_WIDTH / 2 + 2
            if right - left >= CORNER + 4 and not under_marker:
                got = pixel(right - 4, top + 4)
                if genre in GENRES:
                    corners += 1
                    if not near(got, GENRES[genre]):
                        failures.append("%s: corner %s, expected %s" % (title, got, GENRES[genre]))
                else:
                    blanks += 1
                    if not near(got, GREY):
                        failures.append("%s: genre %d marked %s" % (title, genre, got))
            # The body's grey, below the title's line and away from the corner.
            body_x = max(left, NAME_WIDTH) + 3
            if right - body_x > 6 and not (r == 0 and abs(body_x - now_x) < NOW_WIDTH):
                greys += 1
                got = pixel(body_x, top + ROW_HEIGHT - 4)
                if not near(got, GREY):
                    failures.append("%s: body %s at x %d" % (title, got, body_x))
    now_x = NAME_WIDTH + (NOW - start) * per_second
    for dy in (5, NOW_HEIGHT // 2, NOW_HEIGHT - 5):
        got = pixel(now_x, dy)
        if not near(got, NOW_RGB):
            failures.append("now marker at x %.1f y %d: %s" % (now_x, dy, got))
    print("checked %d corners, %d unmarked blocks, %d bodies, the now marker at x %.1f" % (corners, blanks, greys, now_x))
    if corners < 8 or greys < 10 or blanks < 1:
        failures.append("too few blocks on the screen")
    for f in failures[:20]:
        print(f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
