#!/usr/bin/env bash
# Seeds for the audio decoder fuzzers: a few frames of AC-3 (several layouts) or of MPEG-1 layer
# I and II audio (mono, stereo, joint stereo with CRC), made by ffmpeg. $1: ac3 or mpeg; $2: folder.
set -euo pipefail
kind=$1
out=$2
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
src="aevalsrc=0.3*sin(2*PI*(300+200*ch)*t)+0.1*sin(2*PI*5000*t):s=48000:d=0.2"
enc() { # name layout codec options...
  local name=$1 layout=$2; shift 2
  ffmpeg -nostdin -loglevel error -y -f lavfi -i "$src:c=$layout" "$@" "$tmp/$name"
}
if [ "$kind" = ac3 ]; then
  enc stereo.ac3 stereo -c:a ac3 -b:a 192k -f ac3
  enc mono.ac3 mono -c:a ac3 -b:a 64k -f ac3
  enc surround.ac3 5.1 -c:a ac3 -b:a 384k -f ac3
  enc cpl.ac3 stereo -c:a ac3 -b:a 96k -channel_coupling 1 -f ac3
  # A leading odd byte asks the fuzzer to keep the CRCs right.
  # Two or three frames each: small inputs keep the fuzzer fast.
  for f in "$tmp"/*.ac3; do { printf '\001'; head -c 3072 "$f"; } > "$out/$(basename "$f")"; done
else
  enc stereo.mp2 stereo -c:a mp2 -b:a 192k -f mp2
  enc mono.mp2 mono -c:a mp2 -b:a 64k -f mp2
  enc joint.mp2 stereo -c:a libtwolame -b:a 128k -mode joint_stereo -error_protection 1 -f mp2
  for f in "$tmp"/*.mp2; do head -c 1800 "$f" > "$out/$(basename "$f")"; done
  # Layer I: a header (48 kHz, 384 kbit/s, stereo) and a body of small allocations.
  python3 - "$out/layer1.mp1" <<'PY'
import sys
frame = bytearray(384)
frame[0:4] = bytes([0xFF, 0xFF, 0xC4, 0x00])
for i in range(4, 36):
    frame[i] = 0x11
for i in range(36, 384):
    frame[i] = (i * 37) & 0xFF
open(sys.argv[1], 'wb').write(bytes(frame) * 3)
PY
fi
