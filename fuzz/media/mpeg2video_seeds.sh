#!/usr/bin/env bash
# Seeds for the MPEG-2 video fuzzer: small valid streams of every kind the decoder handles (field
# pictures with 16x8 and dual prime from the test writer, cut to their first pictures, and short
# ffmpeg streams). Small seeds keep the fuzzer fast.
set -euo pipefail
out=$1
mkdir -p "$out"
root=$(cd "$(dirname "$0")/../.." && pwd)
python3 "$root/tests/fixtures/media/mpeg2_field_streams.py" "$out"
for f in "$out"/field_*.m2v; do head -c 8000 "$f" > "$f.tmp" && mv "$f.tmp" "$f"; done
ff() { ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i testsrc2=size=64x48:rate=25 -frames:v 4 "$@"; }
ff -c:v mpeg2video -g 4 -bf 2 -flags +ildct+ilme -f mpeg2video "$out/interlaced.m2v"
ff -c:v mpeg2video -g 4 -bf 1 -qmax 28 -intra_vlc 1 -non_linear_quant 1 -alternate_scan 1 -dc 10 -f mpeg2video "$out/options.m2v"
ff -c:v mpeg2video -g 4 -bf 1 -pix_fmt yuv422p -f mpeg2video "$out/chroma422.m2v"
ff -c:v mpeg1video -g 4 -bf 2 -f mpeg1video "$out/mpeg1.m1v"
# Damaged headers: every extension's identifier turned into a sequence extension's (with its
# chroma format and size bits set), and the sequence header's sizes changed, one seed per header.
python3 - "$out" <<'PY'
import sys
out = sys.argv[1]
for name in ("interlaced.m2v", "chroma422.m2v"):
    data = open(f"{out}/{name}", "rb").read()
    starts = [i for i in range(len(data) - 4) if data[i:i + 3] == b"\0\0\1"]
    n = 0
    for i in starts:
        code = data[i + 3]
        if code not in (0xB5, 0xB3) or n >= 12:
            continue
        d = bytearray(data)
        if code == 0xB5:
            d[i + 4] = (d[i + 4] & 0x0F) | 0x10          # identifier 1
            d[i + 5] |= 0x0F if n & 1 else 0x0A          # chroma format and size extension bits
        else:
            d[i + 4] ^= 0x40 if n & 1 else 0x05          # horizontal_size
            d[i + 6] ^= 0x30                             # vertical_size
        open(f"{out}/damaged_{n:02d}_{name}", "wb").write(bytes(d))
        n += 1
PY
