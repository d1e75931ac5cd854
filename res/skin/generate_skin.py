#!/usr/bin/env python3
"""Writes the viewer's default skin: 66 PNG images under OUT/ (epg, buttons, menu, teletext).

Every picture is drawn here from geometry: shapes given as signed distance functions, filled with
flat colours or gradients, their edges supersampled. The output is deterministic: the same script
writes the same bytes on every run.

Image rules the loader relies on: 8-bit RGBA, straight alpha, not interlaced; a 1-pixel border on
every side that is never drawn; frames stacked from the top with no gap, each frame the content
height; width = content width + 2, height = frames x frame height + 2.

Button images carry five frames: 0 disabled, 1 normal, 2 pressed, 3 focused, 4 the partner of the
focus pulse. Frame 3's alpha of 64 or more is the button's hit area.

--signature writes frame f of image k (k = place in the load order below) as the flat colour
(k, 40 f, 0xA5) so that a screenshot tells which image and frame lies where; shaped buttons keep
their outline (alpha 255 inside, 0 outside) so hit areas stay apart. It also writes
hitpoints.txt: one point inside frame 3's hit area of every five-frame image.
"""

import argparse
import math
import os
import struct
import sys
import zlib

# ---------------------------------------------------------------------------------------------
# PNG output


def write_png(path, width, height, rgba):
    """rgba: bytes-like of width * height * 4, rows top-down."""
    raw = bytearray()
    stride = width * 4
    for y in range(height):
        raw.append(0)  # filter type None keeps the output independent of filter heuristics
        raw += rgba[y * stride:(y + 1) * stride]

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) \
        + chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


# ---------------------------------------------------------------------------------------------
# Shapes: signed distance functions (negative inside), Lipschitz 1 so that a distance above one
# pixel half-diagonal means the pixel lies wholly on one side.


def rounded_rect(x0, y0, x1, y1, r):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

    def sdf(x, y):
        qx = abs(x - cx) - hx
        qy = abs(y - cy) - hy
        ox, oy = max(qx, 0.0), max(qy, 0.0)
        return math.hypot(ox, oy) + min(max(qx, qy), 0.0) - r
    sdf.bbox = (x0, y0, x1, y1)
    return sdf


def circle(cx, cy, r):
    def sdf(x, y):
        return math.hypot(x - cx, y - cy) - r
    sdf.bbox = (cx - r, cy - r, cx + r, cy + r)
    return sdf


def ring(cx, cy, r_in, r_out):
    mid, half = (r_in + r_out) / 2, (r_out - r_in) / 2

    def sdf(x, y):
        return abs(math.hypot(x - cx, y - cy) - mid) - half
    sdf.bbox = (cx - r_out, cy - r_out, cx + r_out, cy + r_out)
    return sdf


def half_plane(px, py, nx, ny):
    """Inside where (p - point) . n < 0; n is normalised here."""
    n = math.hypot(nx, ny)
    nx, ny = nx / n, ny / n

    def sdf(x, y):
        return (x - px) * nx + (y - py) * ny
    sdf.bbox = None
    return sdf


def polygon(points):
    """Convex polygon, points in clockwise order on screen (y down)."""
    planes = []
    for i, (ax, ay) in enumerate(points):
        bx, by = points[(i + 1) % len(points)]
        ex, ey = bx - ax, by - ay
        planes.append(half_plane(ax, ay, ey, -ex))
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]

    def sdf(x, y):
        return max(p(x, y) for p in planes)
    sdf.bbox = (min(xs), min(ys), max(xs), max(ys))
    return sdf


def capsule(ax, ay, bx, by, r):
    dx, dy = bx - ax, by - ay
    ll = dx * dx + dy * dy

    def sdf(x, y):
        t = 0.0 if ll == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / ll))
        return math.hypot(x - ax - t * dx, y - ay - t * dy) - r
    sdf.bbox = (min(ax, bx) - r, min(ay, by) - r, max(ax, bx) + r, max(ay, by) + r)
    return sdf


def union(*shapes):
    def sdf(x, y):
        return min(s(x, y) for s in shapes)
    boxes = [s.bbox for s in shapes]
    sdf.bbox = (min(b[0] for b in boxes), min(b[1] for b in boxes),
                max(b[2] for b in boxes), max(b[3] for b in boxes))
    return sdf


def intersect(a, *others):
    def sdf(x, y):
        return max(a(x, y), *(o(x, y) for o in others))
    sdf.bbox = a.bbox
    return sdf


def subtract(a, b):
    def sdf(x, y):
        return max(a(x, y), -b(x, y))
    sdf.bbox = a.bbox
    return sdf


def offset(shape, d):
    """Grows (d > 0) or shrinks a shape."""
    def sdf(x, y):
        return shape(x, y) - d
    b = shape.bbox
    sdf.bbox = None if b is None else (b[0] - d, b[1] - d, b[2] + d, b[3] + d)
    return sdf


def ring_sector(cx, cy, r_in, r_out, a0, a1, gap):
    """Part of a ring from angle a0 counter-clockwise to a1 (degrees from +x, y up; less than 180
    degrees wide), its straight sides pulled in by gap / 2 so that neighbouring sectors never
    touch."""
    base = ring(cx, cy, r_in, r_out)
    d0 = (math.cos(math.radians(a0)), math.sin(math.radians(a0)))
    d1 = (math.cos(math.radians(a1)), math.sin(math.radians(a1)))
    g = gap / 2

    def sdf(x, y):
        px, py = x - cx, cy - y          # mathematical orientation, y up
        after_start = d0[0] * py - d0[1] * px
        before_end = px * d1[1] - py * d1[0]
        return max(base(x, y), g - after_start, g - before_end)
    sdf.bbox = base.bbox
    return sdf


# ---------------------------------------------------------------------------------------------
# Paints: functions (x, y) -> (r, g, b, a) with components 0..1


def hexrgb(value, a=1.0):
    return ((value >> 16 & 255) / 255, (value >> 8 & 255) / 255, (value & 255) / 255, a)


def solid(colour):
    def paint(x, y):
        return colour
    return paint


def vgrad(y0, y1, top, bottom):
    span = (y1 - y0) or 1.0

    def paint(x, y):
        t = min(1.0, max(0.0, (y - y0) / span))
        return tuple(a + (b - a) * t for a, b in zip(top, bottom))
    return paint


def rgrad(cx, cy, r, inner, outer):
    def paint(x, y):
        t = min(1.0, math.hypot(x - cx, y - cy) / r)
        return tuple(a + (b - a) * t for a, b in zip(inner, outer))
    return paint


# ---------------------------------------------------------------------------------------------
# Canvas


class Canvas:
    SS = 4  # samples per axis on edge pixels

    def __init__(self, width, height):
        self.w, self.h = width, height
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(width * height)]

    def fill(self, shape, paint, clip=None, opacity=1.0):
        """Composites paint over the canvas where shape is inside. clip = (x0, y0, x1, y1) in
        pixels limits the work (a frame's rectangle)."""
        bx0, by0, bx1, by1 = shape.bbox if shape.bbox else (0, 0, self.w, self.h)
        cx0, cy0, cx1, cy1 = clip if clip else (0, 0, self.w, self.h)
        x0 = max(int(math.floor(bx0)) - 1, cx0, 0)
        y0 = max(int(math.floor(by0)) - 1, cy0, 0)
        x1 = min(int(math.ceil(bx1)) + 1, cx1, self.w)
        y1 = min(int(math.ceil(by1)) + 1, cy1, self.h)
        ss = self.SS
        offs = [(i + 0.5) / ss for i in range(ss)]
        for y in range(y0, y1):
            row = y * self.w
            for x in range(x0, x1):
                d = shape(x + 0.5, y + 0.5)
                if d >= 0.75:
                    continue
                if d <= -0.75:
                    cov = 1.0
                else:
                    n = 0
                    for oy in offs:
                        for ox in offs:
                            if shape(x + ox, y + oy) < 0:
                                n += 1
                    if n == 0:
                        continue
                    cov = n / (ss * ss)
                r, g, b, a = paint(x + 0.5, y + 0.5)
                sa = a * cov * opacity
                if sa <= 0:
                    continue
                p = self.px[row + x]
                da = p[3]
                oa = sa + da * (1 - sa)
                k = da * (1 - sa)
                p[0] = (r * sa + p[0] * k) / oa
                p[1] = (g * sa + p[1] * k) / oa
                p[2] = (b * sa + p[2] * k) / oa
                p[3] = oa

    def to_bytes(self):
        out = bytearray(self.w * self.h * 4)
        for i, (r, g, b, a) in enumerate(self.px):
            ia = int(a * 255 + 0.5)
            if ia <= 0:
                continue  # fully transparent pixels carry no colour
            out[i * 4] = int(r * 255 + 0.5)
            out[i * 4 + 1] = int(g * 255 + 0.5)
            out[i * 4 + 2] = int(b * 255 + 0.5)
            out[i * 4 + 3] = ia
        return out


# ---------------------------------------------------------------------------------------------
# The look: silver bars that carry black text, navy panels that carry white text, a blue accent.

NAVY_TOP = hexrgb(0x223656, 0.93)
NAVY_BOTTOM = hexrgb(0x0E1A2C, 0.93)
NAVY_EDGE = hexrgb(0x5A7BA8)
SILVER_TOP = hexrgb(0xF7F9FC, 0.96)
SILVER_BOTTOM = hexrgb(0xC3CEDC, 0.96)
SILVER_EDGE = hexrgb(0x7C8BA1)
ACCENT = hexrgb(0x2F7FE0)
ACCENT_LIGHT = hexrgb(0x6DB5FF)
GLYPH = hexrgb(0x1D2C45)
GLYPH_OFF = hexrgb(0x8D97A6)
RED = hexrgb(0xD42A2A)
WHITE = hexrgb(0xFFFFFF)

# Face colours per button state: (top, bottom, edge, glyph, glyph dy, opacity)
STATES = [
    (hexrgb(0xE1E5EB), hexrgb(0xC9CFD8), hexrgb(0x9AA4B2), GLYPH_OFF, 0.0, 0.55),   # disabled
    (hexrgb(0xFAFBFD), hexrgb(0xC5CFDD), SILVER_EDGE, GLYPH, 0.0, 1.0),             # normal
    (hexrgb(0xAFBED3), hexrgb(0xE2E8F0), hexrgb(0x4A6389), GLYPH, 1.0, 1.0),        # pressed
    (hexrgb(0xEEF6FF), hexrgb(0xA6CAF3), ACCENT, GLYPH, 0.0, 1.0),                  # focused
    (hexrgb(0xFFFFFF), hexrgb(0xCBE3FF), ACCENT_LIGHT, GLYPH, 0.0, 1.0),            # pulse partner
]


class Image:
    """One skin file: content size of a frame, frame count, and a drawing function called per frame
    with (canvas, ox, oy, w, h, frame) where (ox, oy) is the frame content's top-left pixel."""

    def __init__(self, name, frames, w, h, draw, hit=None):
        self.name, self.frames, self.w, self.h, self.draw, self.hit = name, frames, w, h, draw, hit

    @property
    def size(self):
        return self.w + 2, self.frames * self.h + 2

    def render(self):
        width, height = self.size
        c = Canvas(width, height)
        for f in range(self.frames):
            ox, oy = 1, 1 + f * self.h
            self.draw(c, ox, oy, self.w, self.h, f)
        return c

    def render_signature(self, k):
        """Flat colour per frame; shaped images keep their outline."""
        width, height = self.size
        c = Canvas(width, height)
        outline = self.render() if self.hit is not None and self.hit[2] else None
        for f in range(self.frames):
            colour = (k / 255, 40 * f / 255, 0xA5 / 255, 1.0)
            for y in range(1 + f * self.h, 1 + (f + 1) * self.h):
                for x in range(1, 1 + self.w):
                    if outline is None or outline.px[y * width + x][3] >= 64 / 255:
                        c.px[y * width + x] = list(colour)
        return c


def clip_of(ox, oy, w, h):
    return (ox, oy, ox + w, oy + h)


# --- building blocks -------------------------------------------------------------------------


def panel(c, ox, oy, w, h, radius, top, bottom, edge, edge_width=1.0, clip=None, inset=0.5):
    clip = clip or clip_of(ox, oy, w, h)
    outer = rounded_rect(ox + inset, oy + inset, ox + w - inset, oy + h - inset, radius)
    c.fill(outer, solid(edge), clip)
    inner = offset(outer, -edge_width)
    c.fill(inner, vgrad(oy, oy + h, top, bottom), clip)
    # a soft highlight along the upper half gives the glassy look
    gloss = intersect(offset(outer, -edge_width - 0.5),
                      half_plane(0, oy + h * 0.48, 0, 1))
    c.fill(gloss, vgrad(oy, oy + h * 0.48, (1, 1, 1, 0.3), (1, 1, 1, 0.0)), clip)


def face(c, shape, ox, oy, w, h, f, clip):
    """A button face in state f over the given shape."""
    top, bottom, edge, _, _, opacity = STATES[f]
    c.fill(shape, solid(edge), clip, opacity)
    inner = offset(shape, -1.2)
    c.fill(inner, vgrad(oy, oy + h, top, bottom), clip, opacity)
    gloss = intersect(offset(shape, -2.0), half_plane(0, oy + h * 0.45, 0, 1))
    c.fill(gloss, vgrad(oy, oy + h * 0.45, (1, 1, 1, 0.45), (1, 1, 1, 0.0)), clip, opacity)
    if f == 4:
        c.fill(offset(shape, -1.0), solid((0.43, 0.71, 1.0, 0.18)), clip)


def glyph_paint(f, colour=None):
    g = STATES[f][3] if colour is None or f == 0 else colour
    return solid(g), STATES[f][5], STATES[f][4]


def pill_button(glyph, colour=None, radius=None):
    """A rounded button with a glyph(cx, cy, scale) -> shape in its centre."""
    def draw(c, ox, oy, w, h, f):
        clip = clip_of(ox, oy, w, h)
        r = radius if radius is not None else min(h / 2 - 1, 9)
        shape = rounded_rect(ox + 1, oy + 1, ox + w - 1, oy + h - 1, r)
        face(c, shape, ox, oy, w, h, f, clip)
        paint, opacity, dy = glyph_paint(f, colour)
        if glyph:
            c.fill(glyph(ox + w / 2, oy + h / 2 + dy, min(w, h) / 35), paint, clip, opacity)
    return draw


def disc_button(glyph, colour=None):
    def draw(c, ox, oy, w, h, f):
        clip = clip_of(ox, oy, w, h)
        shape = circle(ox + w / 2, oy + h / 2, min(w, h) / 2 - 1)
        face(c, shape, ox, oy, w, h, f, clip)
        paint, opacity, dy = glyph_paint(f, colour)
        c.fill(glyph(ox + w / 2, oy + h / 2 + dy, min(w, h) / 26), paint, clip, opacity)
    return draw


# --- glyphs: functions (cx, cy, scale) -> shape ----------------------------------------------


def g_play(cx, cy, s):
    return polygon([(cx - 6 * s, cy - 8 * s), (cx + 9 * s, cy), (cx - 6 * s, cy + 8 * s)])


def g_pause(cx, cy, s):
    return union(rounded_rect(cx - 7 * s, cy - 8 * s, cx - 2 * s, cy + 8 * s, 1.2 * s),
                 rounded_rect(cx + 2 * s, cy - 8 * s, cx + 7 * s, cy + 8 * s, 1.2 * s))


def g_stop(cx, cy, s):
    return rounded_rect(cx - 7 * s, cy - 7 * s, cx + 7 * s, cy + 7 * s, 1.5 * s)


def g_rec(cx, cy, s):
    return circle(cx, cy, 8 * s)


def g_timeshift(cx, cy, s):
    # a clock face with a pause sign inside
    face_ring = ring(cx, cy, 7.0 * s, 9.5 * s)
    bars = union(rounded_rect(cx - 4 * s, cy - 4 * s, cx - 1.3 * s, cy + 4 * s, 0.6 * s),
                 rounded_rect(cx + 1.3 * s, cy - 4 * s, cx + 4 * s, cy + 4 * s, 0.6 * s))
    return union(face_ring, bars)


def g_menu(cx, cy, s):
    return union(*(rounded_rect(cx - 9 * s, cy + d * s - 1.5 * s, cx + 9 * s, cy + d * s + 1.5 * s, 1.2 * s)
                   for d in (-6, 0, 6)))


def g_plus(cx, cy, s):
    return union(rounded_rect(cx - 7 * s, cy - 2 * s, cx + 7 * s, cy + 2 * s, 1 * s),
                 rounded_rect(cx - 2 * s, cy - 7 * s, cx + 2 * s, cy + 7 * s, 1 * s))


def g_minus(cx, cy, s):
    return rounded_rect(cx - 7 * s, cy - 2 * s, cx + 7 * s, cy + 2 * s, 1 * s)


def g_chevron(direction):
    """direction: (dx, dy) of the point of the chevron."""
    def make(cx, cy, s):
        dx, dy = direction
        px, py = -dy, dx  # perpendicular
        tip = (cx + dx * 4 * s, cy + dy * 4 * s)
        a = (cx - dx * 3 * s + px * 6 * s, cy - dy * 3 * s + py * 6 * s)
        b = (cx - dx * 3 * s - px * 6 * s, cy - dy * 3 * s - py * 6 * s)
        return union(capsule(a[0], a[1], tip[0], tip[1], 1.8 * s), capsule(b[0], b[1], tip[0], tip[1], 1.8 * s))
    return make


def g_triangle(direction):
    def make(cx, cy, s):
        dx, dy = direction
        px, py = -dy, dx
        tip = (cx + dx * 6 * s, cy + dy * 6 * s)
        a = (cx - dx * 5 * s + px * 6 * s, cy - dy * 5 * s + py * 6 * s)
        b = (cx - dx * 5 * s - px * 6 * s, cy - dy * 5 * s - py * 6 * s)
        pts = [tip, a, b]
        # clockwise on screen
        cross = (a[0] - tip[0]) * (b[1] - tip[1]) - (a[1] - tip[1]) * (b[0] - tip[0])
        return polygon(pts if cross > 0 else [tip, b, a])
    return make


def g_speaker(cx, cy, s):
    body = rounded_rect(cx - 8 * s, cy - 3 * s, cx - 3 * s, cy + 3 * s, 0.8 * s)
    cone = polygon([(cx - 4 * s, cy - 3 * s), (cx + 2 * s, cy - 8 * s), (cx + 2 * s, cy + 8 * s), (cx - 4 * s, cy + 3 * s)])
    return union(body, cone)


def g_mute(cx, cy, s):
    return union(g_speaker(cx - 1.5 * s, cy, s),
                 capsule(cx + 3.5 * s, cy - 3.5 * s, cx + 9.5 * s, cy + 3.5 * s, 1.3 * s),
                 capsule(cx + 3.5 * s, cy + 3.5 * s, cx + 9.5 * s, cy - 3.5 * s, 1.3 * s))


def g_cross(cx, cy, s):
    return union(capsule(cx - 5 * s, cy - 5 * s, cx + 5 * s, cy + 5 * s, 1.6 * s),
                 capsule(cx - 5 * s, cy + 5 * s, cx + 5 * s, cy - 5 * s, 1.6 * s))


def g_back(cx, cy, s):
    # an arrow turning back: a hook and a head
    stem = capsule(cx - 2 * s, cy + 3 * s, cx + 5 * s, cy + 3 * s, 1.4 * s)
    hook = intersect(ring(cx + 5 * s, cy - 0.5 * s, 2.2 * s, 5.0 * s), half_plane(cx + 5 * s, 0, -1, 0))
    upper = capsule(cx - 2 * s, cy - 4 * s, cx + 5 * s, cy - 4 * s, 1.4 * s)
    head = polygon([(cx - 8 * s, cy - 4 * s), (cx - 2 * s, cy - 8.5 * s), (cx - 2 * s, cy + 0.5 * s)])
    return union(stem, hook, upper, head)


def g_pin(cx, cy, s):
    return union(rounded_rect(cx - 4 * s, cy - 7 * s, cx + 4 * s, cy - 4.5 * s, 0.8 * s),
                 polygon([(cx - 3 * s, cy - 5 * s), (cx + 3 * s, cy - 5 * s), (cx + 5 * s, cy + 1 * s), (cx - 5 * s, cy + 1 * s)]),
                 capsule(cx, cy + 1 * s, cx, cy + 8 * s, 0.9 * s))


def g_minimise(cx, cy, s):
    return rounded_rect(cx - 6 * s, cy + 3 * s, cx + 6 * s, cy + 6 * s, 0.8 * s)


def g_maximise(cx, cy, s):
    outer = rounded_rect(cx - 6 * s, cy - 5.5 * s, cx + 6 * s, cy + 5.5 * s, 1.0 * s)
    return subtract(outer, rounded_rect(cx - 4 * s, cy - 2.5 * s, cx + 4 * s, cy + 3.5 * s, 0.5 * s))


def g_diamond(cx, cy, s):
    return polygon([(cx, cy - 6 * s), (cx + 6 * s, cy), (cx, cy + 6 * s), (cx - 6 * s, cy)])


def g_dot(cx, cy, s):
    return circle(cx, cy, 3.5 * s)


# --- images ----------------------------------------------------------------------------------

# The controls panel's ring of four buttons: centre and radii in the panel's coordinates, and the
# place of each button's frame in the panel.
RING_CENTRE = (295.0, 45.5)
RING_INNER, RING_OUTER, RING_GAP = 20.0, 40.0, 3.0
CLUSTER = {
    "volume_up": ((244, 3), 45, 135, g_plus),
    "volume_down": ((244, 43), 225, 315, g_minus),
    "channel_down": ((233, 16), 135, 225, g_chevron((0, 1))),
    "channel_up": ((300, 16), -45, 45, g_chevron((0, -1))),
}
MUTE_AT = (218, 62)


def sector_shape(name, ox, oy):
    (px, py), a0, a1, _ = CLUSTER[name]
    cx, cy = RING_CENTRE[0] - px + ox, RING_CENTRE[1] - py + oy
    return ring_sector(cx, cy, RING_INNER, RING_OUTER, a0, a1, RING_GAP), (cx, cy), (a0 + a1) / 2


def sector_button(name):
    def draw(c, ox, oy, w, h, f):
        clip = clip_of(ox, oy, w, h)
        shape, (cx, cy), mid = sector_shape(name, ox, oy)
        face(c, shape, ox, oy, w, h, f, clip)
        r = (RING_INNER + RING_OUTER) / 2
        gx = cx + r * math.cos(math.radians(mid))
        gy = cy - r * math.sin(math.radians(mid))
        paint, opacity, dy = glyph_paint(f)
        c.fill(CLUSTER[name][3](gx, gy + dy, 0.62), paint, clip, opacity)
    return draw


def sector_hit(name, w, h):
    (px, py), a0, a1, _ = CLUSTER[name]
    cx, cy = RING_CENTRE[0] - px, RING_CENTRE[1] - py
    r = (RING_INNER + RING_OUTER) / 2
    mid = math.radians((a0 + a1) / 2)
    return (cx + r * math.cos(mid), cy - r * math.sin(mid), True)


def draw_controls_back(c, ox, oy, w, h, f):
    clip = clip_of(ox, oy, w, h)
    panel(c, ox, oy, w, h, 14, SILVER_TOP, SILVER_BOTTOM, SILVER_EDGE, clip=clip)
    # a recessed well behind the ring of buttons and the mute disc
    cx, cy = ox + RING_CENTRE[0], oy + RING_CENTRE[1]
    well = circle(cx, cy, RING_OUTER + 3)
    c.fill(well, rgrad(cx, cy, RING_OUTER + 3, hexrgb(0x1A2A44, 0.95), hexrgb(0x33496E, 0.95)), clip)
    c.fill(ring(cx, cy, RING_OUTER + 2.2, RING_OUTER + 3.2), solid(hexrgb(0xFFFFFF, 0.6)), clip)
    mx, my = ox + MUTE_AT[0] + 13, oy + MUTE_AT[1] + 13
    c.fill(circle(mx, my, 14.5), solid(hexrgb(0x1A2A44, 0.9)), clip)
    # a groove under the three round-cornered buttons
    groove = rounded_rect(ox + 13, oy + 24, ox + 13 + 3 * 69 + 8, oy + 67, 10)
    c.fill(groove, vgrad(oy + 24, oy + 67, hexrgb(0xAAB7C9, 0.9), hexrgb(0xDCE3EC, 0.9)), clip)


def draw_channel_logo(c, ox, oy, w, h, f):
    # left cap (48), a stretchable middle, the right cap (160) framing the logo
    clip = clip_of(ox, oy, w, h)
    panel(c, ox, oy, w, h, 20, SILVER_TOP, SILVER_BOTTOM, SILVER_EDGE, clip=clip)
    frame = rounded_rect(ox + w - 154, oy + 6, ox + w - 8, oy + h - 6, 10)
    c.fill(frame, vgrad(oy, oy + h, hexrgb(0x20314F), hexrgb(0x0F1B2E)), clip)
    c.fill(subtract(frame, offset(frame, -1.5)), solid(hexrgb(0xFFFFFF, 0.55)), clip)
    c.fill(rounded_rect(ox + 26, oy + 66, ox + w - 166, oy + 100, 8), solid(hexrgb(0xFFFFFF, 0.55)), clip)


def draw_bar(radius):
    def draw(c, ox, oy, w, h, f):
        panel(c, ox, oy, w, h, radius, SILVER_TOP, SILVER_BOTTOM, SILVER_EDGE)
    return draw


def draw_navy(radius, edge_width=1.5):
    def draw(c, ox, oy, w, h, f):
        panel(c, ox, oy, w, h, radius, NAVY_TOP, NAVY_BOTTOM, NAVY_EDGE, edge_width)
    return draw


def draw_menu_back(c, ox, oy, w, h, f):
    clip = clip_of(ox, oy, w, h)
    panel(c, ox, oy, w, h, 14, NAVY_TOP, NAVY_BOTTOM, NAVY_EDGE, 1.5, clip)
    c.fill(rounded_rect(ox + 10, oy + 12, ox + w - 10, oy + 16, 2), vgrad(0, 0, ACCENT, ACCENT), clip, 0.9)


def draw_top_menu_back(c, ox, oy, w, h, f):
    # tiled: left/right borders 10, top 22, bottom 0 (the bar hangs from the window's top edge)
    clip = clip_of(ox, oy, w, h)
    shape = rounded_rect(ox + 0.5, oy - 20, ox + w - 0.5, oy + h - 0.5, 9)
    c.fill(shape, solid(NAVY_EDGE), clip)
    c.fill(offset(shape, -1.5), vgrad(oy, oy + h, NAVY_TOP, NAVY_BOTTOM), clip)


def draw_progress(c, ox, oy, w, h, f):
    shape = rounded_rect(ox, oy, ox + w, oy + h, h / 2)
    c.fill(shape, vgrad(oy, oy + h, ACCENT_LIGHT, ACCENT))


def draw_logo_background(c, ox, oy, w, h, f):
    shape = rounded_rect(ox - 2, oy - 2, ox + w + 2, oy + h + 2, 0)
    c.fill(shape, rgrad(ox + w / 2, oy + h * 0.45, math.hypot(w, h) / 2,
                        hexrgb(0x27467A), hexrgb(0x08101D)))


def draw_logo_mark(c, ox, oy, w, h, f):
    # an abstract mark: a disc with three widening arcs, like a signal leaving a point
    cx, cy = ox + w * 0.36, oy + h * 0.64
    c.fill(circle(cx, cy, 36), rgrad(cx - 10, cy - 10, 46, hexrgb(0xFFFFFF, 0.95), hexrgb(0x8FC4FF, 0.95)))
    for i, r in enumerate((88, 150, 212)):
        arc = intersect(ring(cx, cy, r - 16 + i * 2, r + 16 - i * 2),
                        half_plane(cx, cy, -1, 0.35), half_plane(cx, cy, 0.35, 1))
        c.fill(arc, rgrad(cx, cy, 240, hexrgb(0xBFE0FF, 0.85 - i * 0.15), hexrgb(0x4E95E8, 0.7 - i * 0.15)))
    c.fill(ring(ox + w / 2, oy + h / 2, w / 2 - 8, w / 2 - 3), solid(hexrgb(0xFFFFFF, 0.18)))


def draw_volume(c, ox, oy, w, h, f):
    shape = rounded_rect(ox + 1, oy + 1, ox + w - 1, oy + h - 1, 3)
    if f == 0:
        c.fill(shape, solid(hexrgb(0x6B7A90, 0.55)))
    else:
        c.fill(shape, vgrad(oy, oy + h, hexrgb(0x9BF0C2), hexrgb(0x22B26A)))
        c.fill(subtract(shape, offset(shape, -1)), solid(hexrgb(0xFFFFFF, 0.5)))


def draw_default_logo(c, ox, oy, w, h, f):
    screen = rounded_rect(ox + 14, oy + 22, ox + w - 14, oy + h - 14, 8)
    c.fill(screen, solid(hexrgb(0xDDE6F2)))
    c.fill(offset(screen, -5), vgrad(oy + 22, oy + h - 14, hexrgb(0x3D6DB3), hexrgb(0x152B4D)))
    c.fill(capsule(ox + w / 2, oy + 22, ox + w / 2 - 18, oy + 4, 2.2), solid(hexrgb(0xDDE6F2)))
    c.fill(capsule(ox + w / 2, oy + 22, ox + w / 2 + 18, oy + 4, 2.2), solid(hexrgb(0xDDE6F2)))


def status_icon(glyph, colour):
    def draw(c, ox, oy, w, h, f):
        pill = rounded_rect(ox + 1, oy + 1, ox + w - 1, oy + h - 1, (h - 2) / 2)
        c.fill(pill, vgrad(oy, oy + h, hexrgb(0x2A3F62, 0.9), hexrgb(0x0F1A2C, 0.9)))
        c.fill(subtract(pill, offset(pill, -1.2)), solid(hexrgb(0xFFFFFF, 0.45)))
        c.fill(glyph(ox + w / 2, oy + h / 2, 1.1), solid(colour))
    return draw


def g_padlock(cx, cy, s):
    body = rounded_rect(cx - 8 * s, cy - 2 * s, cx + 8 * s, cy + 9 * s, 1.5 * s)
    shackle = intersect(ring(cx, cy - 3 * s, 4 * s, 6.5 * s), half_plane(0, cy - 2 * s, 0, 1))
    legs = union(rounded_rect(cx - 6.5 * s, cy - 4 * s, cx - 4 * s, cy - 1 * s, 0.2),
                 rounded_rect(cx + 4 * s, cy - 4 * s, cx + 6.5 * s, cy - 1 * s, 0.2))
    return union(subtract(body, circle(cx, cy + 3.5 * s, 1.8 * s)), shackle, legs)


def g_nodata(cx, cy, s):
    bars = union(*(rounded_rect(cx - 10 * s + i * 5.5 * s, cy + 7 * s - (i + 1) * 3.5 * s,
                                cx - 6.5 * s + i * 5.5 * s, cy + 7 * s, 0.6 * s) for i in range(4)))
    slash = capsule(cx - 11 * s, cy + 8 * s, cx + 11 * s, cy - 8 * s, 1.3 * s)
    return union(subtract(bars, offset(slash, 1.5 * s)), slash)


def g_audio_streams(cx, cy, s):
    note = union(circle(cx - 5 * s, cy + 5 * s, 3.2 * s), circle(cx + 5 * s, cy + 3 * s, 3.2 * s),
                 capsule(cx - 2.2 * s, cy + 5 * s, cx - 2.2 * s, cy - 7 * s, 1.0 * s),
                 capsule(cx + 7.8 * s, cy + 3 * s, cx + 7.8 * s, cy - 9 * s, 1.0 * s),
                 polygon([(cx - 3.2 * s, cy - 8 * s), (cx + 8.8 * s, cy - 10 * s), (cx + 8.8 * s, cy - 7 * s), (cx - 3.2 * s, cy - 5 * s)]))
    return note


def g_teletext(cx, cy, s):
    page = rounded_rect(cx - 9 * s, cy - 10 * s, cx + 9 * s, cy + 10 * s, 1.5 * s)
    lines = union(*(rounded_rect(cx - 6 * s, cy - 7 * s + i * 4 * s, cx + (6 - (i % 2) * 4) * s, cy - 5.5 * s + i * 4 * s, 0.5)
                    for i in range(4)))
    return subtract(page, lines)


def g_subtitles(cx, cy, s):
    frame = rounded_rect(cx - 11 * s, cy - 8 * s, cx + 11 * s, cy + 8 * s, 2 * s)
    hole = rounded_rect(cx - 9.3 * s, cy - 6.3 * s, cx + 9.3 * s, cy + 6.3 * s, 1.2 * s)
    lines = union(rounded_rect(cx - 7 * s, cy + 0.5 * s, cx + 7 * s, cy + 2.2 * s, 0.5),
                  rounded_rect(cx - 5 * s, cy + 3.5 * s, cx + 5 * s, cy + 5.2 * s, 0.5))
    return union(subtract(frame, hole), lines)


def info_icon(glyph):
    def draw(c, ox, oy, w, h, f):
        c.fill(glyph(ox + w / 2, oy + h / 2, 1.05), solid(GLYPH))
    return draw


def draw_scroll_arrows(c, ox, oy, w, h, f):
    # direction-neutral marks: a hollow diamond (more before) and a filled one (more after)
    shape = g_diamond(ox + w / 2, oy + h / 2, 1.3)
    if f == 0:
        c.fill(subtract(shape, offset(shape, -2.0)), solid(hexrgb(0xDCE8F8)))
    else:
        c.fill(shape, solid(hexrgb(0xDCE8F8)))


def draw_radio_box(c, ox, oy, w, h, f):
    cx, cy = ox + w / 2, oy + h / 2
    c.fill(ring(cx, cy, 8.5, 11.5), solid(hexrgb(0xDCE8F8)))
    if f == 1:
        c.fill(circle(cx, cy, 5.5), solid(ACCENT_LIGHT))


def draw_small_screen(c, ox, oy, w, h, f):
    clip = clip_of(ox, oy, w, h)
    outer = rounded_rect(ox + 0.5, oy + 0.5, ox + w - 0.5, oy + h - 0.5, 16)
    c.fill(outer, solid(NAVY_EDGE), clip)
    c.fill(offset(outer, -1.5), vgrad(oy, oy + h, hexrgb(0xD9E2EE), hexrgb(0x8F9FB6)), clip)
    c.fill(rounded_rect(ox + 16, oy + 15, ox + w - 22, oy + h - 17, 6), solid(hexrgb(0x05080E)), clip)


def draw_hint(c, ox, oy, w, h, f):
    clip = clip_of(ox, oy, w, h)
    panel(c, ox, oy, w, h, 12, hexrgb(0xF4F7FB, 0.95), hexrgb(0xD5DEEA, 0.95), SILVER_EDGE, clip=clip)
    # the details column's tinted band behind the captions
    c.fill(rounded_rect(ox + 396, oy + 8, ox + 540, oy + h - 20, 8), solid(hexrgb(0x2F7FE0, 0.08)), clip)


def draw_header_bar(c, ox, oy, w, h, f):
    clip = clip_of(ox, oy, w, h)
    shape = rounded_rect(ox + 0.5, oy + 0.5, ox + w - 0.5, oy + h - 0.5, 8)
    c.fill(shape, solid(SILVER_EDGE), clip)
    c.fill(offset(shape, -1), vgrad(oy, oy + h, hexrgb(0xF2F5F9), hexrgb(0xB7C4D6)), clip)
    c.fill(rounded_rect(ox + 2, oy + h - 4, ox + w - 2, oy + h - 2, 1), solid(hexrgb(0x2F7FE0, 0.8)), clip)


def draw_channel_row(c, ox, oy, w, h, f):
    clip = clip_of(ox, oy, w, h)
    shape = rounded_rect(ox, oy + 1, ox + w, oy + h - 1, 0)
    c.fill(shape, vgrad(oy, oy + h, hexrgb(0xF8FAFD, 0.94), hexrgb(0xDCE3EE, 0.94)), clip)
    c.fill(rounded_rect(ox, oy + h - 2, ox + w, oy + h, 0), solid(hexrgb(0x8FA0B8, 0.9)), clip)
    # the name column (200 of 1000 units of the row) is set off by a faint tint and divider
    col = w * 0.2
    c.fill(rounded_rect(ox, oy + 1, ox + col, oy + h - 2, 0), solid(hexrgb(0x2F7FE0, 0.07)), clip)
    c.fill(rounded_rect(ox + col - 1, oy + 4, ox + col + 1, oy + h - 5, 0), solid(hexrgb(0x8FA0B8, 0.8)), clip)


def draw_selection(c, ox, oy, w, h, f):
    shape = rounded_rect(ox + 0.5, oy + 0.5, ox + w - 0.5, oy + h - 0.5, 4)
    c.fill(shape, solid(ACCENT_LIGHT))
    c.fill(offset(shape, -1.5), vgrad(oy, oy + h, hexrgb(0x3F8EEB, 0.92), hexrgb(0x1F5FB8, 0.92)))


def draw_divider(c, ox, oy, w, h, f):
    c.fill(rounded_rect(ox, oy, ox + w, oy + h, 0), vgrad(oy, oy + h, hexrgb(0x8FA0B8, 0.1), hexrgb(0x8FA0B8, 0.1)))
    c.fill(rounded_rect(ox + 1, oy + 2, ox + 2, oy + h - 2, 0), vgrad(oy, oy + h, hexrgb(0x5D6E86, 0.3), hexrgb(0x5D6E86, 0.95)))


def draw_corner(c, ox, oy, w, h, f):
    # a white wedge in the lower right corner; the guide tints it with the genre colour
    c.fill(polygon([(ox + w, oy), (ox + w, oy + h), (ox, oy + h)]), solid(WHITE))


def draw_now_marker(c, ox, oy, w, h, f):
    cx = ox + w / 2
    head = polygon([(cx - 9, oy + 2), (cx + 9, oy + 2), (cx, oy + 14)])
    stem = rounded_rect(cx - 1.5, oy + 10, cx + 1.5, oy + h, 0.5)
    glow = 0.25 if f == 0 else 0.45
    c.fill(rounded_rect(cx - 5, oy + 8, cx + 5, oy + h, 3), solid((1, 1, 1, glow)))
    c.fill(union(head, stem), solid(WHITE))


def tab_image(strip):
    def draw(c, ox, oy, w, h, f):
        clip = clip_of(ox, oy, w, h)
        shape = rounded_rect(ox + 1, oy + 1, ox + w - 1, oy + h + 8, 7)  # open at the bottom
        face(c, shape, ox, oy, w, h, f, clip)
        if strip is not None:
            c.fill(rounded_rect(ox + 6, oy + 3, ox + w - 6, oy + 6, 1.5), solid(hexrgb(strip)), clip, STATES[f][5])
    return draw


def scroll_button(direction):
    def draw(c, ox, oy, w, h, f):
        clip = clip_of(ox, oy, w, h)
        shape = rounded_rect(ox + 1, oy + 1, ox + w - 1, oy + h - 1, 9)
        face(c, shape, ox, oy, w, h, f, clip)
        paint, opacity, dy = glyph_paint(f)
        c.fill(g_triangle(direction)(ox + w / 2, oy + h / 2 + dy, 1.0), paint, clip, opacity)
    return draw


def draw_scroll_back(c, ox, oy, w, h, f):
    cx, cy = ox + w / 2, oy + h / 2
    c.fill(circle(cx, cy, w / 2 - 1), rgrad(cx, cy, w / 2, hexrgb(0x34507C, 0.9), hexrgb(0x121F35, 0.9)))
    c.fill(ring(cx, cy, w / 2 - 2.5, w / 2 - 1), solid(hexrgb(0xFFFFFF, 0.4)))


def draw_inset(c, ox, oy, w, h, f):
    shape = rounded_rect(ox + 1, oy + 2, ox + w - 1, oy + h - 2, 9)
    c.fill(shape, solid(hexrgb(0x8C9BB1)))
    c.fill(offset(shape, -1), vgrad(oy, oy + h, hexrgb(0xC9D3E1), hexrgb(0xF3F6FA)))


def draw_tele_separator(c, ox, oy, w, h, f):
    c.fill(rounded_rect(ox + 1, oy + 3, ox + 2, oy + h - 3, 0), solid(hexrgb(0x6E7F98, 0.9)))
    c.fill(rounded_rect(ox + 2, oy + 3, ox + 3, oy + h - 3, 0), solid(hexrgb(0xFFFFFF, 0.7)))


def menu_tab(mark):
    def draw(c, ox, oy, w, h, f):
        clip = clip_of(ox, oy, w, h)
        shape = rounded_rect(ox + 1, oy + 1, ox + w - 1, oy + h - 1, 6)
        face(c, shape, ox, oy, w, h, f, clip)
        if mark is not None:
            paint, opacity, dy = glyph_paint(f)
            c.fill(mark(ox + 11, oy + h / 2 + dy, 0.45), paint, clip, opacity)
    return draw


def window_button(glyph, focus_colour=None):
    def draw(c, ox, oy, w, h, f):
        clip = clip_of(ox, oy, w, h)
        shape = rounded_rect(ox + 1, oy + 1, ox + w - 1, oy + h - 1, 5)
        face(c, shape, ox, oy, w, h, f, clip)
        if focus_colour is not None and f in (3, 4):
            c.fill(offset(shape, -1.2), solid(focus_colour), clip, 0.85)
        colour = WHITE if (focus_colour is not None and f in (3, 4)) else None
        paint, opacity, dy = glyph_paint(f, colour)
        c.fill(glyph(ox + w / 2, oy + h / 2 + dy, 0.8), paint, clip, opacity)
    return draw


def centre_hit(w, h):
    return (w / 2, h / 2, False)


# The images in the order the viewer loads them (file names relative to the skin folder).
def inventory():
    B = pill_button
    return [
        Image("controls_back.png", 1, 358, 93, draw_controls_back),
        Image("channel_logo.png", 1, 338, 128, draw_channel_logo),
        Image("infobar.png", 1, 1022, 73, draw_bar(6)),
        Image("menu_back.png", 1, 254, 309, draw_menu_back),
        Image("topMenu_back.png", 1, 62, 30, draw_top_menu_back),
        Image("topControls_back.png", 1, 161, 32, draw_navy(8)),
        Image("progress.png", 1, 126, 5, draw_progress),
        Image("teletext_close.png", 5, 20, 20, disc_button(g_cross), centre_hit(20, 20)),
        Image("logo_background.png", 1, 254, 190, draw_logo_background),
        Image("logo_harvo.png", 1, 510, 510, draw_logo_mark),
        Image("volume.png", 2, 36, 12, draw_volume),
        Image("default_logo.png", 1, 128, 96, draw_default_logo),
        Image("epg/small_screen.png", 1, 401, 314, draw_small_screen),
        Image("epg/hint_bck.png", 1, 1022, 200, draw_hint),
        Image("epg/timeline_back.png", 1, 1022, 32, draw_header_bar),
        Image("epg/channel_back.png", 1, 510, 56, draw_channel_row),
        Image("epg/channel_selected.png", 1, 62, 62, draw_selection),
        Image("epg/epg_back.png", 1, 62, 62, draw_navy(9, 1.5)),
        Image("epg/timeline_div.png", 1, 3, 28, draw_divider),
        Image("epg/corner.png", 1, 14, 14, draw_corner),
        Image("epg/cur_time.png", 2, 54, 56, draw_now_marker),
        Image("epg/tab.png", 5, 128, 22, tab_image(0x2F7FE0), centre_hit(128, 22)),
        Image("epg/tab-yellow.png", 5, 128, 22, tab_image(0xE8C21C), centre_hit(128, 22)),
        Image("epg/tab-green.png", 5, 128, 22, tab_image(0x2DB35A), centre_hit(128, 22)),
        Image("epg/tab-red.png", 5, 128, 22, tab_image(0xD9362B), centre_hit(128, 22)),
        Image("buttons/play.png", 5, 69, 35, B(g_play), centre_hit(69, 35)),
        Image("buttons/pause.png", 5, 69, 35, B(g_pause), centre_hit(69, 35)),
        Image("buttons/timeshift.png", 5, 69, 35, B(g_timeshift), centre_hit(69, 35)),
        Image("buttons/stop.png", 5, 69, 35, B(g_stop), centre_hit(69, 35)),
        Image("buttons/menu.png", 5, 69, 35, B(g_menu), centre_hit(69, 35)),
        Image("buttons/rec.png", 5, 69, 35, B(g_rec, RED), centre_hit(69, 35)),
        Image("buttons/mute.png", 5, 26, 26, disc_button(g_mute), (13, 13, True)),
        Image("menu/button.png", 5, 231, 44, B(None, radius=12), centre_hit(231, 44)),
        Image("buttons/channel_down.png", 5, 57, 58, sector_button("channel_down"), sector_hit("channel_down", 57, 58)),
        Image("buttons/channel_up.png", 5, 57, 58, sector_button("channel_up"), sector_hit("channel_up", 57, 58)),
        Image("buttons/volume_down.png", 5, 102, 45, sector_button("volume_down"), sector_hit("volume_down", 102, 45)),
        Image("buttons/volume_up.png", 5, 102, 45, sector_button("volume_up"), sector_hit("volume_up", 102, 45)),
        Image("menu/channels.png", 5, 90, 26, menu_tab(g_menu), centre_hit(90, 26)),
        Image("menu/file.png", 5, 90, 26, menu_tab(g_teletext), centre_hit(90, 26)),
        Image("menu/view.png", 5, 90, 26, menu_tab(g_subtitles), centre_hit(90, 26)),
        Image("menu/menu_button.png", 5, 90, 26, menu_tab(None), centre_hit(90, 26)),
        Image("menu/always_on_top.png", 5, 35, 21, window_button(g_pin), centre_hit(35, 21)),
        Image("menu/minimize.png", 5, 35, 21, window_button(g_minimise), centre_hit(35, 21)),
        Image("menu/maximize.png", 5, 35, 21, window_button(g_maximise), centre_hit(35, 21)),
        Image("menu/close.png", 5, 35, 21, window_button(g_cross, hexrgb(0xD9362B)), centre_hit(35, 21)),
        Image("epg/scrl_left.png", 5, 50, 37, scroll_button((-1, 0)), centre_hit(50, 37)),
        Image("epg/scrl_right.png", 5, 50, 37, scroll_button((1, 0)), centre_hit(50, 37)),
        Image("epg/scrl_down.png", 5, 37, 47, scroll_button((0, 1)), centre_hit(37, 47)),
        Image("epg/scrl_up.png", 5, 37, 47, scroll_button((0, -1)), centre_hit(37, 47)),
        Image("epg/scrl_back.png", 1, 96, 96, draw_scroll_back),
        Image("epg/center.png", 5, 23, 23, disc_button(g_dot), centre_hit(23, 23)),
        Image("rec_ico.png", 1, 72, 37, status_icon(g_rec, RED)),
        Image("timeshift_ico.png", 1, 72, 37, status_icon(g_timeshift, hexrgb(0xF2C744))),
        Image("scrambled_ico.png", 1, 72, 37, status_icon(g_padlock, hexrgb(0xF2C744))),
        Image("muted_ico.png", 1, 72, 37, status_icon(g_mute, hexrgb(0xFF6B5B))),
        Image("nodata_ico.png", 1, 72, 37, status_icon(g_nodata, hexrgb(0xDCE8F8))),
        Image("audio_streams_ico.png", 1, 35, 30, info_icon(g_audio_streams)),
        Image("teletext_ico.png", 1, 35, 30, info_icon(g_teletext)),
        Image("subtitles_ico.png", 1, 35, 30, info_icon(g_subtitles)),
        Image("teletext/inset_bck.png", 1, 62, 30, draw_inset),
        Image("teletext/back_btn.png", 5, 41, 20, B(g_back), centre_hit(41, 20)),
        Image("teletext/next_btn.png", 5, 41, 20, B(g_triangle((1, 0))), centre_hit(41, 20)),
        Image("teletext/prev_btn.png", 5, 38, 20, B(g_triangle((-1, 0))), centre_hit(38, 20)),
        Image("teletext/tele_separator.png", 1, 3, 32, draw_tele_separator),
        Image("sipka_streams.png", 2, 20, 20, draw_scroll_arrows),
        Image("radio_box.png", 2, 30, 30, draw_radio_box),
    ]


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("out", help="skin folder to write (created when missing)")
    parser.add_argument("--signature", action="store_true", help="flat identifying colours")
    args = parser.parse_args(argv)

    images = inventory()
    for sub in ("epg", "buttons", "menu", "teletext"):
        os.makedirs(os.path.join(args.out, sub), exist_ok=True)
    hits = []
    for k, image in enumerate(images):
        canvas = image.render_signature(k) if args.signature else image.render()
        path = os.path.join(args.out, *image.name.split("/"))
        write_png(path + ".tmp", canvas.w, canvas.h, canvas.to_bytes())
        os.replace(path + ".tmp", path)
        if image.frames == 5:
            hx, hy, _ = image.hit
            hits.append("%s %d %d %.2f %.2f" % (image.name, image.w, image.h, hx, hy))
    if args.signature:
        with open(os.path.join(args.out, "hitpoints.txt"), "w") as f:
            f.write("# file content-width frame-height x y (a point inside frame 3's hit area)\n")
            f.write("\n".join(hits) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
