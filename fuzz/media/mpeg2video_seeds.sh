#!/usr/bin/env bash
# Seeds for the MPEG-2 video fuzzer: small valid streams of every kind the decoder handles (field
# pictures with 16x8 and dual prime from the test writer, and short ffmpeg streams).
set -euo pipefail
out=$1
mkdir -p "$out"
root=$(cd "$(dirname "$0")/../.." && pwd)
python3 "$root/tests/fixtures/media/mpeg2_field_streams.py" "$out"
ff() { ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i testsrc2=size=96x64:rate=25 -frames:v 5 "$@"; }
ff -c:v mpeg2video -g 4 -bf 2 -flags +ildct+ilme -f mpeg2video "$out/interlaced.m2v"
ff -c:v mpeg2video -g 4 -bf 1 -qmax 28 -intra_vlc 1 -non_linear_quant 1 -alternate_scan 1 -dc 10 -f mpeg2video "$out/options.m2v"
ff -c:v mpeg2video -g 4 -bf 1 -pix_fmt yuv422p -f mpeg2video "$out/chroma422.m2v"
ff -c:v mpeg1video -g 4 -bf 2 -f mpeg1video "$out/mpeg1.m1v"
