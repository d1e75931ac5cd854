#!/usr/bin/env python3
"""The system as a user meets it, under Wine: the viewer plays the demo broadcast from the virtual
DVB-T tuner, its picture is grabbed from the X server and matched against the demo's decoded frames,
and its sound is captured from the null sink and found to be the demo channel's tone.

Usage: end_to_end.py PROGRAM_DIR DEMO_DIR CHANNEL_WRITER WORK_DIR
Runs inside the Wine environment of the tests (WINEPREFIX, DISPLAY, PULSE_SERVER set)."""

import math
import os
import re
import shutil
import struct
import subprocess
import sys
import time

SERVICE_KEY = (0x0421 << 16) | 0x0101  # transport_stream_id << 16 | service_id of "Demo One"
TONE_HZ = 440.0                        # the first channel's tone; the others play 660 and 880
SMALL = (180, 144)                     # frames are compared at this size, in grey


class Failure(Exception):
    pass


def run(*command, **kwargs):
    return subprocess.run(command, check=True, capture_output=True, **kwargs)


def wait_for(what, condition, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.2)
    raise Failure("%s: not within %d s" % (what, seconds))


def reg_add(key, name, kind, data):
    run("wine", "reg", "add", key, "/v", name, "/t", kind, "/d", str(data), "/f")


def window_geometry(title):
    tree = subprocess.run(["xwininfo", "-root", "-tree"], capture_output=True, text=True).stdout
    m = re.search(r'"%s": \([^)]*\)\s+(\d+)x(\d+)\+-?\d+\+-?\d+\s+\+(-?\d+)\+(-?\d+)' % re.escape(title), tree)
    return tuple(int(v) for v in m.groups()) if m else None


def grab(x, y, w, h):
    out = run("ffmpeg", "-v", "error", "-f", "x11grab", "-video_size", "%dx%d" % (w, h), "-i",
              "%s+%d,%d" % (os.environ["DISPLAY"], x, y), "-frames:v", "1", "-f", "rawvideo", "-pix_fmt", "gray",
              "-").stdout
    return out if len(out) == w * h else None


def picture_box(pixels, w, h):
    """The video's rectangle: the picture fills the client height between black side bars (the OSD's
    bars cover its top and bottom, so the sides are found on the middle row)."""
    row = pixels[(h // 2) * w:(h // 2 + 1) * w]
    cols = [x for x in range(w) if row[x] > 24]
    if not cols:
        return None
    return cols[0], 0, cols[-1] + 1, h


def shrink(pixels, w, h, box):
    x0, y0, x1, y1 = box
    crop = b"".join(pixels[y * w + x0:y * w + x1] for y in range(y0, y1))
    return run("ffmpeg", "-v", "error", "-f", "rawvideo", "-pix_fmt", "gray", "-video_size",
               "%dx%d" % (x1 - x0, y1 - y0), "-i", "-", "-vf", "scale=%d:%d" % SMALL, "-f", "rawvideo",
               "-pix_fmt", "gray", "-", input=crop).stdout


def best_psnr(shot, frames):
    """The best match among the decoded frames, on the rows that no OSD panel covers (10-65 %)."""
    size = SMALL[0] * SMALL[1]
    band = slice(SMALL[0] * (SMALL[1] // 10), SMALL[0] * (SMALL[1] * 65 // 100))
    mine = shot[band][::3]
    best = 0.0
    for i in range(0, len(frames) - size + 1, size):
        ref = frames[i:i + size][band][::3]
        mse = sum((a - b) ** 2 for a, b in zip(mine, ref)) / len(mine)
        best = max(best, 99.0 if mse == 0 else 10 * math.log10(255 * 255 / mse))
    return best


def tone_power(samples, rate, hz):
    """Goertzel power of one frequency."""
    k = 2 * math.cos(2 * math.pi * hz / rate)
    s1 = s2 = 0.0
    for v in samples:
        s1, s2 = v + k * s1 - s2, s1
    return s1 * s1 + s2 * s2 - k * s1 * s2


def watch(program, demo, work):
    """Step 2: the viewer starts on the last channel and shows its picture and plays its sound."""
    reference = os.path.join(work, "demo_one.gray")
    run("ffmpeg", "-v", "error", "-y", "-i", os.path.join(demo, "demo.ts"), "-map", "0:p:257:v", "-vf",
        "scale=%d:%d" % SMALL, "-f", "rawvideo", "-pix_fmt", "gray", reference)
    frames = open(reference, "rb").read()

    viewer = subprocess.Popen(["wine", os.path.join(program, "Tolvik.exe")], stdin=subprocess.DEVNULL,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        _, _, x, y = geometry = wait_for("the viewer's window", lambda: window_geometry("Tolvik v1.0"), 60)
        w, h = geometry[0], geometry[1]

        seen = []

        def picture():
            pixels = grab(x, y, w, h)
            box = pixels and picture_box(pixels, w, h)
            if not box or (box[2] - box[0]) < w // 3 or (box[3] - box[1]) < h // 3:
                seen.append("no picture box %s" % (box,))
                return None
            psnr = best_psnr(shrink(pixels, w, h, box), frames)
            seen.append("box %s, best %.1f dB" % (box, psnr))
            return psnr

        # The OSD hides itself after three seconds; a frame of the demo must show within 40 s.
        try:
            psnr = wait_for("a picture of Demo One", lambda: (lambda p: p if p and p >= 18.0 else None)(picture()), 40)
        except Failure:
            raise Failure("no picture of Demo One within 40 s (window %dx%d at %d,%d; last grabs: %s)" %
                          (w, h, x, y, "; ".join(seen[-3:])))
        print("watch: the picture matches a decoded frame of Demo One at %.1f dB" % psnr)

        # Three seconds of the null sink's monitor (timeout ends the recorder).
        raw = subprocess.run(["timeout", "3", "parec", "--device=null.monitor", "--raw", "--format=s16le",
                              "--channels=1", "--rate=48000"], capture_output=True).stdout
        samples = struct.unpack("<%dh" % (len(raw) // 2), raw[:len(raw) // 2 * 2])[-24000:]
        if len(samples) < 24000:
            raise Failure("watch: no sound captured from the null sink")
        powers = {hz: tone_power(samples, 48000, hz) for hz in (TONE_HZ, 523.25, 660.0, 880.0)}
        if max(powers, key=powers.get) != TONE_HZ:
            raise Failure("watch: the loudest tone is not Demo One's %d Hz: %s" % (TONE_HZ, powers))
        print("watch: the sound is Demo One's %d Hz tone" % TONE_HZ)
    finally:
        subprocess.run(["wine", "taskkill", "/im", "Tolvik.exe"], capture_output=True)
        try:
            viewer.wait(timeout=30)
        except subprocess.TimeoutExpired:
            viewer.kill()


def main(program, demo, channel_writer, work):
    os.makedirs(work, exist_ok=True)
    here = os.path.dirname(os.path.abspath(__file__))
    channels = os.path.join(program, "channels.dat")
    saved = channels + ".before-end-to-end"
    if os.path.exists(channels):
        shutil.copy(channels, saved)
    try:
        run("python3", channel_writer, "write", os.path.join(here, "..", "fixtures", "demo", "demo_channels.json"),
            channels)
        demo_windows = run("winepath", "-w", os.path.join(demo, "demo.ts"), text=True).stdout.strip()
        reg_add(r"HKCU\Software\Tolvik Test\Virtual Tuner", "506000", "REG_SZ", demo_windows)
        reg_add(r"HKCU\Software\Harvo\Tolvik", "LastActiveService", "REG_DWORD", SERVICE_KEY)
        reg_add(r"HKCU\Software\Harvo\Tolvik", "LastActiveServiceIndex", "REG_DWORD", 1)
        watch(program, demo, work)
    except Failure as failure:
        print("end to end: %s" % failure)
        return 1
    finally:
        if os.path.exists(saved):
            shutil.move(saved, channels)
        elif os.path.exists(channels):
            os.remove(channels)
    return 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:5]))
