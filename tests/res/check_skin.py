#!/usr/bin/env python3
"""Checks the generated default skin: usage check_skin.py SKIN_DIR SHA_LIST GENERATOR SCRATCH_DIR.

Every image is read by ffprobe and decoded by ffmpeg (peers), never by the generator's own code."""

import hashlib
import math
import os
import subprocess
import sys
from concurrent.futures import ThreadPoolExecutor

# The inventory the viewer relies on: file, frames, content width, frame height.
INVENTORY = [
    ("controls_back.png", 1, 358, 93), ("channel_logo.png", 1, 338, 128), ("infobar.png", 1, 1022, 73),
    ("menu_back.png", 1, 254, 309), ("topMenu_back.png", 1, 62, 30), ("topControls_back.png", 1, 161, 32),
    ("progress.png", 1, 126, 5), ("teletext_close.png", 5, 20, 20), ("logo_background.png", 1, 254, 190),
    ("logo_harvo.png", 1, 510, 510), ("volume.png", 2, 36, 12), ("default_logo.png", 1, 128, 96),
    ("epg/small_screen.png", 1, 401, 314), ("epg/hint_bck.png", 1, 1022, 200),
    ("epg/timeline_back.png", 1, 1022, 32), ("epg/channel_back.png", 1, 510, 56),
    ("epg/channel_selected.png", 1, 62, 62), ("epg/epg_back.png", 1, 62, 62), ("epg/timeline_div.png", 1, 3, 28),
    ("epg/corner.png", 1, 14, 14), ("epg/cur_time.png", 2, 54, 56), ("epg/tab.png", 5, 128, 22),
    ("epg/tab-yellow.png", 5, 128, 22), ("epg/tab-green.png", 5, 128, 22), ("epg/tab-red.png", 5, 128, 22),
    ("buttons/play.png", 5, 69, 35), ("buttons/pause.png", 5, 69, 35), ("buttons/timeshift.png", 5, 69, 35),
    ("buttons/stop.png", 5, 69, 35), ("buttons/menu.png", 5, 69, 35), ("buttons/rec.png", 5, 69, 35),
    ("buttons/mute.png", 5, 26, 26), ("menu/button.png", 5, 231, 44), ("buttons/channel_down.png", 5, 57, 58),
    ("buttons/channel_up.png", 5, 57, 58), ("buttons/volume_down.png", 5, 102, 45),
    ("buttons/volume_up.png", 5, 102, 45), ("menu/channels.png", 5, 90, 26), ("menu/file.png", 5, 90, 26),
    ("menu/view.png", 5, 90, 26), ("menu/menu_button.png", 5, 90, 26), ("menu/always_on_top.png", 5, 35, 21),
    ("menu/minimize.png", 5, 35, 21), ("menu/maximize.png", 5, 35, 21), ("menu/close.png", 5, 35, 21),
    ("epg/scrl_left.png", 5, 50, 37), ("epg/scrl_right.png", 5, 50, 37), ("epg/scrl_down.png", 5, 37, 47),
    ("epg/scrl_up.png", 5, 37, 47), ("epg/scrl_back.png", 1, 96, 96), ("epg/center.png", 5, 23, 23),
    ("rec_ico.png", 1, 72, 37), ("timeshift_ico.png", 1, 72, 37), ("scrambled_ico.png", 1, 72, 37),
    ("muted_ico.png", 1, 72, 37), ("nodata_ico.png", 1, 72, 37), ("audio_streams_ico.png", 1, 35, 30),
    ("teletext_ico.png", 1, 35, 30), ("subtitles_ico.png", 1, 35, 30), ("teletext/inset_bck.png", 1, 62, 30),
    ("teletext/back_btn.png", 5, 41, 20), ("teletext/next_btn.png", 5, 41, 20), ("teletext/prev_btn.png", 5, 38, 20),
    ("teletext/tele_separator.png", 1, 3, 32), ("sipka_streams.png", 2, 20, 20), ("radio_box.png", 2, 30, 30),
]

# Where the controls panel places its shaped buttons, and the ring they are cut from.
CLUSTER = {"buttons/volume_up.png": (244, 3, 90), "buttons/volume_down.png": (244, 43, 270),
           "buttons/channel_down.png": (233, 16, 180), "buttons/channel_up.png": (300, 16, 0),
           "buttons/mute.png": (218, 62, None)}
RING = (295.0, 45.5, 20.0, 40.0)

failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAIL:", what)


def probe(path):
    out = subprocess.run(["ffprobe", "-v", "error", "-select_streams", "v:0", "-show_entries",
                          "stream=width,height,pix_fmt", "-of", "csv=p=0", path],
                         check=True, capture_output=True, text=True).stdout.strip()
    w, h, fmt = out.split(",")
    return int(w), int(h), fmt


def decode(path, w, h):
    raw = subprocess.run(["ffmpeg", "-v", "error", "-i", path, "-f", "rawvideo", "-pix_fmt", "rgba", "-"],
                         check=True, capture_output=True).stdout
    assert len(raw) == w * h * 4, path
    return raw


def pow2(n):
    p = 1
    while p < n:
        p *= 2
    return p


def main(skin, sha_list, generator, scratch):
    files = sorted(os.path.relpath(os.path.join(d, f), skin).replace(os.sep, "/")
                   for d, _, fs in os.walk(skin) for f in fs if f.endswith(".png"))
    check(files == sorted(f for f, *_ in INVENTORY), "the skin holds exactly the 66 files")

    memory = 0
    pixels = {}
    present = [item for item in INVENTORY if os.path.exists(os.path.join(skin, item[0]))]
    with ThreadPoolExecutor(8) as pool:
        probes = list(pool.map(lambda item: probe(os.path.join(skin, item[0])), present))
    for (name, frames, w, h), (width, height, fmt) in zip(present, probes):
        path = os.path.join(skin, name)
        check((width, height) == (w + 2, frames * h + 2), "%s is %dx%d" % (name, width, height))
        check(fmt == "rgba", "%s is %s" % (name, fmt))
        check(width not in (513, 514, 1025, 1026) and height not in (513, 514, 1025, 1026),
              "%s lies just above a power of two" % name)
        loads = 2 if name == "epg/timeline_div.png" else 1   # loaded under two names
        memory += loads * pow2(width) * pow2(height) * 4
        if name in CLUSTER:
            pixels[name] = (width, decode(path, width, height))

    # Frame 3 of the shaped buttons, placed as the panel places them: no pixel belongs to two hit
    # areas, and each area holds the middle of its own sector.
    owner = {}
    for name, (px, py, angle) in CLUSTER.items():
        width, raw = pixels[name]
        h = dict((f, fh) for f, _, _, fh in INVENTORY)[name]
        w = width - 2
        for y in range(h):
            for x in range(w):
                a = raw[((1 + 3 * h + y) * width + 1 + x) * 4 + 3]
                if a >= 64:
                    key = (px + x, py + y)
                    check(key not in owner, "%s and %s share the hit pixel %s" % (owner.get(key), name, key))
                    owner[key] = name
        if angle is None:
            centre = (px + 13, py + 13)
        else:
            cx, cy, ri, ro = RING
            r = (ri + ro) / 2
            centre = (int(cx + r * math.cos(math.radians(angle))), int(cy - r * math.sin(math.radians(angle))))
        check(owner.get(centre) == name, "%s's hit area holds its centre %s" % (name, centre))

    # The bytes are the committed ones: the generator is deterministic.
    expected = {}
    with open(sha_list) as f:
        for line in f:
            digest, name = line.split()
            expected[name] = digest
    actual = {}
    for name in files:
        with open(os.path.join(skin, name), "rb") as f:
            actual[name] = hashlib.sha256(f.read()).hexdigest()
    check(actual == expected, "the files' SHA-256 equal %s (after a deliberate change of the drawing, "
          "rewrite it with: cd SKIN && sha256sum $(find . -name '*.png' | sed 's|^./||' | sort))" % sha_list)

    # Signature mode: frame f of image k is (k, 40 f, 0xA5), and every hit point lies in frame 3.
    subprocess.run([sys.executable, generator, "--signature", scratch], check=True)
    k_of = {name: k for k, (name, *_) in enumerate(INVENTORY)}
    for name in ("buttons/play.png", "epg/cur_time.png", "sipka_streams.png", "radio_box.png"):
        frames, w, h = [(fr, w, h) for n, fr, w, h in INVENTORY if n == name][0]
        raw = decode(os.path.join(scratch, name), w + 2, frames * h + 2)
        for f in range(frames):
            i = ((1 + f * h + h // 2) * (w + 2) + 1 + w // 2) * 4
            check(tuple(raw[i:i + 4]) == (k_of[name], 40 * f, 0xA5, 255), "%s frame %d signature" % (name, f))
    hits = [l.split() for l in open(os.path.join(scratch, "hitpoints.txt")) if not l.startswith("#")]
    check(len(hits) == sum(1 for _, fr, _, _ in INVENTORY if fr == 5), "one hit point per button image")
    with ThreadPoolExecutor(8) as pool:
        decoded = list(pool.map(lambda hit: decode(os.path.join(scratch, hit[0]), int(hit[1]) + 2,
                                                    5 * int(hit[2]) + 2), hits))
    for (name, w, h, x, y), raw in zip(hits, decoded):
        w, h = int(w), int(h)
        i = ((1 + 3 * h + int(float(y))) * (w + 2) + 1 + int(float(x))) * 4
        check(raw[i + 3] >= 64, "hit point of %s lies in its hit area" % name)

    print("texture memory of the 67 loaded names: %d bytes (%.1f MiB)" % (memory, memory / 1048576))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:5]))
